#pragma once

#include "journal/BatchStore.h"
#include "journal/JournalAddress.h"
#include "journal/JournalCustomers.h"
#include "journal/JournalHistory.h"
#include "journal/JournalOrder.h"
#include "journal/JournalPayment.h"
#include "journal/JournalRoles.h"
#include "journal/OffcutStore.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class JournalConnection;

// The order journal: every placed order with its customer, money, status history, sketch file and
// bill, in an SQLite file or a PostgreSQL database through the same SQL. Every failure throws
// JournalError with the message to show; a failed change leaves the journal as it was.
class Journal {
public:
    // Opens the journal, creating a new one or bringing an older one up to the current schema. A
    // damaged file, a newer schema or an unreachable server is refused; the journal is then left
    // exactly as it was.
    explicit Journal(const JournalAddress& address);
    ~Journal();
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;

    const JournalAddress& address() const { return address_; }
    // The server's connection was lost; and whether that happened with a COMMIT unanswered, so
    // that the change may or may not have been recorded.
    bool connectionLost() const;
    bool commitUnanswered() const;

    // Called inside the placing transaction with the order as it is about to be recorded, its
    // number given; returns the bytes of the sketch file to keep (the order card carrying that
    // number) and may settle the record's file path. Throwing cancels the placing: nothing is
    // recorded and the number stays free.
    using SketchMaker = std::function<std::string(JournalOrder& order)>;

    // Records the order with the next number, status "Принят" and, when order.placedAt is 0, the
    // time now; returns the number. The first order of a new journal takes continueFrom (the
    // number file's next number), later ones count on from the journal's own counter. Two seats
    // placing at once get different consecutive numbers.
    //
    // With a key (made by the seat, kept until the placing succeeds), a placing repeated after a
    // lost answer is not done again: the journal answers with the number it gave the first time,
    // without calling sketchFor.
    int64_t place(JournalOrder order, const std::string& billJson, int64_t continueFrom,
                  const SketchMaker& sketchFor, const std::string& key = {});
    // The number a placing with this key got, and when; nullopt when there was none.
    struct Placed {
        int64_t number = 0;
        int64_t at = 0;
    };
    std::optional<Placed> placedWith(const std::string& key);
    // The number the next placing would take now (another seat may take it first).
    int64_t nextNumber(int64_t continueFrom);

    // Changes the order's status and adds it to its history.
    // Refused (JournalError::Refused) when the server's rules do not let the user make it.
    void setStatus(int64_t number, const std::string& status, const std::string& by);

    // Records a payment on the order, taken now by `by`, and returns it with its id. Refused
    // (JournalError::Refused, nothing recorded) when the amount is not above 0, is more than the
    // balance (a refund is the way back), is a refund of more than was paid, or is not a refund
    // on a cancelled order; the check and the record are one transaction, so two seats cannot
    // both take the last of a balance. With a key, a payment repeated after a lost answer is not
    // taken again: the journal answers with the first one.
    JournalPayment pay(int64_t number, int64_t amountKopecks, const std::string& kind,
                       const std::string& method, const std::string& note, const std::string& by,
                       const std::string& key = {});
    // The order's payments in the order they were taken.
    std::vector<JournalPayment> payments(int64_t number);

    // Stores the order as changed under its own number, as a new revision: the customer's texts,
    // the doors, the money, the bill and the sketch's bytes (which carry the order's number).
    // The revision before stays readable. Refused for a cancelled order, and for an order in
    // production or later without a reason. Returns the new revision's number. With a key, a
    // revision repeated after a lost answer is stored once.
    int revise(int64_t number, const JournalOrder& changed, const std::string& billJson,
               const std::string& sketch, const std::string& reason, const std::string& by,
               const std::string& key = {});
    // The order's revisions, the first one first and the current one last.
    std::vector<OrderRevision> revisions(int64_t number);
    // The documents of one revision (the current one from the order's documents).
    JournalDocuments revisionDocuments(int64_t number, int revision);

    // Customers whose name or phone holds the text (any case; a phone's digits alone too), with
    // the money of their orders; all of them for an empty text.
    std::vector<JournalCustomer> customers(const std::string& search = {});
    JournalCustomer customer(int64_t id);
    // The customer's orders, the newest first.
    std::vector<JournalOrder> ordersOf(int64_t customerId);
    // Changes the customer's record (never the texts of the orders placed for them); refused
    // when the phone is another customer's.
    void editCustomer(int64_t id, const std::string& name, const std::string& phone,
                      const std::string& address, const std::string& by);

    // Every change of the order: placing, revisions, states, payments, oldest first.
    std::vector<HistoryEntry> changes(int64_t number);
    // The changes of an offcut or a batch, by its subject text.
    std::vector<HistoryEntry> changesOf(const std::string& subject);

    // Orders that still owe money (cancelled ones aside), the oldest placing first, with days
    // since placing and since "Готов", at the time now (seconds since 1970 UTC; 0: the clock).
    DebtReport debts(int64_t now = 0);

    // What the connected user may do; and, on a PostgreSQL server, the roles made with their
    // rights (needs a user that may create roles).
    JournalRights rights();
    void initRoles();

    JournalOrder order(int64_t number);
    JournalDocuments documents(int64_t number);
    std::vector<StatusChange> history(int64_t number);

    std::vector<JournalOrder> list(const OrderFilter& filter);
    OrderSummary summary(const OrderFilter& filter);
    // The month's orders of the local calendar by system and by salesperson.
    MonthlyReport report(int year, int month);

    // The offcut store kept in the same database.
    OffcutStore offcuts() { return OffcutStore(*db_); }
    // The batches of orders cut together.
    BatchStore batches() { return BatchStore(*db_); }

private:
    JournalPayment payment(int64_t id);

    JournalAddress address_;
    std::unique_ptr<JournalConnection> db_;
};
