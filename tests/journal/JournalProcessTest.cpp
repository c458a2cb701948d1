// Several processes on one journal: seats placing at once, a seat killed while placing, and
// seats starting batches on the same offcuts at once.

#include "journal/JournalBackend.h"

#include "journal/JournalBackup.h"
#include "journal/JournalConnection.h"
#include "journal/JournalError.h"
#include "journal/PostgresServer.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <set>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// A journal_placer process whose standard output the test reads line by line.
class Placer {
public:
    Placer(const JournalAddress& address, int count, bool hold = false)
        : Placer(address, {std::to_string(count), hold ? "hold" : ""}) {}
    Placer(const JournalAddress& address, std::vector<std::string> args) {
        int fds[2];
        if (::pipe(fds) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(fds[1], 1);
            ::close(fds[0]);
            const std::string url = urlOf(address);
            std::vector<char*> argv = {const_cast<char*>(TAV_JOURNAL_PLACER),
                                       const_cast<char*>(url.c_str())};
            for (std::string& a : args)
                if (!a.empty())
                    argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(TAV_JOURNAL_PLACER, argv.data());
            ::_exit(127);
        }
        ::close(fds[1]);
        out_ = ::fdopen(fds[0], "r");
    }
    ~Placer() {
        if (pid_ > 0 && !waited_)
            kill();
        if (out_ != nullptr)
            std::fclose(out_);
    }

    // The next line it printed; empty at its end.
    std::string line() {
        char buffer[256];
        if (out_ == nullptr || std::fgets(buffer, sizeof buffer, out_) == nullptr)
            return {};
        std::string s = buffer;
        if (!s.empty() && s.back() == '\n')
            s.pop_back();
        return s;
    }
    std::vector<int64_t> allNumbers() {
        std::vector<int64_t> numbers;
        for (std::string s = line(); !s.empty(); s = line())
            numbers.push_back(std::stoll(s));
        return numbers;
    }
    int wait() {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        waited_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    void kill() {
        ::kill(pid_, SIGKILL);
        wait();
    }

    static std::string urlOf(const JournalAddress& a) {
        if (a.backend == JournalAddress::Backend::Sqlite)
            return "sqlite:" + a.file.string();
        return "postgresql://" + a.user + "@/" + a.database + "?host=" + a.host;
    }

private:
    pid_t pid_ = -1;
    FILE* out_ = nullptr;
    bool waited_ = false;
};

// Every order whole (its documents and first status there), the numbers 1..n without a gap, and
// the counter right after them. Returns n.
int64_t expectWholeOrders(Journal& journal) {
    OrderFilter all;
    all.descending = false;
    const std::vector<JournalOrder> orders = journal.list(all);
    for (std::size_t i = 0; i < orders.size(); ++i) {
        EXPECT_EQ(orders[i].number, static_cast<int64_t>(i + 1));
        EXPECT_EQ(journal.documents(orders[i].number).sketch.size(), 64u * 1024);
        EXPECT_EQ(journal.history(orders[i].number).size(), 1u);
    }
    const auto n = static_cast<int64_t>(orders.size());
    EXPECT_EQ(journal.nextNumber(1), n + 1);
    return n;
}

} // namespace

class JournalProcessTest : public JournalBackendTest {};
TAV_ON_BOTH_BACKENDS(JournalProcessTest);

TEST_P(JournalProcessTest, TwoSeatsPlacingAtOnceGetDistinctConsecutiveNumbers) {
    // Both start on a journal that does not exist yet: they also build it together.
    Placer first(address(), 200);
    Placer second(address(), 200);
    std::vector<int64_t> a = first.allNumbers();
    std::vector<int64_t> b = second.allNumbers();
    EXPECT_EQ(first.wait(), 0);
    EXPECT_EQ(second.wait(), 0);
    ASSERT_EQ(a.size(), 200u);
    ASSERT_EQ(b.size(), 200u);
    EXPECT_TRUE(std::is_sorted(a.begin(), a.end()));
    std::set<int64_t> numbers(a.begin(), a.end());
    numbers.insert(b.begin(), b.end());
    EXPECT_EQ(numbers.size(), 400u);
    EXPECT_EQ(*numbers.begin(), 1);
    EXPECT_EQ(*numbers.rbegin(), 400);
    Journal journal(address());
    EXPECT_EQ(expectWholeOrders(journal), 400);
}

TEST_P(JournalProcessTest, SeatKilledInsidePlacingLeavesNothingAndItsNumberFree) {
    {
        Journal journal(address());
        for (int i = 0; i < 3; ++i)
            placeSample(journal, sampleOrder("Прежний", "1"));
    }
    Placer placer(address(), 1, true);
    EXPECT_EQ(placer.line(), "inside 4");
    placer.kill();

    Journal journal(address());
    EXPECT_THROW(journal.order(4), JournalError);
    EXPECT_EQ(journal.summary({}).count, 3);
    EXPECT_EQ(journal.nextNumber(1), 4);
    EXPECT_EQ(placeSample(journal, sampleOrder("Следующий", "2")), 4);
}

TEST_P(JournalProcessTest, SeatKilledAtAnyMomentLeavesOnlyWholeOrders) {
    // Killed at several moments of a busy run: whatever was recorded is recorded whole.
    for (int delayMs : {40, 90, 170, 260}) {
        Placer placer(address(), 100000);
        EXPECT_FALSE(placer.line().empty()); // it is placing
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        placer.kill();
        Journal journal(address());
        const int64_t before = expectWholeOrders(journal);
        EXPECT_GT(before, 0);
    }
}

