#include "cli/BatchCommands.h"

#include "calc/SystemFactory.h"
#include "catalog/Catalog.h"
#include "cli/JournalCall.h"
#include "cli/JournalCommands.h"
#include "cli/PdfOutput.h"
#include "journal/BatchOffcuts.h"
#include "journal/BatchOrders.h"
#include "journal/Journal.h"
#include "journal/JournalDates.h"
#include "journal/JournalError.h"
#include "journal/OrderStatus.h"
#include "model/AtomicFile.h"
#include "model/Project.h"
#include "model/SketchFile.h"
#include "output/PlanJson.h"
#include "output/ProductionLabel.h"
#include "plan/BatchPlan.h"
#include "text/Format.h"

#include <nlohmann/json.hpp>

#include <iostream>
#include <memory>
#include <sstream>

namespace journalcli {
namespace {

std::vector<int64_t> orderList(const std::string& typed) {
    std::vector<int64_t> out;
    std::stringstream in(typed);
    std::string part;
    while (std::getline(in, part, ',')) {
        const std::optional<int64_t> n = digitsNumber(part);
        if (!n)
            throw ArgumentError{"номера заказов через запятую: " + typed};
        if (std::find(out.begin(), out.end(), *n) == out.end())
            out.push_back(*n);
    }
    if (out.empty())
        throw ArgumentError{"номера заказов через запятую: " + typed};
    return out;
}

std::optional<int64_t> day(const Command& c, const char* name, bool dayAfter) {
    if (!c.options.count(name))
        return std::nullopt;
    const auto t = journaldates::parseDay(c.option(name), dayAfter);
    if (!t)
        throw ArgumentError{std::string("неверная дата ") + name + ": " + c.option(name)};
    return t;
}

int64_t batchNumber(const std::string& typed) {
    const std::optional<int64_t> n = digitsNumber(typed);
    if (!n)
        throw ArgumentError{"номер партии должен состоять из цифр: " + typed};
    return *n;
}

// The orders the call names, in the order given (or of their numbers).
std::vector<int64_t> chosenOrders(Journal& journal, const Command& c) {
    if (c.options.count("--orders")) {
        std::vector<int64_t> numbers = orderList(c.option("--orders"));
        for (int64_t n : numbers)
            journal.order(n); // an unknown number is refused before anything is planned
        return numbers;
    }
    OrderFilter f;
    f.from = day(c, "--from", false);
    f.to = day(c, "--to", true);
    f.status = c.option("--status");
    f.descending = false;
    std::vector<int64_t> numbers;
    for (const JournalOrder& o : journal.list(f))
        numbers.push_back(o.number);
    return numbers;
}

// The batch's orders read from the journal, each with its project (which the pack prints).
struct Planned {
    std::vector<batchorders::Source> sources;
    std::vector<pdfoutput::BatchPackOrder> orders;
    BatchPlan plan;
};

Planned planned(Journal& journal, Catalog& catalog, const std::vector<int64_t>& numbers) {
    Planned out;
    out.sources = batchorders::read(journal, catalog, numbers);
    for (const batchorders::Source& s : out.sources)
        out.orders.push_back({s.number, s.customer, s.project.get()});
    OffcutStore store = journal.offcuts();
    out.plan = batchorders::plan(out.sources, batchoffcuts::onStock(store), PlanSettings{});
    return out;
}

void printSummary(const BatchPlan& p, size_t orders) {
    int fromStore = 0;
    for (const ArticleCut& a : p.cuts.articles)
        fromStore += a.plan.offcutsUsed;
    std::cout << "Заказов: " << orders << '\n'
              << "Новых хлыстов: " << p.newBars() << " (по заказам отдельно: " << p.ownBars
              << "), из остатков: " << fromStore << '\n'
              << "Новых листов: "
              << text::format("%.3f", static_cast<double>(p.newSheetArea()) / 1e8)
              << " м² (по заказам отдельно: "
              << text::format("%.3f", static_cast<double>(p.ownSheetArea) / 1e8) << " м²)\n"
              << "Остатков в дело: " << p.usedOffcuts.size() << ", на склад: " << p.kept.size()
              << '\n';
}

// The batch's own record: its state and orders, its plan as it was started, its pack printed
// again with the ids its offcuts got.
int show(Journal& journal, const Command& c, const std::string& dataFolder) {
    const BatchRecord b = journal.batches().get(batchNumber(c.words[2]));
    const nlohmann::json planned = nlohmann::json::parse(b.planJson);
    if (c.options.count("--plan")) {
        const std::string text =
            planned.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
        std::string reason;
        if (c.option("--plan") == "-")
            std::cout << text;
        else if (!fileio::writeFileAtomically(c.option("--plan"), text, &reason)) {
            std::cerr << fileio::saveErrorMessage(c.option("--plan"), reason) << '\n';
            return kExitSave;
        }
    }
    if (c.options.count("--pack")) {
        Catalog catalog(dataFolder, makeAllSystems);
        const std::vector<batchorders::Source> sources =
            batchorders::read(journal, catalog, b.orders);
        std::vector<pdfoutput::BatchPackOrder> orders;
        for (const batchorders::Source& s : sources)
            orders.push_back({s.number, s.customer, s.project.get()});
        const std::string title = "Партия № " + std::to_string(b.id);
        std::vector<ProductionLabel> labels;
        for (const JournalOffcut& o : journal.batches().kept(b.id))
            labels.push_back(batchoffcuts::labelOf(o, title));
        const std::string error = pdfoutput::writeBatchPack(c.option("--pack"), title, orders,
                                                            planFromJson(planned), labels);
        if (!error.empty()) {
            std::cerr << "tavrolab-cli: " << error << '\n';
            return kExitSave;
        }
    }
    if (c.option("--plan") == "-")
        return kExitOk;
    std::cout << "Партия " << b.id << " (" << b.state << ")\n"
              << "Создана: "
              << journaldates::shownTime(b.createdAt, journaldates::utcOffsetAt(b.createdAt))
              << ", " << b.createdBy << '\n'
              << "Заказы:";
    for (int64_t n : b.orders)
        std::cout << ' ' << n;
    std::cout << '\n';
    return kExitOk;
}

int cancel(Journal& journal, const Command& c, const std::string& by) {
    const int64_t id = batchNumber(c.words[2]);
    journal.batches().cancel(id, by);
    std::cout << "Партия " << id << " отменена\n";
    return kExitOk;
}

} // namespace

void checkBatchCommand(const Command& c) {
    if (c.words.size() == 3 && c.words[1] == "cancel") {
        allowOptions(c, {}, false);
        batchNumber(c.words[2]);
        return;
    }
    if (c.words.size() == 3 && c.words[1] == "show") {
        allowOptions(c, {"--plan", "--pack"}, false);
        batchNumber(c.words[2]);
        if (c.options.count("--pack")) {
            if (const std::string error = pdfoutput::usageError(std::nullopt); !error.empty())
                throw ArgumentError{error};
            pdfoutput::prepareDrawing();
        }
        return;
    }
    expectWords(c, 1,
                "batch (--orders N,N,... | --from ДЕНЬ --to ДЕНЬ [--status С]) [--plan OUT.json|-] "
                "[--pack OUT.pdf] [--commit], batch show N [--plan OUT.json|-] [--pack OUT.pdf] "
                "или batch cancel N");
    allowOptions(c, {"--orders", "--from", "--to", "--status", "--plan", "--pack", "--commit"},
                 false);
    if (c.options.count("--pack")) {
        if (const std::string error = pdfoutput::usageError(std::nullopt); !error.empty())
            throw ArgumentError{error};
        pdfoutput::prepareDrawing();
    }
    const bool listed = c.options.count("--orders") > 0;
    const bool period = c.options.count("--from") || c.options.count("--to");
    if (listed == period)
        throw ArgumentError{"укажите заказы партии: --orders N,N,... или --from и --to"};
    if (listed && c.options.count("--status"))
        throw ArgumentError{"--status относится к выбору заказов по периоду"};
    if (listed)
        orderList(c.option("--orders"));
    day(c, "--from", false);
    day(c, "--to", true);
    if (c.options.count("--status") && !orderstatus::isKnown(c.option("--status")))
        throw ArgumentError{"неизвестное состояние заказа: " + c.option("--status")};
}

int runBatchCommand(Journal& journal, const Command& c, const std::string& dataFolder,
                    const std::string& by) {
    if (c.words.size() == 3 && c.words[1] == "show")
        return show(journal, c, dataFolder);
    if (c.words.size() == 3)
        return cancel(journal, c, by);
    const std::vector<int64_t> numbers = chosenOrders(journal, c);
    if (numbers.empty()) {
        std::cerr << "tavrolab-cli: нет заказов для партии\n";
        return kExitNoOrder;
    }
    Catalog catalog(dataFolder, makeAllSystems);
    Planned batch = planned(journal, catalog, numbers);
    const bool commit = c.options.count("--commit") > 0;
    int64_t id = 0;
    // Another seat may take an offcut of the plan before it is started: then the batch is
    // planned again on what the store holds now, and started with that plan.
    for (int attempt = 0; commit && id == 0; ++attempt) {
        try {
            id = journal.batches().start(batchorders::startOf(numbers, batch.plan), by);
        } catch (const JournalError& e) {
            if (e.kind() != JournalError::Conflict || attempt >= 2)
                throw;
            std::cerr << "tavrolab-cli: " << e.what() << "; партия рассчитана заново\n";
            batch = planned(journal, catalog, numbers);
        }
    }
    if (c.options.count("--plan")) {
        const std::string text =
            planJson(batch.plan.cuts)
                .dump(2, ' ', false, nlohmann::json::error_handler_t::replace) +
            "\n";
        const std::string path = c.option("--plan");
        std::string reason;
        if (path == "-")
            std::cout << text;
        else if (!fileio::writeFileAtomically(path, text, &reason)) {
            std::cerr << fileio::saveErrorMessage(path, reason) << '\n';
            return kExitSave;
        }
    }
    if (c.options.count("--pack")) {
        const std::string title = id != 0 ? "Партия № " + std::to_string(id) : "Партия (расчет)";
        std::vector<ProductionLabel> labels;
        if (id != 0) {
            for (const JournalOffcut& o : journal.batches().kept(id))
                labels.push_back(batchoffcuts::labelOf(o, title));
        } else {
            for (const KeptOffcut& k : batch.plan.kept)
                labels.push_back(batchoffcuts::labelOf(batchoffcuts::recordOf(k), title));
        }
        const std::string error = pdfoutput::writeBatchPack(c.option("--pack"), title, batch.orders,
                                                            batch.plan.cuts, labels);
        if (!error.empty()) {
            std::cerr << "tavrolab-cli: " << error << '\n';
            return kExitSave;
        }
    }
    if (c.option("--plan") != "-")
        printSummary(batch.plan, numbers.size());
    if (commit)
        std::cout << id << '\n';
    return kExitOk;
}

} // namespace journalcli
