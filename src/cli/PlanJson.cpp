#include "cli/PlanJson.h"

#include "plan/CuttingPlan.h"

using nlohmann::json;

namespace {

double mm(int64_t tenths) {
    return static_cast<double>(tenths) / 10.0;
}

double roubles(int64_t kopecks) {
    return static_cast<double>(kopecks) / 100.0;
}

// A piece's mark: its name when the pieces are named, else its number on the door.
std::string mark(const std::vector<std::string>& names, int piece, int32_t number) {
    const auto i = static_cast<size_t>(piece);
    return i < names.size() ? names[i] : std::to_string(number);
}

// A piece of a plan that covers several orders names its order too.
json withOrder(json piece, const std::vector<int64_t>& orders, int index) {
    const auto i = static_cast<size_t>(index);
    if (i < orders.size())
        piece["order"] = orders[i];
    return piece;
}

json rect(const SheetRect& r) {
    return {{"x", mm(r.x)}, {"y", mm(r.y)}, {"width", mm(r.width)}, {"height", mm(r.height)}};
}

} // namespace

json planJson(const CuttingPlan& plan) {
    const PlanSettings& s = plan.settings;
    json j;
    j["kerf"] = mm(s.kerf);
    j["trim"] = mm(s.trim);
    j["minOffcut"] = mm(s.minOffcut);

    json bars = json::array();
    json articles = json::array();
    for (const ArticleCut& a : plan.articles) {
        for (const PlannedBar& b : a.plan.bars) {
            json pieces = json::array();
            for (int p : b.pieces) {
                const BarPlanPiece& piece = a.pieces[static_cast<size_t>(p)];
                pieces.push_back(withOrder({{"length", mm(piece.length)},
                                            {"door", piece.doorIndex + 1},
                                            {"mark", mark(a.names, p, piece.mark)}},
                                           a.orders, p));
            }
            bars.push_back({{"code", a.code},
                            {"stockLength", mm(b.length)},
                            {"fromOffcut", b.fromOffcut},
                            {"cost", roubles(b.cost)},
                            {"pieces", pieces},
                            {"offcut", mm(b.offcut)},
                            {"keep", s.keepsOffcut(b.offcut)}});
        }
        json unplaced = json::array();
        for (int p : a.plan.unplaced) {
            const BarPlanPiece& piece = a.pieces[static_cast<size_t>(p)];
            unplaced.push_back(withOrder({{"length", mm(piece.length)},
                                          {"door", piece.doorIndex + 1},
                                          {"mark", mark(a.names, p, piece.mark)}},
                                         a.orders, p));
        }
        json kept = json::array();
        for (int32_t k : plan.keptOffcuts(a))
            kept.push_back(mm(k));
        articles.push_back({{"code", a.code},
                            {"name", a.name},
                            {"billBars", a.billBars},
                            {"planBars", a.plan.newBars},
                            {"offcutsUsed", a.plan.offcutsUsed},
                            {"lowerBound", a.plan.lowerBound},
                            {"billCost", roubles(a.billCost)},
                            {"planCost", roubles(a.plan.cost)},
                            {"costLowerBound", roubles(a.plan.costLowerBound)},
                            {"proven", a.plan.proven},
                            {"millis", a.plan.millis},
                            {"keptOffcuts", kept},
                            {"unplaced", unplaced}});
    }
    j["bars"] = bars;

    json sheets = json::array();
    json materials = json::array();
    for (const MaterialCut& m : plan.materials) {
        const double sheetArea = static_cast<double>(m.sheetWidth) * m.sheetHeight;
        for (const PlannedSheet& sheet : m.plan.sheets) {
            json pieces = json::array();
            for (const PlacedPiece& p : sheet.pieces) {
                const SheetPlanPiece& piece = m.pieces[static_cast<size_t>(p.piece)];
                pieces.push_back(withOrder({{"x", mm(p.x)},
                                            {"y", mm(p.y)},
                                            {"width", mm(p.width)},
                                            {"height", mm(p.height)},
                                            {"door", piece.doorIndex + 1},
                                            {"mark", mark(m.names, p.piece, piece.mark)},
                                            {"rotated", p.rotated}},
                                           m.orders, p.piece));
            }
            json offcuts = json::array();
            for (const SheetRect& r : sheet.offcuts)
                offcuts.push_back(rect(r));
            sheets.push_back({{"code", m.code},
                              {"width", mm(m.sheetWidth)},
                              {"height", mm(m.sheetHeight)},
                              {"usage", sheetArea > 0 ? sheet.usedArea / sheetArea : 0.0},
                              {"pieces", pieces},
                              {"offcuts", offcuts}});
        }
        json unplaced = json::array();
        for (int p : m.plan.unplaced) {
            const SheetPlanPiece& piece = m.pieces[static_cast<size_t>(p)];
            unplaced.push_back(withOrder({{"width", mm(piece.width)},
                                          {"height", mm(piece.height)},
                                          {"door", piece.doorIndex + 1},
                                          {"mark", mark(m.names, p, piece.mark)}},
                                         m.orders, p));
        }
        materials.push_back({{"code", m.code},
                             {"name", m.name},
                             {"group", m.group},
                             {"rotation", m.rotation},
                             {"sheets", m.plan.sheets.size()},
                             {"firstFitSheets", m.firstFit.sheets.size()},
                             {"lowerBound", m.plan.lowerBound},
                             {"millis", m.plan.millis},
                             {"unplaced", unplaced}});
    }
    j["sheets"] = sheets;
    j["articles"] = articles;
    j["materials"] = materials;
    return j;
}
