#include "plan/SheetStockPlanner.h"

#include <algorithm>
#include <chrono>
#include <optional>

namespace {

using Clock = std::chrono::steady_clock;

struct Attempt {
    std::vector<SheetStockPart> parts;
    std::vector<int> left; // pieces no sheet took
    int64_t cost = 0;
    int sheets = 0;
    bool better(const Attempt& o) const {
        if (left.size() != o.left.size())
            return left.size() < o.left.size();
        if (cost != o.cost)
            return cost < o.cost;
        return sheets < o.sheets;
    }
};

class Planner {
public:
    Planner(const std::vector<SheetPlanPiece>& pieces, const std::vector<SheetStock>& stock,
            int32_t kerf, double callMs, const std::atomic<bool>* stop)
        : pieces_(pieces), stock_(stock), kerf_(kerf), callMs_(callMs), stop_(stop) {}

    bool stopped() const { return stop_ != nullptr && stop_->load(std::memory_order_relaxed); }

    // The pieces of `from` that fit the stock.
    std::vector<int> fitting(const std::vector<int>& from, int s) const {
        std::vector<int> out;
        for (int p : from)
            if (SheetStockPlanner::fits(pieces_[static_cast<size_t>(p)],
                                        stock_[static_cast<size_t>(s)]))
                out.push_back(p);
        return out;
    }

    // Plans `which` onto sheets of stock s, keeping at most `limit` sheets (the fullest; -1 all).
    SheetStockPart part(const std::vector<int>& which, int s, int limit) const {
        const SheetStock& st = stock_[static_cast<size_t>(s)];
        std::vector<SheetPlanPiece> subset;
        for (int p : which)
            subset.push_back(pieces_[static_cast<size_t>(p)]);
        SheetPlan plan = SheetPlanner::plan(subset, st.width, st.height, kerf_, callMs_, stop_);
        if (limit >= 0 && plan.sheets.size() > static_cast<size_t>(limit)) {
            std::stable_sort(plan.sheets.begin(), plan.sheets.end(),
                             [](const PlannedSheet& a, const PlannedSheet& b) {
                                 return a.usedArea > b.usedArea;
                             });
            plan.sheets.resize(static_cast<size_t>(limit));
        }
        // Only the pieces on the kept sheets belong to the part, renumbered in its order.
        SheetStockPart out;
        out.stock = s;
        for (PlannedSheet& sheet : plan.sheets) {
            for (PlacedPiece& placed : sheet.pieces) {
                out.pieces.push_back(which[static_cast<size_t>(placed.piece)]);
                placed.piece = static_cast<int>(out.pieces.size()) - 1;
            }
        }
        plan.unplaced.clear();
        out.plan = std::move(plan);
        return out;
    }

    static std::vector<int> without(const std::vector<int>& from, const std::vector<int>& taken) {
        std::vector<int> out;
        for (int p : from)
            if (std::find(taken.begin(), taken.end(), p) == taken.end())
                out.push_back(p);
        return out;
    }

    // New sheets in the order of the sizes, each taking what fits of what the ones before left.
    Attempt inOrder(const std::vector<int>& pieces, const std::vector<int>& order) const {
        Attempt a;
        a.left = pieces;
        for (int s : order) {
            const std::vector<int> fit = fitting(a.left, s);
            if (fit.empty())
                continue;
            SheetStockPart p = part(fit, s, stock_[static_cast<size_t>(s)].available);
            if (p.plan.sheets.empty())
                continue;
            a.left = without(a.left, p.pieces);
            a.parts.push_back(std::move(p));
        }
        total(a);
        return a;
    }

