#pragma once

#include <cstdarg>
#include <string>

namespace text {

// printf with C's rules and rounding, whatever the process locale, except that a floating-point
// conversion writes its decimal point as a comma, as Russian texts do: format("%6.2f руб.", 1234.5)
// gives "1234,50 руб.". Only the number's own point changes; points in the literal text stay.
std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string vformat(const char* fmt, va_list args);

} // namespace text
