#pragma once

#include <nlohmann/json.hpp>

class CuttingPlan;

// The cutting plans as JSON: lengths and positions in millimetres, costs in roubles, doors
// numbered from 1.
nlohmann::json planJson(const CuttingPlan& plan);