    // The least used sheet of each part onto one sheet of a cheaper size, when its pieces fit.
    void moveLeastUsed(Attempt& a, const std::vector<int>& sizes) const {
        for (size_t i = 0; i < a.parts.size(); ++i) {
            SheetStockPart& from = a.parts[i];
            const SheetStock& here = stock_[static_cast<size_t>(from.stock)];
            auto least = std::min_element(from.plan.sheets.begin(), from.plan.sheets.end(),
                                          [](const PlannedSheet& x, const PlannedSheet& y) {
                                              return x.usedArea < y.usedArea;
                                          });
            if (least == from.plan.sheets.end())
                continue;
            std::vector<int> moved;
            for (const PlacedPiece& placed : least->pieces)
                moved.push_back(from.pieces[static_cast<size_t>(placed.piece)]);
            for (int s : sizes) {
                const SheetStock& there = stock_[static_cast<size_t>(s)];
                if (s == from.stock || there.cost >= here.cost ||
                    (there.available >= 0 && used(a, s) >= there.available) ||
                    fitting(moved, s).size() != moved.size())
                    continue;
                SheetStockPart p = part(moved, s, 1);
                if (p.pieces.size() != moved.size())
                    continue;
                // The rest planned again must keep within the sheets its size has.
                const std::vector<int> rest = without(from.pieces, moved);
                SheetStockPart again = part(rest, from.stock, here.available);
                if (again.pieces.size() != rest.size())
                    continue;
                from = std::move(again);
                a.parts.push_back(std::move(p));
                break;
            }
        }
        std::erase_if(a.parts, [](const SheetStockPart& p) { return p.plan.sheets.empty(); });
        total(a);
    }

private:
    // Sheets of stock s the attempt uses.
    int used(const Attempt& a, int s) const {
        int n = 0;
        for (const SheetStockPart& p : a.parts)
            if (p.stock == s)
                n += static_cast<int>(p.plan.sheets.size());
        return n;
    }

    void total(Attempt& a) const {
        a.cost = 0;
        a.sheets = 0;
        for (const SheetStockPart& p : a.parts) {
            const auto n = static_cast<int>(p.plan.sheets.size());
            a.cost += n * stock_[static_cast<size_t>(p.stock)].cost;
            a.sheets += n;
        }
    }

    const std::vector<SheetPlanPiece>& pieces_;
    const std::vector<SheetStock>& stock_;
    int32_t kerf_;
    double callMs_;
    const std::atomic<bool>* stop_;
};

int64_t area(const SheetPlanPiece& p) {
    return int64_t{p.width} * p.height;
}

} // namespace

bool SheetStockPlanner::fits(const SheetPlanPiece& piece, const SheetStock& sheet) {
    if (piece.width <= 0 || piece.height <= 0)
        return false;
    return (piece.width <= sheet.width && piece.height <= sheet.height) ||
           (piece.canRotate && piece.height <= sheet.width && piece.width <= sheet.height);
}

