#pragma once

#include "journal/JournalOffcut.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class JournalConnection;

// The offcut store of the journal: every kept offcut with its id, size, place, state and the
// history of its changes. Every change is one transaction; the *Within calls run inside the
// caller's own (a batch records its offcuts with its orders).
class OffcutStore {
public:
    explicit OffcutStore(JournalConnection& db) : db_(db) {}

    // "О-000123": short to type, printed on the label as text and QR code.
    static std::string idText(int64_t id);
    // The id in what a person typed or a scanner sent: "О-000123", "о-123", "O-123" (Latin), or
    // the number alone, with blanks around.
    static std::optional<int64_t> parseId(std::string_view text);

    // Records the offcut on stock (its state, id and time are given here); returns its id.
    int64_t add(JournalOffcut offcut, const std::string& by);
    int64_t addWithin(JournalOffcut offcut, const std::string& by, int64_t at);

    JournalOffcut get(int64_t id);
    std::vector<OffcutChange> history(int64_t id);
    std::vector<JournalOffcut> list(const OffcutFilter& filter);
    OffcutTotals totals(const OffcutFilter& filter);

    // Scraps an offcut on stock; one used, reserved or scrapped already is refused.
    void scrap(int64_t id, const std::string& by, const std::string& note);
    // Moves it to another place (on stock or reserved).
    void move(int64_t id, const std::string& place, const std::string& by);
    // Changes the state inside the caller's transaction, if the offcut is in state `from`;
    // returns false when it is not (another seat took it), changing nothing.
    bool changeWithin(int64_t id, std::string_view from, std::string_view to, int64_t batch,
                      const std::string& by, int64_t at, const std::string& note = {});

private:
    JournalOffcut getWithin(int64_t id);

    JournalConnection& db_;
};
