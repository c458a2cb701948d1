#pragma once

#include "journal/JournalAddress.h"

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>

// Copies of the journal that a shop keeps, and putting one back. Every failure throws
// JournalError with the message to show; the journal is then left as it was.
namespace journalbackup {

struct Copy {
    int64_t orders = 0;
    std::string kept; // restore: where the replaced journal was kept (empty when there was none)
};

// A consistent copy of a journal in use, written whole in place of the file: SQLite's own
// VACUUM INTO, never a copy of the file; for PostgreSQL the server's pg_dump in its custom
// format.
Copy backup(const JournalAddress& address, const std::filesystem::path& file);

// Checks the copy (it reads whole, its schema is not newer than this program's, its orders are
// counted) and then puts it in place of the journal in one step, keeping the replaced journal
// beside it. Refused while another program has the journal open.
Copy restore(const JournalAddress& address, const std::filesystem::path& file);

// The single seat's own copies, taken at the first start of a day: an SQLite journal that exists
// is copied into folder as journal-YYYY-MM-DD.sqlite (the local day of now), and as
// journal-week-YYYY-WW.sqlite for the first copy of an ISO week; the newest 7 daily and 4 weekly
// copies are kept. Returns the day's copy when one was taken now, else an empty path (a server's
// journal is the shop's to copy).
std::filesystem::path daily(const JournalAddress& address, const std::filesystem::path& folder,
                            std::time_t now);

} // namespace journalbackup
