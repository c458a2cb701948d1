// What only the SQLite file can meet: a damaged file, a file another program holds, the journal's
// mode and a folder that cannot be made.

#include "journal/Journal.h"
#include "journal/JournalConnection.h"
#include "journal/JournalError.h"
#include "support/TempFolder.h"

#include <QSqlDatabase>
#include <QSqlQuery>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

std::string bytesOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

JournalError::Kind refusal(const JournalAddress& address) {
    try {
        Journal journal(address);
    } catch (const JournalError& e) {
        return e.kind();
    }
    ADD_FAILURE() << "the journal was opened";
    return JournalError::Failed;
}

} // namespace

TEST(JournalSqlite, DamagedFileIsRefusedAndLeftAsItWas) {
    TempFolder dir;
    std::string garbage;
    for (int i = 0; i < 8192; ++i)
        garbage += static_cast<char>((i * 7919) % 251);
    const std::string cases[] = {
        garbage,
        // A real journal's first page cut short and followed by noise.
        std::string("SQLite format 3\0", 16) + garbage,
        "короткий текстовый файл",
    };
    for (const std::string& bytes : cases) {
        dir.writeBytes("journal.sqlite", bytes);
        EXPECT_EQ(refusal(JournalAddress::sqlite(dir / "journal.sqlite")), JournalError::Damaged);
        EXPECT_EQ(bytesOf(dir / "journal.sqlite"), bytes);
        EXPECT_FALSE(std::filesystem::exists(dir / "journal.sqlite-wal"));
    }
}

TEST(JournalSqlite, FileHeldByAnotherProgramIsReportedBusyAfterTheWait) {
    TempFolder dir;
    const JournalAddress address = JournalAddress::sqlite(dir / "journal.sqlite");
    Journal journal(address);
    {
        // Another program keeps a write transaction open.
        JournalConnection other(address);
        other.beginWrite();
        JournalOrder order;
        order.customer = "Ждет";
        try {
            journal.place(order, "[]", 1, [](JournalOrder&) { return std::string("x"); });
            ADD_FAILURE() << "placed while the journal was held";
        } catch (const JournalError& e) {
            EXPECT_EQ(e.kind(), JournalError::Locked);
            EXPECT_NE(std::string(e.what()).find("занят другой программой"), std::string::npos);
        }
        other.rollback();
    }
    EXPECT_EQ(journal.summary({}).count, 0);
    JournalOrder order;
    EXPECT_EQ(journal.place(order, "[]", 1, [](JournalOrder&) { return std::string("x"); }), 1);
}

TEST(JournalSqlite, KeepsAWriteAheadLogAndRefusesAFolderItCannotMake) {
    TempFolder dir;
    const JournalAddress address = JournalAddress::sqlite(dir / "a" / "b" / "journal.sqlite");
    {
        Journal journal(address);
        JournalConnection db(address);
        QSqlQuery q = db.run("PRAGMA journal_mode");
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0).toString(), "wal");
    }
    dir.writeBytes("file", "x");
    EXPECT_EQ(refusal(JournalAddress::sqlite(dir / "file" / "journal.sqlite")),
              JournalError::Unreachable);
    EXPECT_EQ(refusal(JournalAddress::sqlite(dir / "a")), JournalError::Unreachable);
}
