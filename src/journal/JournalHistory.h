#pragma once

#include <cstdint>
#include <string>
#include <vector>

class JournalConnection;
struct JournalPayment;

// One change as the journal's history keeps it: when, who, what, and the old value and the new.
struct HistoryEntry {
    int64_t id = 0;
    int64_t at = 0;        // seconds since 1970-01-01 UTC
    int32_t utcOffset = 0; // seconds east of UTC on the seat that made the change
    std::string who;    // PostgreSQL: the database user of the connection; SQLite: the seat's name
    std::string byName; // the name the seat works under
    std::string action;
    int64_t number = 0; // the order's; 0 when the change concerns no order
    std::string subject;
    std::string oldValue;
    std::string newValue;
    std::string note;

    bool operator==(const HistoryEntry&) const = default;
};

// The history of every change in the journal. Written inside the change's own transaction, so a
// change and its entry are recorded together or not at all; never changed afterwards.
namespace journalhistory {

// The actions, as shown (a payment's action is its kind).
inline constexpr const char* kPlaced = "Оформление";
inline constexpr const char* kRevision = "Редакция";
inline constexpr const char* kStatus = "Состояние";
inline constexpr const char* kCustomer = "Клиент";
inline constexpr const char* kOffcut = "Остаток";
inline constexpr const char* kBatch = "Партия";

// A payment's entry: its kind as the action, its amount and method, the balance before and
// after it.
HistoryEntry paymentEntry(int64_t number, const JournalPayment& payment, const std::string& method,
                          const std::string& note, int64_t balanceBefore, int64_t at);

// Records the entry, made now by `by` (on PostgreSQL the server writes the connection's user as
// who, whatever the program says).
void record(JournalConnection& db, const HistoryEntry& entry, const std::string& by);
// The entries of an order, oldest first.
std::vector<HistoryEntry> ofOrder(JournalConnection& db, int64_t number);
// The entries whose subject is the given text (an offcut's or a batch's), oldest first.
std::vector<HistoryEntry> ofSubject(JournalConnection& db, const std::string& subject);
// Writes what a journal kept before it had a history: each order's placing and status changes
// and its payments, with their own times and names.
void recordEarlier(JournalConnection& db);

} // namespace journalhistory
