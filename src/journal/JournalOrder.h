#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One placed order as the journal keeps it. Texts are UTF-8, sizes 0.1 mm, money kopecks.
struct JournalOrder {
    int64_t number = 0;
    int64_t placedAt = 0;  // seconds since 1970-01-01 UTC
    int32_t utcOffset = 0; // seconds east of UTC on the seat that placed it
    std::string salesperson;
    std::string customer;
    std::string phone;
    std::string address;
    std::string system;
    int32_t doors = 0;
    int32_t openingWidth = 0;
    int32_t openingHeight = 0;
    int64_t sumKopecks = 0; // the bill before discount, assembly and delivery
    int64_t discountKopecks = 0;
    int64_t assemblyKopecks = 0;
    int64_t deliveryKopecks = 0;
    int64_t totalKopecks = 0; // what the customer pays
    std::string status;
    std::string filePath; // where the sketch file was saved when the order was placed
    // Read from the payments, never written with the order: what was paid less what was given
    // back, and what is still owed.
    int64_t paidKopecks = 0;
    int64_t balanceKopecks() const { return totalKopecks - paidKopecks; }
    int32_t revision = 1;   // the current revision; 1 as placed
    int64_t customerId = 0; // the customer's record; 0 when the order named none

    bool operator==(const JournalOrder&) const = default;
};

// The documents kept with an order: the sketch file's bytes as placed and the bill rows as JSON.
struct JournalDocuments {
    std::string sketch;
    std::string billJson;
};

// One revision of an order: when and by whom it was made, why, and its total.
struct OrderRevision {
    int32_t revision = 1;
    int64_t madeAt = 0; // seconds since 1970-01-01 UTC
    std::string madeBy;
    std::string reason;
    int64_t totalKopecks = 0;
    bool current = false;
};

// An order that still owes money, with its age in days.
struct DebtLine {
    JournalOrder order;
    int64_t daysSincePlaced = 0;
    std::optional<int64_t> daysSinceReady; // none when it was never "Готов"
};

struct DebtReport {
    std::vector<DebtLine> lines;
    int64_t totalKopecks = 0;
    int64_t paidKopecks = 0;
    int64_t balanceKopecks = 0;
};

// One entry of an order's status history.
struct StatusChange {
    std::string status;
    int64_t at = 0; // seconds since 1970-01-01 UTC
    std::string by;
};

// Which orders a list shows and in which order.
struct OrderFilter {
    enum class Column {
        Number,
        PlacedAt,
        Customer,
        Phone,
        System,
        Doors,
        Total,
        Paid,
        Balance,
        Status
    };

    std::optional<int64_t> from; // placed at or after (UTC seconds)
    std::optional<int64_t> to;   // placed before (UTC seconds)
    std::string status;          // empty: any
    std::string find;            // part of the number, the customer or the phone; empty: any
    Column sort = Column::Number;
    bool descending = true;
    int limit = -1; // -1: all
    int offset = 0;
};

// Count and money of the orders a filter selects (limit and offset aside).
struct OrderSummary {
    int64_t count = 0;
    int64_t totalKopecks = 0;
};

// Orders and money of one month, by system and by salesperson; cancelled orders do not count.
struct MonthlyReport {
    struct Line {
        std::string name;
        int64_t count = 0;
        int64_t totalKopecks = 0;
    };
    int year = 0;
    int month = 0;
    std::vector<Line> bySystem;
    std::vector<Line> bySalesperson;
    OrderSummary all;
    // The money of the month's payments whatever order they are on: received per method, and
    // given back (count and sum).
    std::vector<Line> receivedByMethod;
    OrderSummary refunds;
};
