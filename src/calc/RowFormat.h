#pragma once

#include <cstdint>
#include <string>

// The number formats of the result rows, produced without printf: a recalculation writes a few
// thousand of them. Each gives exactly what text::format gives for the same format.
namespace rowformat {

// "%d"
std::string integer(int64_t v);
// "%d-%d"
std::string pair(int64_t a, int64_t b);
// "%0.1f" of tenths / 10.0, with a decimal comma: 12345 -> "1234,5", -5 -> "-0,5".
std::string tenths(int64_t tenths);
// Whole millimetres as "%d", others as tenths: 12000 -> "1200", 11875 -> "1187,5".
std::string wholeOrTenths(int64_t tenths);
// "%d" of floor(tenths / 10.0 + 0.5): whole millimetres rounded half up.
std::string roundedWhole(int64_t tenths);

} // namespace rowformat
