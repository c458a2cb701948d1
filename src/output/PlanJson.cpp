#include "output/PlanJson.h"

#include "plan/CuttingPlan.h"

#include <algorithm>
#include <cmath>

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
        if (a.fromStore >= 0)
            articles.back()["fromStore"] = a.fromStore;
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
                             {"sheetWidth", mm(m.sheetWidth)},
                             {"sheetHeight", mm(m.sheetHeight)},
                             {"sheets", m.plan.sheets.size()},
                             {"firstFitSheets", m.firstFit.sheets.size()},
                             {"lowerBound", m.plan.lowerBound},
                             {"millis", m.plan.millis},
                             {"unplaced", unplaced}});
        if (m.fromStore >= 0)
            materials.back()["fromStore"] = m.fromStore;
    }
    j["sheets"] = sheets;
    j["articles"] = articles;
    j["materials"] = materials;
    return j;
}

namespace {

int32_t tenths(const json& v) {
    return static_cast<int32_t>(std::lround(v.get<double>() * 10.0));
}

int64_t kopecks(const json& v) {
    return std::llround(v.get<double>() * 100.0);
}

// A piece read back: its name is the mark the JSON gave, its order where it names one.
template <typename Cut>
void addName(Cut& cut, const json& piece) {
    cut.names.push_back(piece.at("mark").get<std::string>());
    if (piece.contains("order"))
        cut.orders.push_back(piece["order"].get<int64_t>());
}

} // namespace

CuttingPlan planFromJson(const json& j) {
    CuttingPlan plan;
    plan.settings.kerf = tenths(j.at("kerf"));
    plan.settings.trim = tenths(j.at("trim"));
    plan.settings.minOffcut = tenths(j.at("minOffcut"));
    const json& bars = j.at("bars");
    size_t nextBar = 0;
    for (const json& a : j.at("articles")) {
        ArticleCut cut;
        cut.code = a.at("code").get<std::string>();
        cut.name = a.at("name").get<std::string>();
        cut.billBars = a.at("billBars").get<int>();
        cut.billCost = kopecks(a.at("billCost"));
        BarPlan& p = cut.plan;
        p.newBars = a.at("planBars").get<int>();
        p.offcutsUsed = a.at("offcutsUsed").get<int>();
        p.lowerBound = a.at("lowerBound").get<int>();
        p.cost = kopecks(a.at("planCost"));
        p.costLowerBound = kopecks(a.at("costLowerBound"));
        p.proven = a.at("proven").get<bool>();
        p.millis = a.at("millis").get<double>();
        for (int k = 0; k < p.newBars + p.offcutsUsed; ++k) {
            const json& b = bars.at(nextBar++);
            PlannedBar bar;
            bar.length = tenths(b.at("stockLength"));
            bar.fromOffcut = b.at("fromOffcut").get<bool>();
            bar.cost = static_cast<int32_t>(kopecks(b.at("cost")));
            bar.offcut = tenths(b.at("offcut"));
            const auto stock =
                std::find_if(cut.stock.begin(), cut.stock.end(), [&](const BarStock& s) {
                    return s.length == bar.length && s.offcut == bar.fromOffcut;
                });
            bar.stock = static_cast<int>(stock - cut.stock.begin());
            if (stock == cut.stock.end())
                cut.stock.push_back({bar.length, bar.cost, -1, bar.fromOffcut});
            for (const json& piece : b.at("pieces")) {
                bar.pieces.push_back(static_cast<int>(cut.pieces.size()));
                cut.pieces.push_back({tenths(piece.at("length")), piece.at("door").get<int>() - 1,
                                      static_cast<int32_t>(cut.pieces.size()) + 1});
                addName(cut, piece);
            }
            p.bars.push_back(std::move(bar));
        }
        for (const json& piece : a.at("unplaced")) {
            p.unplaced.push_back(static_cast<int>(cut.pieces.size()));
            cut.pieces.push_back({tenths(piece.at("length")), piece.at("door").get<int>() - 1,
                                  static_cast<int32_t>(cut.pieces.size()) + 1});
            addName(cut, piece);
        }
        plan.articles.push_back(std::move(cut));
    }
    const json& sheets = j.at("sheets");
    size_t nextSheet = 0;
    for (const json& m : j.at("materials")) {
        MaterialCut cut;
        cut.code = m.at("code").get<std::string>();
        cut.name = m.at("name").get<std::string>();
        cut.group = m.at("group").get<std::string>();
        cut.rotation = m.at("rotation").get<bool>();
        if (m.contains("sheetWidth")) {
            cut.sheetWidth = tenths(m["sheetWidth"]);
            cut.sheetHeight = tenths(m["sheetHeight"]);
        }
        cut.plan.lowerBound = m.at("lowerBound").get<int>();
        cut.plan.millis = m.at("millis").get<double>();
        const size_t count = m.at("sheets").get<size_t>();
        for (size_t k = 0; k < count; ++k) {
            const json& s = sheets.at(nextSheet++);
            cut.sheetWidth = tenths(s.at("width"));
            cut.sheetHeight = tenths(s.at("height"));
            PlannedSheet sheet;
            for (const json& piece : s.at("pieces")) {
                PlacedPiece placed;
                placed.piece = static_cast<int>(cut.pieces.size());
                placed.x = tenths(piece.at("x"));
                placed.y = tenths(piece.at("y"));
                placed.width = tenths(piece.at("width"));
                placed.height = tenths(piece.at("height"));
                placed.rotated = piece.at("rotated").get<bool>();
                // The piece's own size is the placed one, turned back when it was turned.
                const int32_t w = placed.rotated ? placed.height : placed.width;
                const int32_t h = placed.rotated ? placed.width : placed.height;
                cut.pieces.push_back({w, h, piece.at("door").get<int>() - 1,
                                      static_cast<int32_t>(cut.pieces.size()) + 1, cut.rotation});
                addName(cut, piece);
                sheet.usedArea += int64_t{placed.width} * placed.height;
                sheet.pieces.push_back(placed);
            }
            for (const json& r : s.at("offcuts"))
                sheet.offcuts.push_back({tenths(r.at("x")), tenths(r.at("y")),
                                         tenths(r.at("width")), tenths(r.at("height"))});
            cut.plan.sheets.push_back(std::move(sheet));
        }
        for (const json& piece : m.at("unplaced")) {
            cut.plan.unplaced.push_back(static_cast<int>(cut.pieces.size()));
            cut.pieces.push_back({tenths(piece.at("width")), tenths(piece.at("height")),
                                  piece.at("door").get<int>() - 1,
                                  static_cast<int32_t>(cut.pieces.size()) + 1, cut.rotation});
            addName(cut, piece);
        }
        cut.plan.sheetWidth = cut.sheetWidth;
        cut.plan.sheetHeight = cut.sheetHeight;
        cut.plan.proven = static_cast<int>(cut.plan.sheets.size()) == cut.plan.lowerBound;
        cut.firstFit = cut.plan;
        plan.materials.push_back(std::move(cut));
    }
    return plan;
}
