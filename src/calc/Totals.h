#pragma once

#include <cstdint>
#include <string>

// Money figures of an order. Money is in kopecks; assembly and delivery costs are whole roubles.
namespace totals {

// The most money (kopecks, either sign) a row or a total may hold: 10^13 roubles. Every amount up
// to it prints exactly to the kopeck; beyond it a row gets an error instead of a wrong figure.
inline constexpr int64_t kMaxMoney = 1000000000000000;

bool moneyFits(int64_t kopecks);
// A computed amount of kopecks truncated toward zero; an amount beyond kMaxMoney either way (or
// not a number) gives kMaxMoney + 1 with its sign, which moneyFits refuses.
int64_t kopecksOf(double kopecks);
inline constexpr const char* kCostTooLarge = "ОШИБКА: Стоимость строки слишком велика.";
// When the row's cost does not fit, the row gets the error kCostTooLarge (unless it already has
// an error) and the cost 0.
void refuseUnfitCost(int64_t& cost, std::string& error);

// The discount on a total: ceil(total × percent / 100) in kopecks, computed exactly on the decimal
// percent (to a millionth of a percent), so 7 % of 100 kopecks is 7, not 8. A percent that is not
// a finite number gives no discount.
int64_t discountAmount(int64_t total, double percent);

// total − discount + assembly and delivery (whole roubles, each only when above 0).
int64_t grandTotal(int64_t total, int64_t discount, int32_t assemblyCost, int32_t deliveryCost);

// "%6.2f руб." of the grand total when total is above 0, else "ОШИБКА".
std::string grandTotalText(int64_t total, int64_t grandTotal);

} // namespace totals
