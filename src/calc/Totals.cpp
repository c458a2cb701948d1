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
// A discount is 0..100 %; the limit keeps a damaged percent from overflowing the arithmetic.
constexpr double kPercentLimit = 1000.0;

// Division rounding toward positive infinity (b > 0).
int64_t ceilDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    if (a % b != 0 && a > 0)
        ++q;
    return q;
}

} // namespace

bool moneyFits(int64_t kopecks) {
    return kopecks >= -kMaxMoney && kopecks <= kMaxMoney;
}

int64_t kopecksOf(double kopecks) {
    if (!(kopecks <= static_cast<double>(kMaxMoney)))
        return kMaxMoney + 1; // too large, or not a number
    if (kopecks < -static_cast<double>(kMaxMoney))
        return -kMaxMoney - 1;
    return static_cast<int64_t>(kopecks);
}

void refuseUnfitCost(int64_t& cost, std::string& error) {
    if (moneyFits(cost))
        return;
    cost = 0;
    if (error.empty())
        error = kCostTooLarge;
}

int64_t discountAmount(int64_t total, double percent) {
    if (!std::isfinite(percent))
        return 0;
    if (percent > kPercentLimit)
        percent = kPercentLimit;
    if (percent < -kPercentLimit)
        percent = -kPercentLimit;
    const int64_t scaled = std::llround(percent * static_cast<double>(kPercentScale));
    // total × percent / 100, rounded up to the next kopeck. The product of a total up to
    // kMaxMoney and the scaled percent needs more than 64 bits: split the total at the divisor.
    const int64_t divisor = kPercentScale * 100;
    const int64_t whole = total / divisor;
    const int64_t part = total % divisor;
    return whole * scaled + ceilDiv(part * scaled, divisor);
}

int64_t grandTotal(int64_t total, int64_t discount, int32_t assemblyCost, int32_t deliveryCost) {
    int64_t sum = total - discount;
    if (assemblyCost > 0)
        sum += static_cast<int64_t>(assemblyCost) * 100;
    if (deliveryCost > 0)
        sum += static_cast<int64_t>(deliveryCost) * 100;
    return sum;
}

std::string grandTotalText(int64_t total, int64_t grand) {
    if (total > 0)
        return text::format("%6.2f руб.", grand / 100.0);
    return "ОШИБКА";
}

} // namespace totals
