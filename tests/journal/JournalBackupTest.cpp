// Copies of the journal and putting one back, on SQLite and PostgreSQL: a copy taken of a journal
// in use restores exactly, the replaced journal is kept, and a damaged or newer copy is refused
// with the journal left as it was.

#include "journal/JournalBackend.h"

#include "journal/JournalBackup.h"
#include "journal/JournalConnection.h"
#include "journal/JournalError.h"
#include "journal/JournalSchema.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>

namespace {

int64_t orders(const JournalAddress& address) {
    Journal journal(address);
    return journal.summary({}).count;
}

JournalError::Kind refusal(const JournalAddress& address, const std::filesystem::path& copy) {
    try {
        journalbackup::restore(address, copy);
    } catch (const JournalError& e) {
        return e.kind();
    }
    return JournalError::Failed;
}

} // namespace

class JournalBackupTest : public JournalBackendTest {};
TAV_ON_BOTH_BACKENDS(JournalBackupTest);

TEST_P(JournalBackupTest, ACopyRestoresExactlyKeepingTheReplacedJournal) {
    const std::filesystem::path copy = dir_ / "копия.journal";
    {
        Journal journal(address());
        for (const char* customer : {"Соколов", "Яковлев", "Борисов"})
            placeSample(journal, sampleOrder(customer, "1"));
        // Taken while the journal is open and in use.
        EXPECT_EQ(journalbackup::backup(address(), copy).orders, 3);
        placeSample(journal, sampleOrder("После копии", "2"));
    }
    EXPECT_EQ(orders(address()), 4);
    const journalbackup::Copy restored = journalbackup::restore(address(), copy);
    EXPECT_EQ(restored.orders, 3);
    ASSERT_FALSE(restored.kept.empty());
    {
        Journal journal(address());
        EXPECT_EQ(journal.summary({}).count, 3);
        EXPECT_EQ(journal.order(3).customer, "Борисов");
        // The numbering goes on from the copy's counter.
        EXPECT_EQ(placeSample(journal, sampleOrder("Новый", "3")), 4);
    }
    // The replaced journal is kept whole beside it.
    JournalAddress kept = address();
    if (kept.backend == JournalAddress::Backend::Sqlite)
        kept.file = restored.kept;
    else
        kept.database = restored.kept;
    EXPECT_EQ(orders(kept), 4);
}

TEST_P(JournalBackupTest, ADamagedOrNewerCopyIsRefusedAndTheJournalStays) {
    const std::filesystem::path copy = dir_ / "копия.journal";
    {
        Journal journal(address());
        placeSample(journal, sampleOrder("Соколов", "1"));
    }
    {
        // A copy written by a newer program.
        JournalConnection db(address());
        db.run("UPDATE journal_schema SET version = ?", {journalschema::latestVersion() + 1});
    }
    journalbackup::backup(address(), copy);
    {
        JournalConnection db(address());
        db.run("UPDATE journal_schema SET version = ?", {journalschema::latestVersion()});
        placeSample(*std::make_unique<Journal>(address()), sampleOrder("Яковлев", "2"));
    }
    EXPECT_EQ(refusal(address(), copy), JournalError::NewerSchema);
    EXPECT_EQ(orders(address()), 2);

    // Bytes of another kind, and a copy cut short.
    std::ofstream(dir_ / "мусор.journal") << "это не журнал";
    EXPECT_EQ(refusal(address(), dir_ / "мусор.journal"), JournalError::Damaged);
    const auto size = std::filesystem::file_size(copy);
    std::filesystem::resize_file(copy, size / 2);
    EXPECT_EQ(refusal(address(), copy), JournalError::Damaged);
    EXPECT_EQ(orders(address()), 2);
}

TEST(JournalDailyCopies, OnePerDayTheNewestSevenDaysAndFourWeeksAreKept) {
    TempFolder dir;
    const JournalAddress address = JournalAddress::sqlite(dir / "journal.sqlite");
    const std::filesystem::path folder = dir / "backups";
    EXPECT_TRUE(journalbackup::daily(address, folder, 0).empty()) << "no journal yet, no copy";
    { Journal journal(address); }
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    const std::time_t monday = 1797206400; // 2026-12-14 00:00 UTC, a Monday
    for (int d = 0; d < 40; ++d) {
        const std::time_t noon = monday + d * 86400 + 12 * 3600;
        EXPECT_FALSE(journalbackup::daily(address, folder, noon).empty()) << d;
        EXPECT_TRUE(journalbackup::daily(address, folder, noon + 3600).empty()) << "twice a day";
    }
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{
                         "journal-2027-01-16.sqlite", "journal-2027-01-17.sqlite",
                         "journal-2027-01-18.sqlite", "journal-2027-01-19.sqlite",
                         "journal-2027-01-20.sqlite", "journal-2027-01-21.sqlite",
                         "journal-2027-01-22.sqlite", "journal-week-2026-53.sqlite",
                         "journal-week-2027-01.sqlite", "journal-week-2027-02.sqlite",
                         "journal-week-2027-03.sqlite"}));
    // A copy is a journal that restores.
    EXPECT_EQ(journalbackup::restore(address, folder / names.front()).orders, 0);
}
