#include "plan/BatchPlan.h"

#include "plan/SheetStockPlanner.h"
#include "text/CaseFold.h"
#include "text/Format.h"

#include <algorithm>
#include <map>

namespace {

std::string key(std::string_view s) {
    return text::toLower(text::trim(s));
}

// A piece's name on the batch's plans: its order, door and mark.
std::string pieceName(int64_t order, int door, int mark) {
    return text::format("%lld д%d №%d", static_cast<long long>(order), door + 1, mark);
}

void planBars(BatchPlan& out, const std::vector<BatchOrder>& orders,
              const std::vector<StoreOffcut>& store, double timeLimitMs) {
    // One plan per article, unit price and colour.
    std::map<std::tuple<std::string, int32_t, std::string>, size_t> index;
    std::vector<int> own; // per article: the new bars of the orders' own plans
    for (const BatchOrder& o : orders) {
        for (const ArticleCut& a : o.plan.articles) {
            out.ownBars += a.plan.newBars;
            auto [it, added] = index.emplace(
                std::make_tuple(a.code, a.pricePerMetre, key(o.colour)), out.cuts.articles.size());
            if (added) {
                ArticleCut cut;
                cut.code = a.code;
                cut.name = a.name;
                cut.pricePerMetre = a.pricePerMetre;
                for (const BarStock& s : a.stock)
                    if (!s.offcut)
                        cut.stock.push_back(s);
                out.cuts.articles.push_back(std::move(cut));
                out.articleColours.push_back(o.colour);
                own.push_back(0);
            }
            own[it->second] += a.plan.newBars;
            ArticleCut& cut = out.cuts.articles[it->second];
            for (size_t i = 0; i < a.pieces.size(); ++i) {
                const BarPlanPiece& p = a.pieces[i];
                cut.pieces.push_back(p);
                cut.names.push_back(pieceName(o.number, p.doorIndex, p.mark));
                cut.orders.push_back(o.number);
            }
            cut.billBars += a.billBars;
            cut.billCost += a.billCost;
            cut.billError = cut.billError || a.billError;
        }
    }
    const PlanSettings& s = out.cuts.settings;
    for (size_t k = 0; k < out.cuts.articles.size(); ++k) {
        ArticleCut& cut = out.cuts.articles[k];
        const std::string colour = key(out.articleColours[k]);
        // The store's offcuts of the article and colour, one stock row per length.
        const size_t firstOffcut = cut.stock.size();
        std::vector<std::vector<int64_t>> ids;
        std::map<int32_t, size_t> byLength;
        for (const StoreOffcut& o : store) {
            if (o.sheet || key(o.code) != key(cut.code) || key(o.colour) != colour)
                continue;
            auto [it, added] = byLength.emplace(o.length, cut.stock.size());
            if (added) {
                cut.stock.push_back({o.length, 0, 0, true});
                ids.emplace_back();
            }
            ++cut.stock[it->second].available;
            ids[it->second - firstOffcut].push_back(o.id);
        }
        BarPlanner::Options options;
        options.kerf = s.kerf;
        options.trim = s.trim;
        options.timeLimitMs = timeLimitMs;
        // Cut together, the orders never need more new bars than each cut alone.
        options.maxNewBars = own[k];
        cut.plan = BarPlanner::plan(cut.pieces, cut.stock, options);
        std::vector<size_t> taken(ids.size(), 0);
        for (const PlannedBar& b : cut.plan.bars) {
            if (b.fromOffcut) {
                const size_t row = static_cast<size_t>(b.stock) - firstOffcut;
                out.usedOffcuts.push_back(ids[row][taken[row]++]);
            }
            if (s.keepsOffcut(b.offcut))
                out.kept.push_back(
                    {false, cut.code, out.articleColours[k], "", b.offcut, 0, 0, false});
        }
    }
}

void planSheets(BatchPlan& out, const std::vector<BatchOrder>& orders,
                const std::vector<StoreOffcut>& store, double timeLimitMs) {
    struct Group {
        const MaterialCut* first = nullptr;
        std::vector<SheetPlanPiece> pieces;
        std::vector<std::string> names;
        std::vector<int64_t> orders;
    };
    std::map<std::tuple<std::string, std::string, int32_t, int32_t>, size_t> index;
    std::vector<Group> groups;
    for (const BatchOrder& o : orders) {
        for (const MaterialCut& m : o.plan.materials) {
            out.ownSheetArea +=
                static_cast<int64_t>(m.plan.sheets.size()) * m.sheetWidth * m.sheetHeight;
            auto [it, added] = index.emplace(
                std::make_tuple(key(m.group), key(m.code), m.sheetWidth, m.sheetHeight),
                groups.size());
            if (added)
                groups.push_back({&m, {}, {}, {}});
            Group& g = groups[it->second];
            for (const SheetPlanPiece& p : m.pieces) {
                g.pieces.push_back(p);
                g.names.push_back(pieceName(o.number, p.doorIndex, p.mark));
                g.orders.push_back(o.number);
            }
        }
    }
    const PlanSettings& s = out.cuts.settings;
    for (const Group& g : groups) {
        const MaterialCut& m = *g.first;
        // New sheets cost their area, the store's own offcuts of the material nothing.
        std::vector<SheetStock> stock = {
            {m.sheetWidth, m.sheetHeight, int64_t{m.sheetWidth} * m.sheetHeight / 100, -1, false}};
        std::vector<int64_t> ids = {0};
        for (const StoreOffcut& o : store) {
            if (o.sheet && key(o.code) == key(m.code) && key(o.group) == key(m.group)) {
                stock.push_back({o.width, o.height, 0, 1, true});
                ids.push_back(o.id);
            }
        }
        const SheetStockPlan plan = SheetStockPlanner::plan(g.pieces, stock, s.kerf, timeLimitMs);
        for (const SheetStockPart& part : plan.parts) {
            const SheetStock& st = stock[static_cast<size_t>(part.stock)];
            MaterialCut cut;
            cut.code = m.code;
            cut.name = m.name;
            cut.group = m.group;
            cut.sheetWidth = st.width;
            cut.sheetHeight = st.height;
            cut.rotation = m.rotation;
            for (int p : part.pieces) {
                cut.pieces.push_back(g.pieces[static_cast<size_t>(p)]);
                cut.names.push_back(g.names[static_cast<size_t>(p)]);
                cut.orders.push_back(g.orders[static_cast<size_t>(p)]);
            }
            cut.plan = part.plan;
            cut.firstFit = cut.plan;
            if (st.offcut)
                out.usedOffcuts.push_back(ids[static_cast<size_t>(part.stock)]);
            // The largest rest of each sheet is kept when both its sides reach the minimum.
            for (const PlannedSheet& sheet : cut.plan.sheets) {
                if (sheet.offcuts.empty())
                    continue;
                const SheetRect& r = sheet.offcuts.front();
                if (std::min(r.width, r.height) >= s.minOffcut)
                    out.kept.push_back(
                        {true, m.code, "", m.group, 0, r.width, r.height, m.rotation});
            }
            out.cuts.materials.push_back(std::move(cut));
            out.materialFromOffcut.push_back(st.offcut);
        }
        if (!plan.unplaced.empty()) {
            MaterialCut none;
            none.code = m.code;
            none.name = m.name;
            none.group = m.group;
            none.sheetWidth = none.plan.sheetWidth = m.sheetWidth;
            none.sheetHeight = none.plan.sheetHeight = m.sheetHeight;
            none.rotation = m.rotation;
            for (int p : plan.unplaced) {
                none.plan.unplaced.push_back(static_cast<int>(none.pieces.size()));
                none.pieces.push_back(g.pieces[static_cast<size_t>(p)]);
                none.names.push_back(g.names[static_cast<size_t>(p)]);
                none.orders.push_back(g.orders[static_cast<size_t>(p)]);
            }
            out.cuts.materials.push_back(std::move(none));
            out.materialFromOffcut.push_back(false);
        }
    }
}

} // namespace