SheetStockPlan SheetStockPlanner::plan(const std::vector<SheetPlanPiece>& pieces,
                                       const std::vector<SheetStock>& stock, int32_t kerf,
                                       double timeLimitMs, const std::atomic<bool>* stop) {
    const auto start = Clock::now();
    SheetStockPlan out;
    std::vector<int> offcuts, sizes, cuttable;
    int offcutCount = 0;
    for (size_t s = 0; s < stock.size(); ++s) {
        if (stock[s].width <= 0 || stock[s].height <= 0 || stock[s].available == 0)
            continue;
        if (stock[s].offcut) {
            offcuts.push_back(static_cast<int>(s));
            offcutCount += stock[s].available;
        } else {
            sizes.push_back(static_cast<int>(s));
        }
    }
    for (size_t p = 0; p < pieces.size(); ++p) {
        const bool fitsAny =
            std::any_of(offcuts.begin(), offcuts.end(),
                        [&](int s) { return fits(pieces[p], stock[static_cast<size_t>(s)]); }) ||
            std::any_of(sizes.begin(), sizes.end(),
                        [&](int s) { return fits(pieces[p], stock[static_cast<size_t>(s)]); });
        (fitsAny ? cuttable : out.unplaced).push_back(static_cast<int>(p));
    }
    // One call per offcut sheet and two per pair of sizes share the time.
    const int calls = std::min(offcutCount, 50) + 2 * static_cast<int>(sizes.size() * sizes.size());
    const Planner planner(pieces, stock, kerf, std::max(5.0, timeLimitMs / std::max(calls, 1)),
                          stop);

    // Offcut sheets, smallest first, each filled with what fits of what is left.
    std::sort(offcuts.begin(), offcuts.end(), [&](int a, int b) {
        const SheetStock &x = stock[static_cast<size_t>(a)], &y = stock[static_cast<size_t>(b)];
        return int64_t{x.width} * x.height < int64_t{y.width} * y.height;
    });
    std::vector<int> left = cuttable;
    int64_t offcutArea = 0;
    for (int s : offcuts) {
        const SheetStock& st = stock[static_cast<size_t>(s)];
        offcutArea += int64_t{st.width} * st.height * st.available;
        for (int k = 0; k < st.available; ++k) {
            const std::vector<int> fit = planner.fitting(left, s);
            if (fit.empty())
                break;
            SheetStockPart p = planner.part(fit, s, 1);
            if (p.plan.sheets.empty())
                break;
            left = Planner::without(left, p.pieces);
            if (!out.parts.empty() && out.parts.back().stock == s) {
                // Another sheet of the same offcut size: one part, renumbered.
                SheetStockPart& same = out.parts.back();
                const int base = static_cast<int>(same.pieces.size());
                same.pieces.insert(same.pieces.end(), p.pieces.begin(), p.pieces.end());
                for (PlacedPiece& placed : p.plan.sheets[0].pieces)
                    placed.piece += base;
                same.plan.sheets.push_back(std::move(p.plan.sheets[0]));
            } else {
                out.parts.push_back(std::move(p));
            }
            ++out.offcutSheets;
        }
    }

    // New sheets: each size first, the others by price per area after it.
    std::vector<int> byPrice = sizes;
    std::sort(byPrice.begin(), byPrice.end(), [&](int a, int b) {
        const SheetStock &x = stock[static_cast<size_t>(a)], &y = stock[static_cast<size_t>(b)];
        return static_cast<double>(x.cost) / (double(x.width) * x.height) <
               static_cast<double>(y.cost) / (double(y.width) * y.height);
    });
    std::optional<Attempt> best;
    if (!left.empty()) {
        for (int first : byPrice) {
            std::vector<int> order{first};
            for (int s : byPrice)
                if (s != first)
                    order.push_back(s);
            Attempt a = planner.inOrder(left, order);
            if (!best || a.better(*best))
                best = a;
            // Stopped: the first whole attempt stands.
            if (planner.stopped())
                break;
            planner.moveLeastUsed(a, byPrice);
            if (a.better(*best))
                best = std::move(a);
        }
    }
    if (best) {
        out.parts.insert(out.parts.end(), best->parts.begin(), best->parts.end());
        out.unplaced.insert(out.unplaced.end(), best->left.begin(), best->left.end());
        out.cost = best->cost;
        out.newSheets = best->sheets;
    } else {
        out.unplaced.insert(out.unplaced.end(), left.begin(), left.end());
    }
    std::sort(out.unplaced.begin(), out.unplaced.end());

    // No plan needs fewer new sheets than the area the offcuts cannot take, on the largest size.
    int64_t pieceArea = 0, largest = 0, cheapest = -1;
    for (int p : cuttable)
        pieceArea += area(pieces[static_cast<size_t>(p)]);
    for (int s : sizes) {
        const SheetStock& st = stock[static_cast<size_t>(s)];
        largest = std::max(largest, int64_t{st.width} * st.height);
        cheapest = cheapest < 0 ? st.cost : std::min(cheapest, st.cost);
    }
    if (largest > 0 && pieceArea > offcutArea)
        out.lowerBound = static_cast<int>((pieceArea - offcutArea + largest - 1) / largest);
    if (sizes.size() == 1 && offcuts.empty()) {
        std::vector<SheetPlanPiece> all;
        for (int p : cuttable)
            all.push_back(pieces[static_cast<size_t>(p)]);
        const SheetStock& st = stock[static_cast<size_t>(sizes[0])];
        out.lowerBound =
            std::max(out.lowerBound, SheetPlanner::lowerBound(all, st.width, st.height, kerf));
    }
    out.costLowerBound = out.lowerBound * std::max<int64_t>(cheapest, 0);
    out.proven = out.cost <= out.costLowerBound && out.newSheets <= out.lowerBound;
    out.millis = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    return out;
}
