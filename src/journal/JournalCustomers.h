#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class JournalConnection;

// A customer as the journal keeps one: found again by the phone, whatever way it was typed. The
// orders keep the texts they were placed with; the record may be edited apart from them.
struct JournalCustomer {
    int64_t id = 0;
    std::string name;
    std::string phone;
    std::string address;
    int64_t createdAt = 0; // seconds since 1970-01-01 UTC
    // Read from the customer's orders (cancelled ones aside).
    int64_t orders = 0;
    int64_t totalKopecks = 0;
    int64_t paidKopecks = 0;
    int64_t balanceKopecks() const { return totalKopecks - paidKopecks; }

    bool operator==(const JournalCustomer&) const = default;
};

namespace journalcustomers {

// The phone's digits with a leading 8 read as 7 (the long-distance prefix of Russian numbers),
// and a ten-digit number (typed without any prefix) given the country's 7: "8 (912) 345-67-89", "+7
// 912 3456789" and "912 345 67 89" are one phone. Empty when the text has no digits.
std::string phoneKey(std::string_view phone);

// Inside the caller's write transaction: the customer of an order with these texts, found by the
// phone (or, without a phone, by the name among customers without one) or created; 0 when the
// order names neither. A found record keeps its texts, filling only those that were empty.
int64_t linkOrder(JournalConnection& db, const std::string& name, const std::string& phone,
                  const std::string& address, int64_t at);
// Links every order of an earlier journal to its customer, oldest first.
void linkAllOrders(JournalConnection& db);

} // namespace journalcustomers
