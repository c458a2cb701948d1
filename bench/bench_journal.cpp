// The order journal on SQLite: placing one order from the shipped catalog's default project (the
// record, the bill, the sketch saved and kept, one transaction), and the window's searches among
// 100,000 orders: the first screen of rows and the count-and-sum line.
#include "calc/SystemFactory.h"
#include "catalog/Catalog.h"
#include "journal/Journal.h"
#include "journal/JournalConnection.h"
#include "journal/JournalDates.h"
#include "journal/JournalRows.h"
#include "journal/OrderPlacing.h"
#include "model/OrderNumberFile.h"
#include "model/Project.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr int kOrders = 100000;
constexpr int kFirstScreen = 100;

struct Folder {
    fs::path path;
    Folder() {
        std::string pattern = (fs::temp_directory_path() / "tavbench-journal-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot create a temporary folder");
        path = pattern;
    }
    ~Folder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

const char* const kSurnames[] = {"Иванов",  "Петров",   "Сидоров", "Кузнецов", "Смирнов",
                                 "Попов",   "Васильев", "Соколов", "Михайлов", "Новиков",
                                 "Фёдоров", "Морозов",  "Волков",  "Алексеев", "Лебедев"};
const char* const kSystems[] = {"Ловен", "Мелоза", "Тавро", "Стенвик", "Гартис"};
const char* const kStatuses[] = {"Принят", "В производстве", "Готов", "Доставлен", "Отменён"};

// A journal of 100,000 orders over three years, filled in one transaction.
struct BigJournal {
    Folder folder;
    JournalAddress address = JournalAddress::sqlite(folder.path / "journal.sqlite");
    int64_t firstDay = *journaldates::localDayStart(2024, 1, 1);

    BigJournal() {
        { Journal create(address); }
        JournalConnection db(address);
        std::mt19937 random(7);
        db.beginWrite();
        for (int n = 1; n <= kOrders; ++n) {
            JournalOrder o;
            o.number = n;
            o.placedAt = firstDay + int64_t{n} * (3 * 365 * 86400 / kOrders);
            o.utcOffset = 3 * 3600;
            o.salesperson = n % 3 == 0 ? "Анна" : "Олег";
            o.customer = std::string(kSurnames[random() % 15]) + " " + std::to_string(n);
            o.phone = "+7 9" + std::to_string(100000000 + random() % 900000000);
            o.address = "ул. Садовая, " + std::to_string(n % 200);
            o.system = kSystems[random() % 5];
            o.doors = 2 + static_cast<int>(random() % 3);
            o.totalKopecks = 1000000 + static_cast<int64_t>(random() % 10000000);
            o.status = kStatuses[random() % 5];
            db.run(journalrows::kInsert, journalrows::insertValues(o));
        }
        db.run("UPDATE journal_counter SET next_number = ?", {kOrders + 1});
        db.commit();
    }
};

BigJournal& bigJournal() {
    static BigJournal journal;
    return journal;
}

void BM_PlaceOrder(benchmark::State& state) {
    Folder folder;
    Catalog catalog(TAV_BINARY_DIR "/bin", makeAllSystems);
    Project project(catalog);
    project.order.clientName = "Иванова Мария Петровна";
    project.order.phone = "+7 (912) 345-67-89";
    project.order.address = "г. Пермь, ул. Ленина, д. 1, кв. 2";
    Journal journal(JournalAddress::sqlite(folder.path / "journal.sqlite"));
    const OrderNumberFile numbers(folder.path / "program", folder.path / "user");
    fs::create_directories(folder.path / "orders");
    for (auto _ : state) {
        const int64_t number = orderplacing::place(journal, project, numbers, "Анна",
                                                   folder.path / "orders" / "order.tav");
        benchmark::DoNotOptimize(number);
    }
}
BENCHMARK(BM_PlaceOrder)->Unit(benchmark::kMillisecond);

// The first screen of a search by part of the customer's name, then the count-and-sum line.
void BM_SearchCustomer(benchmark::State& state) {
    Journal journal(bigJournal().address);
    OrderFilter f;
    f.find = "ФЁДОРОВ 12";
    f.limit = kFirstScreen;
    for (auto _ : state) {
        benchmark::DoNotOptimize(journal.list(f));
        if (state.range(0) != 0)
            benchmark::DoNotOptimize(journal.summary(f));
    }
}
BENCHMARK(BM_SearchCustomer)->Arg(0)->Arg(1)->ArgName("withSum")->Unit(benchmark::kMillisecond);

// A search that matches nothing reads every order: the slowest first screen.
void BM_SearchNothing(benchmark::State& state) {
    Journal journal(bigJournal().address);
    OrderFilter f;
    f.find = "Нет такого клиента";
    f.limit = kFirstScreen;
    for (auto _ : state) {
        benchmark::DoNotOptimize(journal.list(f));
        benchmark::DoNotOptimize(journal.summary(f));
    }
}
BENCHMARK(BM_SearchNothing)->Unit(benchmark::kMillisecond);

// One month of orders by date range, the newest first.
void BM_SearchDateRange(benchmark::State& state) {
    Journal journal(bigJournal().address);
    OrderFilter f;
    f.from = journaldates::localDayStart(2025, 6, 1);
    f.to = journaldates::localDayStart(2025, 7, 1);
    f.sort = OrderFilter::Column::PlacedAt;
    f.limit = kFirstScreen;
    for (auto _ : state) {
        benchmark::DoNotOptimize(journal.list(f));
        benchmark::DoNotOptimize(journal.summary(f));
    }
}
BENCHMARK(BM_SearchDateRange)->Unit(benchmark::kMillisecond);

// Opening the journal and its first unfiltered screen with the sum of all orders.
void BM_OpenFirstScreen(benchmark::State& state) {
    OrderFilter f;
    f.limit = kFirstScreen;
    bigJournal();
    for (auto _ : state) {
        Journal journal(bigJournal().address);
        benchmark::DoNotOptimize(journal.list(f));
        benchmark::DoNotOptimize(journal.summary(f));
    }
}
BENCHMARK(BM_OpenFirstScreen)->Unit(benchmark::kMillisecond);

} // namespace
