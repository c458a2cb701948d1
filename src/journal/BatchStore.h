#pragma once

#include "journal/JournalOffcut.h"

#include <cstdint>
#include <string>
#include <vector>

class JournalConnection;

namespace batchstate {
inline constexpr const char* kStarted = "Запущена";
inline constexpr const char* kCancelled = "Отменена";
} // namespace batchstate

struct BatchRecord {
    int64_t id = 0;
    std::string state;
    int64_t createdAt = 0;
    std::string createdBy;
    std::vector<int64_t> orders;
    std::string planJson;
};

// What starting a batch records.
struct BatchStart {
    std::vector<int64_t> orders;
    std::string planJson;
    std::vector<int64_t> usedOffcuts;
    std::vector<JournalOffcut> kept; // their ids are given by the store
};

// The batches of the journal: orders cut together in one session at the saw.
class BatchStore {
public:
    explicit BatchStore(JournalConnection& db) : db_(db) {}

    // In one transaction: the orders go to "В производстве", the used offcuts leave the store,
    // the kept ones enter it, and the batch is recorded; returns its number. An order that is
    // not "Принят" or is in another batch is refused (Failed); an offcut another seat took in
    // the meantime refuses the whole (Conflict). Nothing is recorded then.
    int64_t start(const BatchStart& batch, const std::string& by);
    // Its orders go back to "Принят", the offcuts it used back on stock, those it would have
    // kept are scrapped (they were never cut).
    void cancel(int64_t id, const std::string& by);

    BatchRecord get(int64_t id);
    std::vector<BatchRecord> list();
    // The offcuts the batch kept, with their ids, as its labels show them.
    std::vector<JournalOffcut> kept(int64_t id);

private:
    JournalConnection& db_;
};
