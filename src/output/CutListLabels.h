#pragma once

#include "output/ProductionLabel.h"

#include <vector>

class CutListPlan;

// The labels of a cut list: one per cut piece, bar by bar and sheet by sheet as they are cut
// (its name, the material and the size), then one per offcut the plan keeps: a bar's rest of at
// least the minimum offcut, a sheet's free rectangle with both sides at least that long.
std::vector<ProductionLabel> cutListLabels(const CutListPlan& plan);
