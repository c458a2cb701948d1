// The order journal on SQLite: placing one order from the shipped catalog's default project (the
// record, the bill, the sketch saved and kept, one transaction), and the window's searches among
// 100,000 orders: the first screen of rows and the count-and-sum line.
#include "calc/SystemFactory.h"
#include "catalog/Catalog.h"
#include "journal/BigJournal.h"
#include "journal/Journal.h"
#include "journal/JournalDates.h"
#include "journal/OrderPlacing.h"
#include "model/OrderNumberFile.h"
#include "model/Project.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
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

BigJournal& bigJournal() {
    static BigJournal journal(kOrders);
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
    Journal journal(bigJournal().address());
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
    Journal journal(bigJournal().address());
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
    Journal journal(bigJournal().address());
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
        Journal journal(bigJournal().address());
        benchmark::DoNotOptimize(journal.list(f));
        benchmark::DoNotOptimize(journal.summary(f));
    }
}
BENCHMARK(BM_OpenFirstScreen)->Unit(benchmark::kMillisecond);

} // namespace
