#pragma once

#include <cstdint>
#include <string_view>

namespace text {

// A decimal as people type it, with "," or "." before at most `places` digits, read as an
// integer of value × 10^places ("12,5" with one place is 125). A leading "-" is kept.
struct Decimal {
    enum class Fault { None, NotNumber, Decimals };
    int64_t value = 0;
    Fault fault = Fault::None; // NotNumber: not a number; Decimals: too many digits after the point
};

Decimal parseDecimal(std::string_view s, int places);

} // namespace text
