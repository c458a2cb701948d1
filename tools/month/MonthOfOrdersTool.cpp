// Places a realistic month of a shop's orders into a journal, the same orders for the same seed,
// for measuring what cutting them together saves:
//
//     tavrolab-month-orders JOURNAL_ADDRESS [SEED] [DATA_FOLDER]
//
// Prints each placed number on its own line.

#include "MonthOfOrders.h"

#include "calc/SystemFactory.h"
#include "catalog/Catalog.h"
#include "journal/Journal.h"
#include "journal/JournalError.h"
#include "journal/OrderPlacing.h"
#include "model/OrderNumberFile.h"
#include "model/Project.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s JOURNAL_ADDRESS [SEED] [DATA_FOLDER]\n", argv[0]);
        return 2;
    }
    std::string reason;
    const auto address = JournalAddress::parse(argv[1], &reason);
    if (!address) {
        std::fprintf(stderr, "%s\n", reason.c_str());
        return 2;
    }
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 2026u;
    const std::string data = argc > 3 ? argv[3] : Catalog::executableFolder();
    Catalog catalog(data, makeAllSystems);
    // The order numbers start in a folder of their own, not the program's.
    const std::filesystem::path numbers =
        std::filesystem::temp_directory_path() / ("tavrolab-month-" + std::to_string(seed));
    std::filesystem::create_directories(numbers / "config");
    std::mt19937 random(seed);
    try {
        Journal journal(*address);
        for (int i = 0; i < monthoforders::kOrders; ++i) {
            Project project(catalog);
            monthoforders::makeOrder(project, random);
            const int64_t n =
                orderplacing::place(journal, project, OrderNumberFile(numbers, {}), "Продавец");
            std::printf("%lld\n", static_cast<long long>(n));
        }
    } catch (const JournalError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 5;
    }
    std::filesystem::remove_all(numbers);
    return 0;
}
