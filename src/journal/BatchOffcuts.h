#pragma once

#include "journal/JournalOffcut.h"
#include "plan/BatchPlan.h"

#include <vector>

class OffcutStore;

// Between the offcut store and a batch's plan: what the store offers, and what the plan keeps
// as the store records it.
namespace batchoffcuts {

// The store's offcuts on stock, as a batch may cut them.
std::vector<StoreOffcut> onStock(OffcutStore& store);
// A rest the plan keeps as a new offcut of the store (its id is given when it is recorded).
JournalOffcut recordOf(const KeptOffcut& kept);

} // namespace batchoffcuts
