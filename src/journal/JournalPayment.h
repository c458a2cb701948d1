#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One payment on an order as the journal keeps it: money taken ("Предоплата", "Оплата") or given
// back ("Возврат"), always a positive amount of kopecks.
struct JournalPayment {
    int64_t id = 0;
    int64_t number = 0; // the order's
    int64_t amountKopecks = 0;
    std::string kind;
    std::string method;
    int64_t takenAt = 0;   // seconds since 1970-01-01 UTC
    int32_t utcOffset = 0; // seconds east of UTC on the seat that took it
    std::string takenBy;
    std::string note;

    bool operator==(const JournalPayment&) const = default;
};

// The kinds and methods of a payment, written exactly as shown.
namespace journalpayment {

inline constexpr std::array<std::string_view, 3> kKinds = {"Предоплата", "Оплата", "Возврат"};
inline constexpr std::string_view kRefund = kKinds[2];
inline constexpr std::array<std::string_view, 3> kMethods = {"Наличные", "Карта",
                                                             "Безналичный расчет"};

template <typename List>
bool isOneOf(const List& list, std::string_view text) {
    for (std::string_view s : list)
        if (s == text)
            return true;
    return false;
}

// What the payment adds to the paid sum: a refund takes its amount off.
inline int64_t signedAmount(const JournalPayment& p) {
    return p.kind == kRefund ? -p.amountKopecks : p.amountKopecks;
}

// The order's balance just after the payment with the given id (a receipt printed again later
// shows the balance as it was then).
inline int64_t balanceAfter(int64_t totalKopecks, const std::vector<JournalPayment>& payments,
                            int64_t id) {
    int64_t balance = totalKopecks;
    for (const JournalPayment& p : payments)
        if (p.id <= id)
            balance -= signedAmount(p);
    return balance;
}

} // namespace journalpayment
