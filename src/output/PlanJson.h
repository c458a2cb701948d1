#pragma once

#include <nlohmann/json.hpp>

class CuttingPlan;

// The cutting plans as JSON: lengths and positions in millimetres, costs in roubles, doors
// numbered from 1.
nlohmann::json planJson(const CuttingPlan& plan);

// The plans read back from that JSON, as far as they are drawn and printed: every bar and sheet
// with its pieces (named by their marks, with their orders where the JSON names them), the
// offcuts and the totals. Pieces are numbered in the order the bars and sheets hold them. Throws
// nlohmann::json::exception on JSON of another shape.
CuttingPlan planFromJson(const nlohmann::json& j);
