#pragma once

#include "journal/JournalOffcut.h"
#include "output/ProductionLabel.h"
#include "plan/BatchPlan.h"

#include <string>

#include <vector>

class OffcutStore;

// Between the offcut store and a batch's plan: what the store offers, and what the plan keeps
// as the store records it.
namespace batchoffcuts {

// The store's offcuts on stock, as a batch may cut them.
std::vector<StoreOffcut> onStock(OffcutStore& store);
// A rest the plan keeps as a new offcut of the store (its id is given when it is recorded).
JournalOffcut recordOf(const KeptOffcut& kept);
// The label of a kept offcut: with its store id once it is recorded (the QR code then holds the
// id alone), else marked to be kept; source names where it came from ("Партия № 3").
ProductionLabel labelOf(const JournalOffcut& offcut, const std::string& source);

} // namespace batchoffcuts
