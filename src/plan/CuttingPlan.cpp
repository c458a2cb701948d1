#include "plan/CuttingPlan.h"

#include "calc/CalcResult.h"
#include "catalog/Article.h"
#include "catalog/Catalog.h"
#include "catalog/Material.h"
#include "catalog/ProfileColor.h"
#include "model/DoorSet.h"
#include "model/Project.h"
#include "plan/OffcutStock.h"

#include <algorithm>
#include <map>

namespace {

int32_t barCost(int32_t pricePerMetre, int32_t length) {
    // The bill's rule: price per metre × length, truncated to kopecks.
    return static_cast<int32_t>(pricePerMetre * (static_cast<double>(length) / 10000.0));
}

std::vector<int32_t> stockLengths(const Article& a) {
    std::vector<int32_t> out;
    for (int32_t l : {a.stockLength1, a.stockLength2, a.stockLength3})
        if (l > 0 && std::find(out.begin(), out.end(), l) == out.end())
            out.push_back(l);
    return out;
}

void planArticles(CuttingPlan& plan, const CalcResult& result, const std::string& colour,
                  const OffcutStock& offcuts) {
    // One plan per article and unit price (a group priced otherwise is planned apart).
    std::map<std::pair<std::string, int32_t>, size_t> index;
    std::vector<std::vector<size_t>> rows;
    for (const BarGroup& g : result.barGroups) {
        if (g.article == nullptr)
            continue;
        auto key = std::make_pair(g.article->code, g.pricePerMetre);
        auto [it, added] = index.emplace(key, plan.articles.size());
        if (added) {
            ArticleCut cut;
            cut.code = g.article->code;
            cut.name = g.article->name;
            cut.pricePerMetre = g.pricePerMetre;
            for (int32_t l : stockLengths(*g.article))
                cut.stock.push_back({l, barCost(g.pricePerMetre, l), -1, false});
            plan.articles.push_back(std::move(cut));
            rows.emplace_back();
        }
        ArticleCut& cut = plan.articles[it->second];
        for (const BarPiece& p : g.pieces)
            cut.pieces.push_back({p.length, p.doorIndex, p.mark});
        if (g.articleRow < result.articles.size()) {
            const ArticleRow& row = result.articles[g.articleRow];
            cut.billBars += row.quantity;
            cut.billCost += row.cost;
            cut.billError = cut.billError || !row.error.empty();
        }
    }
    std::map<std::string, bool> offcutsGiven; // an article planned twice gets its offcuts once
    for (ArticleCut& cut : plan.articles) {
        if (!offcutsGiven[cut.code]) {
            offcutsGiven[cut.code] = true;
            for (const Offcut& o : offcuts.matching(cut.code, colour))
                cut.stock.push_back({o.length, 0, o.count, true});
        }
        BarPlanner::Options options;
        options.kerf = plan.settings.kerf;
        options.trim = plan.settings.trim;
        options.timeLimitMs = plan.settings.barTimeLimitMs;
        // The plan never asks for more bars than the bill when it can do without.
        options.maxNewBars = cut.billError ? -1 : cut.billBars;
        cut.plan = BarPlanner::plan(cut.pieces, cut.stock, options);
    }
}

void planMaterials(CuttingPlan& plan, const DoorSet& doors) {
    std::map<std::string, size_t> index;
    const int n = doors.doorsInUse();
    for (int d = 0; d < n; ++d) {
        for (const auto& [id, insert] : doors.doors[d].inserts) {
            const Material* m = insert.material;
            if (m == nullptr)
                continue;
            const std::string key = m->groupName + '\n' + m->code + '\n' + m->pictureKey();
            auto [it, added] = index.emplace(key, plan.materials.size());
            if (added) {
                MaterialCut cut;
                cut.code = m->code;
                cut.name = m->name;
                cut.group = m->groupName;
                cut.sheetWidth = m->width > 0 && m->width < 100000 ? m->width * 10 : 0;
                cut.sheetHeight = m->length > 0 && m->length < 100000 ? m->length * 10 : 0;
                cut.rotation = plan.settings.rotationAllowed(m->groupName);
                plan.materials.push_back(std::move(cut));
            }
            MaterialCut& cut = plan.materials[it->second];
            cut.pieces.push_back(
                {insert.fillWidth, insert.fillHeight, d, insert.number, cut.rotation});
        }
    }
    for (MaterialCut& cut : plan.materials) {
        const int32_t k = plan.settings.kerf;
        cut.plan = SheetPlanner::plan(cut.pieces, cut.sheetWidth, cut.sheetHeight, k,
                                      plan.settings.sheetTimeLimitMs);
        cut.firstFit = SheetPlanner::firstFit(cut.pieces, cut.sheetWidth, cut.sheetHeight, k);
    }
}

} // namespace

CuttingPlan CuttingPlan::build(const CalcResult& result, const DoorSet* doors,
                               const std::string& colour, const PlanSettings& settings,
                               const OffcutStock& offcuts) {
    CuttingPlan plan;
    plan.settings = settings;
    planArticles(plan, result, colour, offcuts);
    if (doors != nullptr)
        planMaterials(plan, *doors);
    return plan;
}

CuttingPlan CuttingPlan::build(const Project& project, const PlanSettings& settings,
                               const OffcutStock& offcuts) {
    return build(project.result, project.doors.get(),
                 project.color != nullptr ? project.color->code : std::string(), settings, offcuts);
}

CuttingPlan CuttingPlan::buildWithShopOffcuts(const Project& project, const PlanSettings& settings,
                                              int* badOffcutLines) {
    const OffcutStock offcuts =
        OffcutStock::fromFile(OffcutStock::pathIn(project.catalog().baseFolder()));
    if (badOffcutLines != nullptr)
        *badOffcutLines = offcuts.badLines;
    return build(project, settings, offcuts);
}

std::vector<int32_t> CuttingPlan::keptOffcuts(const ArticleCut& article) const {
    std::vector<int32_t> out;
    for (const PlannedBar& bar : article.plan.bars)
        if (settings.keepsOffcut(bar.offcut))
            out.push_back(bar.offcut);
    return out;
}

int CuttingPlan::planBars() const {
    int n = 0;
    for (const ArticleCut& a : articles)
        n += a.plan.newBars;
    return n;
}

int CuttingPlan::billBars() const {
    int n = 0;
    for (const ArticleCut& a : articles)
        n += a.billBars;
    return n;
}
