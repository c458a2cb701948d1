#pragma once

#include <QString>

namespace xdg {

// The user's folder of one kind under the XDG rule: the variable's value when it is an absolute
// path (a relative one is invalid and ignored), else fallback under the home folder
// ("XDG_STATE_HOME", ".local/state").
QString home(const char* variable, const char* fallbackUnderHome);

} // namespace xdg
