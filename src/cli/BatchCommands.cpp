#include "cli/BatchCommands.h"

#include "calc/RowFormat.h"
#include "calc/SystemFactory.h"
#include "catalog/Catalog.h"
#include "cli/JournalCall.h"
#include "cli/JournalCommands.h"
#include "cli/PdfOutput.h"
#include "cli/PlanJson.h"
#include "journal/BatchOffcuts.h"
#include "journal/Journal.h"
#include "journal/JournalDates.h"
#include "journal/JournalError.h"
#include "journal/OrderStatus.h"
#include "model/AtomicFile.h"
#include "model/Project.h"
#include "model/SketchFile.h"
#include "output/ProductionLabel.h"
#include "plan/BatchPlan.h"
#include "plan/OffcutStock.h"
#include "text/Format.h"

#include <nlohmann/json.hpp>

#include <iostream>
#include <memory>
#include <sstream>

namespace journalcli {
namespace {

// The batch's planners get a second for each article and material.
constexpr double kSecondsPerPlan = 1.0;

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
    std::vector<std::unique_ptr<Project>> projects;
    std::vector<pdfoutput::BatchPackOrder> orders;
    BatchPlan plan;
};

Planned planned(Journal& journal, Catalog& catalog, const std::vector<int64_t>& numbers) {
    Planned out;
    std::vector<BatchOrder> orders;
    const PlanSettings settings;
    for (int64_t n : numbers) {
        const JournalDocuments d = journal.documents(n);
        auto project = std::make_unique<Project>(catalog);
        if (SketchFile::fromBytes(*project, d.sketch) != SketchFile::ReadOk)
            throw JournalError(JournalError::Failed,
                               "Эскиз заказа " + std::to_string(n) + " в журнале не читается");
        BatchOrder o;
        o.number = n;
        o.colour = project->color != nullptr ? project->color->code : std::string();
        o.plan = CuttingPlan::build(*project, settings, OffcutStock{});
        orders.push_back(std::move(o));
        out.orders.push_back({n, journal.order(n).customer, project.get()});
        out.projects.push_back(std::move(project));
    }
    OffcutStore store = journal.offcuts();
    out.plan =
        BatchPlan::build(orders, batchoffcuts::onStock(store), settings, kSecondsPerPlan * 1000.0);
    return out;
}

// The label of an offcut the batch keeps: with its store id once the batch is started (the QR
// code then holds the id alone), else marked to be kept.
ProductionLabel keptLabel(const JournalOffcut& o, const std::string& batch) {
    ProductionLabel l;
    l.kind = ProductionLabel::Kind::Offcut;
    l.lines.push_back(o.id != 0 ? "Остаток " + OffcutStore::idText(o.id) : "Остаток (сохранить)");
    if (o.sheet) {
        l.lines.push_back(o.materialGroup + " " + o.material);
        l.lines.push_back(rowformat::wholeOrTenths(o.width) + " x " +
                          rowformat::wholeOrTenths(o.height) + " мм");
    } else {
        l.lines.push_back(o.article + " " + o.color);
        l.lines.push_back(rowformat::wholeOrTenths(o.length) + " мм");
    }
    l.lines.push_back(batch);
    if (o.id != 0)
        l.qr = OffcutStore::idText(o.id);
    return l;
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
        std::vector<std::unique_ptr<Project>> projects;
        std::vector<pdfoutput::BatchPackOrder> orders;
        for (int64_t n : b.orders) {
            auto project = std::make_unique<Project>(catalog);
            if (SketchFile::fromBytes(*project, journal.documents(n).sketch) != SketchFile::ReadOk)
                throw JournalError(JournalError::Failed,
                                   "Эскиз заказа " + std::to_string(n) + " в журнале не читается");
            orders.push_back({n, journal.order(n).customer, project.get()});
            projects.push_back(std::move(project));
        }
        const std::string title = "Партия № " + std::to_string(b.id);
        std::vector<ProductionLabel> labels;
        for (const JournalOffcut& o : journal.batches().kept(b.id))
            labels.push_back(keptLabel(o, title));
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
        BatchStart start;
        start.orders = numbers;
        start.planJson = planJson(batch.plan.cuts).dump();
        start.usedOffcuts = batch.plan.usedOffcuts;
        for (const KeptOffcut& k : batch.plan.kept)
            start.kept.push_back(batchoffcuts::recordOf(k));
        try {
            id = journal.batches().start(start, by);
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
                labels.push_back(keptLabel(o, title));
        } else {
            for (const KeptOffcut& k : batch.plan.kept)
                labels.push_back(keptLabel(batchoffcuts::recordOf(k), title));
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
