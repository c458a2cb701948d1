#include "text/Decimal.h"

#include <cstddef>

namespace text {

Decimal parseDecimal(std::string_view s, int places) {
    Decimal out;
    const bool negative = s.starts_with('-');
    if (negative)
        s.remove_prefix(1);
    const size_t point = s.find_first_of(",.");
    const std::string_view whole = s.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : s.substr(point + 1);
    auto digits = [](std::string_view d) {
        return d.find_first_not_of("0123456789") == std::string_view::npos;
    };
    if (whole.empty() || whole.size() > 12 || !digits(whole) || !digits(fraction) ||
        (point != std::string_view::npos && fraction.empty())) {
        out.fault = Decimal::Fault::NotNumber;
        return out;
    }
    if (fraction.size() > static_cast<size_t>(places)) {
        out.fault = Decimal::Fault::Decimals;
        return out;
    }
    for (char c : whole)
        out.value = out.value * 10 + (c - '0');
    for (int i = 0; i < places; ++i) {
        const size_t k = static_cast<size_t>(i);
        out.value = out.value * 10 + (k < fraction.size() ? fraction[k] - '0' : 0);
    }
    if (negative)
        out.value = -out.value;
    return out;
}

} // namespace text
