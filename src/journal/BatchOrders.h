#pragma once

#include "journal/BatchStore.h"
#include "journal/JournalAddress.h"
#include "model/Project.h"
#include "plan/BatchPlan.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Catalog;
class CuttingPlan;
class Journal;

// The orders of a batch as the journal keeps them, and the batch's plan made from them: the
// command line and the workshop window plan a batch the same way.
namespace batchorders {

// A batch's planners get a second for each article and material.
inline constexpr double kMsPerPlan = 1000.0;
// An order's own plan asks the store with a shorter limit: the page is redrawn on every change.
inline constexpr double kMsPerStoreCount = 200.0;

struct Source {
    int64_t number = 0;
    std::string customer;
    std::unique_ptr<Project> project;
};

// Every order's sketch read from the journal with the catalog; throws JournalError for an
// unknown order or a sketch that cannot be read.
std::vector<Source> read(Journal& journal, Catalog& catalog, const std::vector<int64_t>& numbers);

// The plan of the orders on the store's offcuts, with the settings. Reads nothing from the
// journal, so it may run on a thread of its own.
BatchPlan plan(const std::vector<Source>& orders, const std::vector<StoreOffcut>& store,
               const PlanSettings& settings, double msPerPlan = kMsPerPlan);

// What the batch start records: the orders, the plan as JSON, the offcuts used and kept.
BatchStart startOf(const std::vector<int64_t>& numbers, const BatchPlan& plan);

// Whether the journal at the address has a store to ask without creating anything: a journal
// file not made yet has none.
bool hasStore(const JournalAddress& address);

// Tells each article and material of an order's own plan how many of the store's offcuts on
// stock (read with batchoffcuts::onStock) a plan would cut (fromStore), taking nothing.
void countFromStore(CuttingPlan& plan, const Project& project,
                    const std::vector<StoreOffcut>& onStock);

} // namespace batchorders
