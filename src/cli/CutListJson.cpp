#include "cli/CutListJson.h"

#include "output/PlanJson.h"
#include "plan/CutListPlan.h"

using nlohmann::json;

namespace {

double roubles(int64_t kopecks) {
    return static_cast<double>(kopecks) / 100.0;
}

} // namespace

json cutListJson(const CutListPlan& plan) {
    json j = planJson(plan.cuts);
    // Each sheet says where it comes from; the order's plan has them all new and unpriced.
    size_t sheet = 0;
    for (size_t m = 0; m < plan.cuts.materials.size(); ++m) {
        for (size_t k = 0; k < plan.cuts.materials[m].plan.sheets.size(); ++k, ++sheet) {
            j["sheets"][sheet]["fromOffcut"] = plan.sources[m].offcut;
            j["sheets"][sheet]["cost"] = roubles(plan.sources[m].cost);
        }
    }
    // One entry per sheet material, its sizes listed.
    const json perSize = j["materials"];
    json materials = json::array();
    for (const CutListTotal& t : plan.totals) {
        if (!t.sheets)
            continue;
        json sizes = json::array();
        json unplaced = json::array();
        bool rotation = false;
        for (const json& m : perSize) {
            if (m["code"] != t.material)
                continue;
            rotation = rotation || m["rotation"].get<bool>();
            for (const json& u : m["unplaced"])
                unplaced.push_back(u);
        }
        for (const MaterialCut& m : plan.cuts.materials) {
            if (m.code == t.material && !m.plan.sheets.empty())
                sizes.push_back({{"width", m.sheetWidth / 10.0},
                                 {"height", m.sheetHeight / 10.0},
                                 {"sheets", m.plan.sheets.size()}});
        }
        materials.push_back({{"code", t.material},
                             {"rotation", rotation},
                             {"sheets", t.newCount + t.offcutsUsed},
                             {"newSheets", t.newCount},
                             {"offcutsUsed", t.offcutsUsed},
                             {"cost", roubles(t.cost)},
                             {"lowerBound", t.lowerBound},
                             {"proven", t.proven},
                             {"millis", t.millis},
                             {"sizes", sizes},
                             {"unplaced", unplaced}});
    }
    j["materials"] = materials;
    return j;
}
