#pragma once

#include <cstdint>
#include <string>

// Money figures of an order. Money is in kopecks; assembly and delivery costs are whole roubles.
namespace totals {

// The discount on a total: ceil(total × percent / 100) in kopecks, computed exactly on the decimal
// percent (to a millionth of a percent), so 7 % of 100 kopecks is 7, not 8. A percent that is not
// a finite number gives no discount.
int32_t discountAmount(int32_t total, double percent);

// total − discount + assembly and delivery (whole roubles, each only when above 0).
int32_t grandTotal(int32_t total, int32_t discount, int32_t assemblyCost, int32_t deliveryCost);

// "%6.2f руб." of the grand total when total is above 0, else "ОШИБКА".
std::string grandTotalText(int32_t total, int32_t grandTotal);

} // namespace totals
