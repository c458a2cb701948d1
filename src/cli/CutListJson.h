#pragma once

#include <nlohmann/json.hpp>

class CutListPlan;

// The plan of a cut list in the JSON of an order's plan: "articles" and "bars" for the bar
// materials, "materials" (one per material, whatever sheet sizes it is cut from) and "sheets" for
// the sheet materials; "code" is the material, "mark" the piece's name.
nlohmann::json cutListJson(const CutListPlan& plan);
