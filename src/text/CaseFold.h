#pragma once

#include <string>
#include <string_view>

namespace text {

// Lower-cases Cyrillic (Ё included) and Latin letters alike, as the Russian locale does.
std::string toLower(std::string_view utf8);
// Both sides lower-cased, then compared exactly.
bool equalsNoCase(std::string_view a, std::string_view b);
// Strips leading and trailing white space (space, tab, CR, LF, vertical tab, form feed).
std::string trim(std::string_view s);

} // namespace text