TEST_P(JournalProcessTest, TwoSeatsStartingBatchesAtOnceNeverUseOneOffcutTwice) {
    // Forty offcuts; each seat starts forty batches of its own orders, the k-th of each on the
    // k-th offcut. Of every pair exactly one starts.
    constexpr int kPairs = 40;
    {
        Journal journal(address());
        for (int i = 0; i < 2 * kPairs; ++i)
            placeSample(journal, sampleOrder("Клиент", "1"));
        JournalOffcut o;
        o.article = "KL001";
        o.length = 26000;
        for (int i = 0; i < kPairs; ++i)
            journal.offcuts().add(o, "склад");
    }
    Placer first(address(), {"batches", "1", std::to_string(kPairs)});
    Placer second(address(), {"batches", std::to_string(kPairs + 1), std::to_string(kPairs)});
    std::vector<int> started(kPairs, 0);
    for (Placer* seat : {&first, &second}) {
        for (std::string s = seat->line(); !s.empty(); s = seat->line())
            if (s.starts_with("ok "))
                ++started[static_cast<size_t>(std::stoi(s.substr(3)))];
        EXPECT_EQ(seat->wait(), 0);
    }
    for (int k = 0; k < kPairs; ++k)
        EXPECT_EQ(started[static_cast<size_t>(k)], 1) << "offcut " << k + 1;

    // What the journal holds agrees: every used offcut belongs to one started batch whose order
    // is in production and which kept its one rest; the other orders are untouched.
    Journal journal(address());
    const std::vector<BatchRecord> batches = journal.batches().list();
    ASSERT_EQ(batches.size(), static_cast<size_t>(kPairs));
    std::set<int64_t> used;
    for (const BatchRecord& b : batches) {
        ASSERT_EQ(b.orders.size(), 1u);
        EXPECT_EQ(journal.order(b.orders[0]).status, "В производстве");
        EXPECT_EQ(journal.batches().kept(b.id).size(), 1u);
    }
    for (const JournalOffcut& o : journal.offcuts().list({})) {
        if (o.state == offcutstate::kUsed) {
            EXPECT_TRUE(used.insert(o.batch).second) << "two offcuts of one batch";
        }
    }
    EXPECT_EQ(used.size(), static_cast<size_t>(kPairs));
    OrderFilter waiting;
    waiting.status = "Принят";
    EXPECT_EQ(journal.summary(waiting).count, kPairs);
}

TEST_P(JournalProcessTest, ARestoreIsRefusedWhileAnotherSeatHasTheJournalOpen) {
    const std::filesystem::path copy = dir_ / "копия.journal";
    {
        Journal journal(address());
        placeSample(journal, sampleOrder("Прежний", "1"));
        journalbackup::backup(address(), copy);
    }
    Placer seat(address(), 1, true);
    EXPECT_EQ(seat.line(), "inside 2");
    try {
        journalbackup::restore(address(), copy);
        ADD_FAILURE() << "a journal in use was replaced";
    } catch (const JournalError& e) {
        EXPECT_EQ(e.kind(), JournalError::Locked) << e.what();
    }
    seat.kill();
    EXPECT_EQ(journalbackup::restore(address(), copy).orders, 1);
}

TEST(JournalProcessRestart, TwoSeatsPlacingWhileTheServerRestartsLoseNothingAndPlaceNothingTwice) {
    constexpr int kOrders = 150;
    const JournalAddress address = PostgresServer::instance().freshDatabase(true);
    ASSERT_TRUE(PostgresServer::instance().running());
    { const Journal made(address); }
    Placer first(address, {"seat", "first", std::to_string(kOrders)});
    Placer second(address, {"seat", "second", std::to_string(kOrders)});
    std::vector<int64_t> numbers;
    for (int i = 0; i < 20; ++i)
        numbers.push_back(std::stoll(first.line()));
    // Stopped as for an update, then killed, while both seats place.
    ASSERT_TRUE(PostgresServer::instance().restart(false));
    for (int i = 0; i < 40; ++i)
        numbers.push_back(std::stoll(first.line()));
    ASSERT_TRUE(PostgresServer::instance().restart(true));
    int failures = 0;
    for (Placer* seat : {&first, &second}) {
        for (std::string s = seat->line(); !s.empty(); s = seat->line()) {
            if (s.starts_with("failures "))
                failures += std::stoi(s.substr(9));
            else
                numbers.push_back(std::stoll(s));
        }
        EXPECT_EQ(seat->wait(), 0);
    }
    std::printf("seats' placings repeated after a failure: %d\n", failures);
    const std::set<int64_t> distinct(numbers.begin(), numbers.end());
    EXPECT_EQ(numbers.size(), 2u * kOrders);
    EXPECT_EQ(distinct.size(), 2u * kOrders);
    Journal journal(address);
    EXPECT_EQ(expectWholeOrders(journal), 2 * kOrders);
    JournalConnection c(address);
    QSqlQuery keys = c.run("SELECT COUNT(*) FROM journal_keys");
    ASSERT_TRUE(keys.next());
    EXPECT_EQ(keys.value(0).toLongLong(), 2 * kOrders);
}
