#include "plan/CutListPlan.h"

#include "plan/SheetStockPlanner.h"

#include <algorithm>
#include <map>

namespace {

// The pieces of one material and kind, each as many times as its count, in the list's order.
struct Group {
    std::string material;
    bool sheets = false;
    std::vector<const CutListPiece*> pieces;
};

std::vector<Group> groups(const CutList& list) {
    std::vector<Group> out;
    std::map<std::pair<std::string, bool>, size_t> index;
    for (const CutListPiece& p : list.pieces) {
        auto [it, added] =
            index.emplace(std::make_pair(CutList::materialKey(p.material), !p.isBar()), out.size());
        if (added)
            out.push_back({p.material, !p.isBar(), {}});
        for (int k = 0; k < p.count; ++k)
            out[it->second].pieces.push_back(&p);
    }
    std::erase_if(out, [](const Group& g) { return g.pieces.empty(); });
    return out;
}

std::vector<const CutStock*> stockOf(const CutList& list, const Group& g) {
    std::vector<const CutStock*> out;
    const std::string key = CutList::materialKey(g.material);
    for (const CutStock& s : list.stock)
        if (CutList::materialKey(s.material) == key && s.isBar() != g.sheets)
            out.push_back(&s);
    return out;
}

bool stopped(const CutListControl& control) {
    return control.stop != nullptr && control.stop->load();
}

void planBars(CutListPlan& plan, const CutList& list, const Group& g,
              const CutListControl& control) {
    ArticleCut cut;
    cut.code = g.material;
    for (size_t i = 0; i < g.pieces.size(); ++i) {
        cut.pieces.push_back({g.pieces[i]->length, -1, static_cast<int32_t>(i) + 1});
        cut.names.push_back(g.pieces[i]->name);
    }
    for (const CutStock* s : stockOf(list, g))
        cut.stock.push_back({s->length, static_cast<int32_t>(s->price), s->count, s->isOffcut()});
    BarPlanner::Options options;
    options.kerf = list.settings.plan.kerf;
    options.trim = list.settings.plan.trim;
    options.timeLimitMs = list.settings.secondsPerMaterial * 1000.0;
    options.stop = control.stop;
    cut.plan = BarPlanner::plan(cut.pieces, cut.stock, options);
    plan.totals.push_back({g.material, false, cut.plan.newBars, cut.plan.offcutsUsed, cut.plan.cost,
                           cut.plan.lowerBound, cut.plan.proven, cut.plan.millis,
                           static_cast<int>(cut.plan.unplaced.size()),
                           !cut.plan.proven && stopped(control)});
    plan.cuts.articles.push_back(std::move(cut));
}

void planSheets(CutListPlan& plan, const CutList& list, const Group& g,
                const CutListControl& control) {
    std::vector<SheetPlanPiece> pieces;
    bool rotation = false;
    for (size_t i = 0; i < g.pieces.size(); ++i) {
        const CutListPiece& p = *g.pieces[i];
        pieces.push_back({p.width, p.length, -1, static_cast<int32_t>(i) + 1, p.canRotate});
        rotation = rotation || p.canRotate;
    }
    std::vector<SheetStock> stock;
    for (const CutStock* s : stockOf(list, g))
        stock.push_back({s->width, s->length, s->price, s->count, s->isOffcut()});
    const int32_t kerf = list.settings.plan.kerf;
    const SheetStockPlan result = SheetStockPlanner::plan(
        pieces, stock, kerf, list.settings.secondsPerMaterial * 1000.0, control.stop);

    const size_t first = plan.cuts.materials.size();
    for (const SheetStockPart& part : result.parts) {
        const SheetStock& st = stock[static_cast<size_t>(part.stock)];
        MaterialCut cut;
        cut.code = g.material;
        cut.sheetWidth = st.width;
        cut.sheetHeight = st.height;
        cut.rotation = rotation;
        for (int p : part.pieces) {
            cut.pieces.push_back(pieces[static_cast<size_t>(p)]);
            cut.names.push_back(g.pieces[static_cast<size_t>(p)]->name);
        }
        cut.plan = part.plan;
        cut.firstFit = SheetPlanner::firstFit(cut.pieces, st.width, st.height, kerf);
        plan.cuts.materials.push_back(std::move(cut));
        plan.sources.push_back({st.offcut, st.offcut ? 0 : st.cost});
    }
    if (!result.unplaced.empty()) {
        // The pieces no sheet takes are listed under the material's first size.
        if (plan.cuts.materials.size() == first) {
            MaterialCut none;
            none.code = g.material;
            none.rotation = rotation;
            const auto largest = std::max_element(
                stock.begin(), stock.end(), [](const SheetStock& a, const SheetStock& b) {
                    return int64_t{a.width} * a.height < int64_t{b.width} * b.height;
                });
            none.sheetWidth = largest->width;
            none.sheetHeight = largest->height;
            none.plan.sheetWidth = none.sheetWidth;
            none.plan.sheetHeight = none.sheetHeight;
            plan.cuts.materials.push_back(std::move(none));
            plan.sources.push_back({});
        }
        MaterialCut& cut = plan.cuts.materials[first];
        for (int p : result.unplaced) {
            cut.plan.unplaced.push_back(static_cast<int>(cut.pieces.size()));
            cut.pieces.push_back(pieces[static_cast<size_t>(p)]);
            cut.names.push_back(g.pieces[static_cast<size_t>(p)]->name);
        }
    }
    plan.totals.push_back({g.material, true, result.newSheets, result.offcutSheets, result.cost,
                           result.lowerBound, result.proven, result.millis,
                           static_cast<int>(result.unplaced.size()),
                           !result.proven && stopped(control)});
}

} // namespace

CutListPlan CutListPlan::build(const CutList& list, const CutListControl& control) {
    CutListPlan plan;
    plan.cuts.settings = list.settings.plan;
    const std::vector<Group> all = groups(list);
    const int total = static_cast<int>(all.size());
    for (int k = 0; k < total; ++k) {
        const Group& g = all[static_cast<size_t>(k)];
        if (control.progress)
            control.progress(k, total, g.material);
        if (g.sheets)
            planSheets(plan, list, g, control);
        else
            planBars(plan, list, g, control);
    }
    if (control.progress)
        control.progress(total, total, std::string());
    return plan;
}
