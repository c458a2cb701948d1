#include "journal/BatchOrders.h"

#include "catalog/Catalog.h"
#include "journal/BatchOffcuts.h"
#include "journal/BatchStore.h"
#include "journal/Journal.h"
#include "journal/JournalError.h"
#include "model/Project.h"
#include "model/SketchFile.h"
#include "output/PlanJson.h"
#include "plan/OffcutStock.h"

#include <filesystem>
#include <system_error>

namespace batchorders {
namespace {

std::string colourOf(const Project& project) {
    return project.color != nullptr ? project.color->code : std::string();
}

} // namespace

std::vector<Source> read(Journal& journal, Catalog& catalog, const std::vector<int64_t>& numbers) {
    std::vector<Source> out;
    for (int64_t n : numbers) {
        Source s;
        s.number = n;
        s.customer = journal.order(n).customer;
        s.project = std::make_unique<Project>(catalog);
        if (SketchFile::fromBytes(*s.project, journal.documents(n).sketch) != SketchFile::ReadOk)
            throw JournalError(JournalError::Failed,
                               "Эскиз заказа " + std::to_string(n) + " в журнале не читается");
        out.push_back(std::move(s));
    }
    return out;
}

BatchPlan plan(const std::vector<Source>& orders, const std::vector<StoreOffcut>& store,
               const PlanSettings& settings, double msPerPlan) {
    std::vector<BatchOrder> planned;
    for (const Source& s : orders) {
        BatchOrder o;
        o.number = s.number;
        o.colour = colourOf(*s.project);
        o.plan = CuttingPlan::build(*s.project, settings, OffcutStock{});
        planned.push_back(std::move(o));
    }
    return BatchPlan::build(planned, store, settings, msPerPlan);
}

BatchStart startOf(const std::vector<int64_t>& numbers, const BatchPlan& plan) {
    BatchStart start;
    start.orders = numbers;
    start.planJson = planJson(plan.cuts).dump();
    start.usedOffcuts = plan.usedOffcuts;
    for (const KeptOffcut& k : plan.kept)
        start.kept.push_back(batchoffcuts::recordOf(k));
    return start;
}

bool hasStore(const JournalAddress& address) {
    std::error_code ec;
    return address.backend != JournalAddress::Backend::Sqlite ||
           std::filesystem::exists(address.file, ec);
}

void countFromStore(CuttingPlan& plan, const Project& project,
                    const std::vector<StoreOffcut>& onStock) {
    BatchPlan::countFromStore(plan, colourOf(project), onStock, kMsPerStoreCount);
}

} // namespace batchorders