BatchPlan BatchPlan::build(const std::vector<BatchOrder>& orders,
                           const std::vector<StoreOffcut>& store, const PlanSettings& settings,
                           double timeLimitMs) {
    BatchPlan out;
    out.cuts.settings = settings;
    planBars(out, orders, store, timeLimitMs);
    planSheets(out, orders, store, timeLimitMs);
    return out;
}

int BatchPlan::newBars() const {
    int n = 0;
    for (const ArticleCut& a : cuts.articles)
        n += a.plan.newBars;
    return n;
}

int64_t BatchPlan::newSheetArea() const {
    int64_t area = 0;
    for (size_t i = 0; i < cuts.materials.size(); ++i) {
        const MaterialCut& m = cuts.materials[i];
        if (materialFromOffcut[i])
            continue;
        area += static_cast<int64_t>(m.plan.sheets.size()) * m.sheetWidth * m.sheetHeight;
    }
    return area;
}

void BatchPlan::countFromStore(CuttingPlan& own, const std::string& colour,
                               const std::vector<StoreOffcut>& store, double timeLimitMs) {
    for (ArticleCut& a : own.articles)
        a.fromStore = 0;
    for (MaterialCut& m : own.materials)
        m.fromStore = 0;
    const auto fits = [&](const StoreOffcut& o) {
        if (o.sheet)
            return std::any_of(own.materials.begin(), own.materials.end(), [&](const auto& m) {
                return key(m.code) == key(o.code) && key(m.group) == key(o.group);
            });
        return key(o.colour) == key(colour) &&
               std::any_of(own.articles.begin(), own.articles.end(),
                           [&](const auto& a) { return key(a.code) == key(o.code); });
    };
    // Without a matching offcut the answer is known without planning.
    if (std::none_of(store.begin(), store.end(), fits))
        return;
    BatchOrder order;
    order.colour = colour;
    order.plan = own;
    const BatchPlan alone = build({order}, store, own.settings, timeLimitMs);
    for (const ArticleCut& cut : alone.cuts.articles) {
        const int used = cut.plan.offcutsUsed;
        for (ArticleCut& a : own.articles)
            if (a.code == cut.code && a.pricePerMetre == cut.pricePerMetre) {
                a.fromStore = used;
                break;
            }
    }
    for (size_t i = 0; i < alone.cuts.materials.size(); ++i) {
        if (!alone.materialFromOffcut[i])
            continue;
        const MaterialCut& cut = alone.cuts.materials[i];
        for (MaterialCut& m : own.materials)
            if (key(m.code) == key(cut.code) && key(m.group) == key(cut.group)) {
                ++m.fromStore;
                break;
            }
    }
}
