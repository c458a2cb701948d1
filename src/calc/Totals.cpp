#include "calc/Totals.h"

#include "text/Format.h"

#include <cmath>
#include <limits>

namespace totals {

namespace {

// The percent in millionths of a percent. Typed and stored percents are short decimals; rounding
// the double to the nearest millionth recovers the decimal the user meant (0.07 is stored as
// 0.07000000000000000666, 7 as exactly 7).
constexpr int64_t kPercentScale = 1000000;
// A discount is 0..100 %; the limit only keeps total × scaled percent inside int64.
constexpr double kPercentLimit = 1000.0;

// Division rounding toward positive infinity (b > 0).
int64_t ceilDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    if (a % b != 0 && a > 0)
        ++q;
    return q;
}

int32_t clampToInt32(int64_t v) {
    if (v > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    if (v < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

} // namespace

int32_t discountAmount(int32_t total, double percent) {
    if (!std::isfinite(percent))
        return 0;
    if (percent > kPercentLimit)
        percent = kPercentLimit;
    if (percent < -kPercentLimit)
        percent = -kPercentLimit;
    const int64_t scaled = std::llround(percent * static_cast<double>(kPercentScale));
    // total × percent / 100, rounded up to the next kopeck.
    const int64_t numerator = static_cast<int64_t>(total) * scaled;
    return clampToInt32(ceilDiv(numerator, kPercentScale * 100));
}

int32_t grandTotal(int32_t total, int32_t discount, int32_t assemblyCost, int32_t deliveryCost) {
    int64_t sum = static_cast<int64_t>(total) - discount;
    if (assemblyCost > 0)
        sum += static_cast<int64_t>(assemblyCost) * 100;
    if (deliveryCost > 0)
        sum += static_cast<int64_t>(deliveryCost) * 100;
    return clampToInt32(sum);
}

std::string grandTotalText(int32_t total, int32_t grand) {
    if (total > 0)
        return text::format("%6.2f руб.", grand / 100.0);
    return "ОШИБКА";
}

} // namespace totals
