#include "plan/SheetPlanner.h"

#include "plan/StripFiller.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <limits>
#include <numeric>
#include <optional>
#include <random>

namespace {

using Clock = std::chrono::steady_clock;

enum class Choice { BestArea, BestShortSide, TopLeft, First };
enum class Split { ShorterLeftover, LongerLeftover, Horizontal, Vertical };

bool fits(int32_t w, int32_t h, const SheetRect& r) {
    return w <= r.width && h <= r.height;
}

bool fitsSheet(const SheetPlanPiece& p, int32_t W, int32_t H) {
    return (p.width <= W && p.height <= H) || (p.canRotate && p.height <= W && p.width <= H);
}

// One packing pass: pieces in order, free rectangles per sheet, guillotine splits.
class Packer {
public:
    Packer(const std::vector<SheetPlanPiece>& pieces, int32_t W, int32_t H, int32_t kerf,
           Choice choice, Split split, bool oneSheet = false)
        : pieces_(pieces), W_(W), H_(H), kerf_(kerf), choice_(choice), split_(split),
          oneSheet_(oneSheet) {
        if (oneSheet_) {
            sheets.emplace_back();
            free.push_back({SheetRect{0, 0, W_, H_}});
        }
    }

    void pack(const std::vector<int>& order) {
        for (int p : order)
            place(p);
    }

    // One sheet only: the pieces of the order that found no room on it.
    std::vector<int> left;

    std::vector<PlannedSheet> sheets;
    std::vector<std::vector<SheetRect>> free;

private:
    void place(int p) {
        const SheetPlanPiece& piece = pieces_[p];
        int bestSheet = -1, bestRect = -1;
        bool bestTurn = false;
        int64_t bestScore = std::numeric_limits<int64_t>::max();
        for (size_t s = 0; s < sheets.size() && (choice_ != Choice::First || bestSheet < 0); ++s) {
            for (size_t r = 0; r < free[s].size(); ++r) {
                for (bool turn : {false, true}) {
                    if (turn && !piece.canRotate)
                        continue;
                    const int32_t w = turn ? piece.height : piece.width;
                    const int32_t h = turn ? piece.width : piece.height;
                    const SheetRect& f = free[s][r];
                    if (!fits(w, h, f))
                        continue;
                    int64_t score = 0;
                    if (choice_ == Choice::BestArea)
                        score = int64_t{f.width} * f.height - int64_t{w} * h;
                    else if (choice_ == Choice::BestShortSide)
                        score = std::min(f.width - w, f.height - h);
                    else if (choice_ == Choice::TopLeft) // rows fill from the top, as shelves
                        score = (int64_t{f.y} << 32) + f.x;
                    if (score < bestScore) {
                        bestScore = score;
                        bestSheet = static_cast<int>(s);
                        bestRect = static_cast<int>(r);
                        bestTurn = turn;
                    }
                    if (choice_ == Choice::First)
                        break;
                }
                if (choice_ == Choice::First && bestSheet >= 0)
                    break;
            }
        }
        if (bestSheet < 0 && oneSheet_) {
            left.push_back(p);
            return;
        }
        if (bestSheet < 0) {
            sheets.emplace_back();
            free.push_back({SheetRect{0, 0, W_, H_}});
            bestSheet = static_cast<int>(sheets.size()) - 1;
            bestRect = 0;
            bestTurn = !(piece.width <= W_ && piece.height <= H_);
        }
        const int32_t w = bestTurn ? piece.height : piece.width;
        const int32_t h = bestTurn ? piece.width : piece.height;
        std::vector<SheetRect>& rects = free[bestSheet];
        const SheetRect f = rects[bestRect];
        rects.erase(rects.begin() + bestRect);
        sheets[bestSheet].pieces.push_back({p, f.x, f.y, w, h, bestTurn});
        sheets[bestSheet].usedArea += int64_t{w} * h;

        // The piece sits in the top left corner; the rest of f is cut into a part to its right
        // and a part below it, one of them across the whole of f.
        const int32_t rightW = f.width - w - kerf_;
        const int32_t belowH = f.height - h - kerf_;
        bool horizontal = false; // first cut across the whole width of f, under the piece
        switch (split_) {
        case Split::ShorterLeftover:
            horizontal = f.width - w <= f.height - h;
            break;
        case Split::LongerLeftover:
            horizontal = f.width - w > f.height - h;
            break;
        case Split::Horizontal:
            horizontal = true;
            break;
        case Split::Vertical:
            horizontal = false;
            break;
        }
        if (rightW > 0)
            rects.push_back({f.x + w + kerf_, f.y, rightW, horizontal ? h : f.height});
        if (belowH > 0)
            rects.push_back({f.x, f.y + h + kerf_, horizontal ? f.width : w, belowH});
    }

    const std::vector<SheetPlanPiece>& pieces_;
    int32_t W_, H_, kerf_;
    Choice choice_;
    Split split_;
    bool oneSheet_;
};

SheetPlan result(const Packer& packer, int32_t W, int32_t H) {
    SheetPlan plan;
    plan.sheetWidth = W;
    plan.sheetHeight = H;
    plan.sheets = packer.sheets;
    for (size_t s = 0; s < plan.sheets.size(); ++s) {
        plan.sheets[s].offcuts = packer.free[s];
        std::sort(plan.sheets[s].offcuts.begin(), plan.sheets[s].offcuts.end(),
                  [](const SheetRect& a, const SheetRect& b) {
                      return int64_t{a.width} * a.height > int64_t{b.width} * b.height;
                  });
    }
    return plan;
}

using Key = std::function<bool(int, int)>;

// The fullest one sheet that the piece orders and rules give for the pieces; its `left` holds
// the pieces that found no room. With noise, one more order leads with randomly weighted areas;
// in a hurry, one order and one rule only.
using Filling = StripFiller::Filling;

PlannedSheet sheetOf(const Packer& packer);

Filling fullestSheet(const std::vector<SheetPlanPiece>& pieces, const std::vector<int>& candidates,
                     const std::vector<Key>& keys, int32_t W, int32_t H, int32_t kerf,
                     std::mt19937* noise, bool hurry, bool strips, size_t leading = 0) {
    std::vector<std::vector<int>> orders;
    for (const auto& key : keys) {
        std::vector<int> order = candidates;
        std::stable_sort(order.begin(), order.end(), key);
        orders.push_back(order);
        if (hurry)
            break;
        if (leading > 0 && leading < candidates.size()) {
            // The first candidates lead, each part in the key's order: a piece that has to find
            // a place gets the sheet's best room.
            std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
                const bool la = std::find(candidates.begin(), candidates.begin() + leading, a) !=
                                candidates.begin() + leading;
                const bool lb = std::find(candidates.begin(), candidates.begin() + leading, b) !=
                                candidates.begin() + leading;
                return la > lb;
            });
            orders.push_back(std::move(order));
        }
    }
    if (noise != nullptr && !hurry) {
        // A random weight per piece on its area: other pieces lead the order.
        std::uniform_real_distribution<double> d(0.7, 1.3);
        std::vector<std::pair<double, int>> weighted;
        for (int p : candidates)
            weighted.emplace_back(
                d(*noise) * pieces[p].width * static_cast<double>(pieces[p].height), p);
        std::stable_sort(weighted.begin(), weighted.end(),
                         [](const auto& a, const auto& b) { return a.first > b.first; });
        std::vector<int> order;
        for (const auto& [w, p] : weighted)
            order.push_back(p);
        orders.push_back(std::move(order));
    }
    std::optional<Packer> best;
    for (const auto& order : orders) {
        for (Choice c : {Choice::BestArea, Choice::BestShortSide, Choice::TopLeft}) {
            for (Split sp : {Split::ShorterLeftover, Split::LongerLeftover, Split::Horizontal,
                             Split::Vertical}) {
                Packer one(pieces, W, H, kerf, c, sp, true);
                one.pack(order);
                if (!best || one.sheets[0].usedArea > best->sheets[0].usedArea)
                    best.emplace(std::move(one));
                if (hurry)
                    break;
            }
            if (hurry)
                break;
        }
    }
    Filling out{sheetOf(*best), std::move(best->left)};
    // Strips across or along the sheet, where the list is short enough to try them.
    if (strips && !hurry && candidates.size() <= 400) {
        for (bool across : {true, false}) {
            Filling strips = StripFiller::fill(pieces, candidates, W, H, kerf, across);
            if (strips.sheet.usedArea > out.sheet.usedArea)
                out = std::move(strips);
        }
    }
    return out;
}

PlannedSheet sheetOf(const Packer& packer) {
    PlannedSheet sheet = packer.sheets[0];
    sheet.offcuts = packer.free[0];
    std::sort(sheet.offcuts.begin(), sheet.offcuts.end(),
              [](const SheetRect& a, const SheetRect& b) {
                  return int64_t{a.width} * a.height > int64_t{b.width} * b.height;
              });
    return sheet;
}

// Sheet by sheet: each sheet takes the fullest of the fillings the piece orders and rules give
// for the pieces still to cut, then the next sheet starts on what is left. A full first sheet
// often beats packing every piece in one pass, which leaves the waste spread over all sheets.
SheetPlan sheetBySheet(const std::vector<SheetPlanPiece>& pieces, std::vector<int> remaining,
                       const std::vector<Key>& keys, int32_t W, int32_t H, int32_t kerf,
                       std::mt19937* noise, Clock::time_point deadline) {
    SheetPlan plan;
    plan.sheetWidth = W;
    plan.sheetHeight = H;
    while (!remaining.empty()) {
        Filling best =
            fullestSheet(pieces, remaining, keys, W, H, kerf, noise, Clock::now() > deadline, true);
        plan.sheets.push_back(std::move(best.sheet));
        remaining = std::move(best.left);
    }
    return plan;
}

std::vector<int> piecesOf(const PlannedSheet& sheet) {
    std::vector<int> out;
    for (const PlacedPiece& p : sheet.pieces)
        out.push_back(p.piece);
    return out;
}

// Tries to do with one sheet less: the pieces of the emptiest sheet go to a pool, and each other
// sheet in turn is cut again from its own pieces and the pool's. A new cutting that holds more
// area than the sheet did replaces it, the pieces it leaves going back to the pool, so the pool
// shrinks with every step taken. Gives true when the pool is emptied (the plan then has one sheet
// less); else the plan may have changed, but keeps its count of sheets with every piece on one.
bool withOneSheetLess(const std::vector<SheetPlanPiece>& pieces, SheetPlan& plan,
                      const std::vector<Key>& keys, int32_t kerf, std::mt19937& random,
                      Clock::time_point deadline) {
    if (plan.sheets.size() < 2)
        return false;
    const int32_t W = plan.sheetWidth, H = plan.sheetHeight;
    auto emptiest = std::min_element(
        plan.sheets.begin(), plan.sheets.end(),
        [](const PlannedSheet& a, const PlannedSheet& b) { return a.usedArea < b.usedArea; });
    std::vector<int> pool = piecesOf(*emptiest);
    std::vector<PlannedSheet> rest;
    for (auto it = plan.sheets.begin(); it != plan.sheets.end(); ++it)
        if (it != emptiest)
            rest.push_back(*it);
    auto areaOf = [&](const std::vector<int>& set) {
        int64_t sum = 0;
        for (int p : set)
            sum += int64_t{pieces[p].width} * pieces[p].height;
        return sum;
    };
    // One to three sheets at a time are cut again with the pool: more sheets let their pieces
    // change places, which one sheet alone cannot.
    int64_t poolArea = areaOf(pool);
    for (int failures = 0; !pool.empty() && failures < 60 && Clock::now() < deadline;) {
        std::vector<size_t> pick(rest.size());
        std::iota(pick.begin(), pick.end(), 0);
        std::shuffle(pick.begin(), pick.end(), random);
        pick.resize(std::min<size_t>(rest.size(), 1 + random() % 3));
        std::vector<int> candidates = pool;
        for (size_t k : pick) {
            const std::vector<int> on = piecesOf(rest[k]);
            candidates.insert(candidates.end(), on.begin(), on.end());
        }
        std::vector<PlannedSheet> cut;
        for (size_t i = 0; i < pick.size() && !candidates.empty(); ++i) {
            // The first sheet is cut with the pool's pieces leading, by the piece orders alone.
            Filling fill = fullestSheet(pieces, candidates, keys, W, H, kerf, &random, false, i > 0,
                                        i == 0 ? pool.size() : 0);
            cut.push_back(std::move(fill.sheet));
            candidates = std::move(fill.left);
        }
        const int64_t left = areaOf(candidates);
        // A move that leaves as much in the pool, but other pieces, is taken now and then: the
        // plan changes shape where no step makes the pool smaller.
        const bool sideways = left == poolArea && candidates != pool && random() % 4 == 0;
        if (left > poolArea || (left == poolArea && !sideways)) {
            ++failures;
            continue;
        }
        failures = sideways ? failures + 1 : 0;
        for (size_t i = 0; i < pick.size(); ++i)
            rest[pick[i]] = i < cut.size() ? cut[i] : PlannedSheet{};
        std::erase_if(rest, [](const PlannedSheet& sh) { return sh.pieces.empty(); });
        pool = std::move(candidates);
        poolArea = left;
    }
    if (pool.empty()) {
        // Fullest first, so that the rest of the plan's last sheet is its largest offcut.
        std::stable_sort(
            rest.begin(), rest.end(),
            [](const PlannedSheet& a, const PlannedSheet& b) { return a.usedArea > b.usedArea; });
        plan.sheets = std::move(rest);
        return true;
    }
    // The pool on one sheet again keeps the count; the sheets that took from it are fuller.
    Filling last = fullestSheet(pieces, pool, keys, W, H, kerf, &random, false, true);
    if (last.left.empty()) {
        rest.push_back(std::move(last.sheet));
        plan.sheets = std::move(rest);
    }
    return false;
}

// Fewer sheets first; then the last sheet as empty as possible (its rest stays one piece).
bool better(const SheetPlan& a, const SheetPlan& b) {
    if (a.sheets.size() != b.sheets.size())
        return a.sheets.size() < b.sheets.size();
    if (a.sheets.empty())
        return false;
    return a.sheets.back().usedArea < b.sheets.back().usedArea;
}

bool canShare(const SheetPlanPiece& a, const SheetPlanPiece& b, int32_t W, int32_t H,
              int32_t kerf) {
    for (bool ta : {false, true}) {
        if (ta && !a.canRotate)
            continue;
        for (bool tb : {false, true}) {
            if (tb && !b.canRotate)
                continue;
            const int64_t wa = ta ? a.height : a.width, ha = ta ? a.width : a.height;
            const int64_t wb = tb ? b.height : b.width, hb = tb ? b.width : b.height;
            if (wa + kerf + wb <= W && std::max(ha, hb) <= H)
                return true;
            if (ha + kerf + hb <= H && std::max(wa, wb) <= W)
                return true;
        }
    }
    return false;
}

void splitPlaceable(const std::vector<SheetPlanPiece>& pieces, int32_t W, int32_t H,
                    std::vector<int>& placeable, std::vector<int>& unplaced) {
    for (size_t i = 0; i < pieces.size(); ++i) {
        const SheetPlanPiece& p = pieces[i];
        if (p.width > 0 && p.height > 0 && fitsSheet(p, W, H))
            placeable.push_back(static_cast<int>(i));
        else
            unplaced.push_back(static_cast<int>(i));
    }
}

// Dual feasible functions on [0, C] scaled to [0, scale(C)]: any set of pieces that fits side
// by side along C keeps a sum within scale(C) after the map. Fekete and Schepers' u(k) and the
// threshold function that rounds large pieces up to the whole and small ones down to nothing.
struct Dff {
    enum Kind { Identity, Rounding, Threshold } kind = Identity;
    int64_t k = 0; // Rounding: k; Threshold: the threshold t <= C / 2
    int64_t scale(int64_t C) const { return kind == Rounding ? C * k : C; }
    int64_t operator()(int64_t x, int64_t C) const {
        switch (kind) {
        case Rounding:
            return (k + 1) * x % C == 0 ? x * k : (k + 1) * x / C * C;
        case Threshold:
            return x > C - k ? C : (x < k ? 0 : x);
        case Identity:
            break;
        }
        return x;
    }
};

std::vector<Dff> dffsFor(const std::vector<int64_t>& sizes, int64_t C) {
    std::vector<Dff> out{Dff{}};
    for (int64_t k = 1; k <= 12; ++k)
        out.push_back({Dff::Rounding, k});
    std::vector<int64_t> small;
    for (int64_t s : sizes)
        if (s > 0 && 2 * s <= C)
            small.push_back(s);
    std::sort(small.begin(), small.end());
    small.erase(std::unique(small.begin(), small.end()), small.end());
    // A sample of at most 24 thresholds keeps the bound quick on long lists.
    const size_t step = std::max<size_t>(1, small.size() / 24);
    for (size_t i = 0; i < small.size(); i += step)
        out.push_back({Dff::Threshold, small[i]});
    return out;
}

// The best bound of the dual feasible functions on both sides: each piece counts in its
// cheaper allowed orientation, as a plan may turn it either way.
int dffBound(const std::vector<SheetPlanPiece>& pieces, const std::vector<int>& placeable,
             int32_t W, int32_t H, int32_t kerf) {
    const int64_t CW = int64_t{W} + kerf, CH = int64_t{H} + kerf;
    std::vector<int64_t> ws, hs;
    for (int p : placeable) {
        ws.push_back(int64_t{pieces[p].width} + kerf);
        hs.push_back(int64_t{pieces[p].height} + kerf);
        if (pieces[p].canRotate) {
            ws.push_back(int64_t{pieces[p].height} + kerf);
            hs.push_back(int64_t{pieces[p].width} + kerf);
        }
    }
    const std::vector<Dff> fw = dffsFor(ws, CW), fh = dffsFor(hs, CH);
    int best = 0;
    for (const Dff& a : fw) {
        for (const Dff& b : fh) {
            long double sum = 0;
            for (int p : placeable) {
                const int64_t w = int64_t{pieces[p].width} + kerf;
                const int64_t h = int64_t{pieces[p].height} + kerf;
                long double v = static_cast<long double>(a(w, CW)) * b(h, CH);
                if (pieces[p].canRotate && h <= CW && w <= CH)
                    v = std::min(v, static_cast<long double>(a(h, CW)) * b(w, CH));
                sum += v;
            }
            const long double sheet = static_cast<long double>(a.scale(CW)) * b.scale(CH);
            const long double n = sum / sheet;
            best = std::max(best, static_cast<int>(std::ceil(n - 1e-9L)));
        }
    }
    return best;
}

} // namespace

int SheetPlanner::lowerBound(const std::vector<SheetPlanPiece>& pieces, int32_t W, int32_t H,
                             int32_t kerf) {
    std::vector<int> placeable, unplaced;
    splitPlaceable(pieces, W, H, placeable, unplaced);
    if (placeable.empty())
        return 0;
    int64_t area = 0;
    for (int p : placeable)
        area += int64_t{pieces[p].width} * pieces[p].height;
    const int64_t sheet = int64_t{W} * H;
    const int byArea = static_cast<int>((area + sheet - 1) / sheet);
    // Largest first, a set of pieces no two of which fit on one sheet together.
    std::vector<int> order = placeable;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return int64_t{pieces[a].width} * pieces[a].height >
               int64_t{pieces[b].width} * pieces[b].height;
    });
    std::vector<int> apart;
    for (int p : order) {
        bool alone = true;
        for (int q : apart)
            alone = alone && !canShare(pieces[p], pieces[q], W, H, kerf);
        if (alone)
            apart.push_back(p);
    }
    return std::max(
        {byArea, static_cast<int>(apart.size()), dffBound(pieces, placeable, W, H, kerf)});
}

SheetPlan SheetPlanner::firstFit(const std::vector<SheetPlanPiece>& pieces, int32_t W, int32_t H,
                                 int32_t kerf) {
    const Clock::time_point start = Clock::now();
    std::vector<int> placeable, unplaced;
    splitPlaceable(pieces, W, H, placeable, unplaced);
    Packer packer(pieces, W, H, kerf, Choice::First, Split::Horizontal);
    packer.pack(placeable);
    SheetPlan plan = result(packer, W, H);
    plan.unplaced = std::move(unplaced);
    plan.lowerBound = lowerBound(pieces, W, H, kerf);
    plan.millis = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    return plan;
}

SheetPlan SheetPlanner::plan(const std::vector<SheetPlanPiece>& pieces, int32_t W, int32_t H,
                             int32_t kerf, double timeLimitMs) {
    const Clock::time_point start = Clock::now();
    const Clock::time_point deadline =
        start + std::chrono::microseconds(static_cast<int64_t>(timeLimitMs * 1000.0));
    std::vector<int> placeable, unplaced;
    splitPlaceable(pieces, W, H, placeable, unplaced);
    const int bound = lowerBound(pieces, W, H, kerf);

    auto area = [&](int p) { return int64_t{pieces[p].width} * pieces[p].height; };
    auto longSide = [&](int p) { return std::max(pieces[p].width, pieces[p].height); };
    const std::vector<Key> keys = {
        [&](int a, int b) { return area(a) > area(b); },
        [&](int a, int b) { return longSide(a) > longSide(b); },
        [&](int a, int b) { return pieces[a].height > pieces[b].height; },
        [&](int a, int b) { return pieces[a].width > pieces[b].width; },
        [&](int a, int b) {
            return pieces[a].width + pieces[a].height > pieces[b].width + pieces[b].height;
        },
    };
    std::vector<std::vector<int>> orders;
    for (const Key& key : keys) {
        std::vector<int> order = placeable;
        std::stable_sort(order.begin(), order.end(), key);
        orders.push_back(std::move(order));
    }

    SheetPlan best;
    bool have = false;
    auto tryOrder = [&](const std::vector<int>& order) {
        for (Choice c : {Choice::BestArea, Choice::BestShortSide}) {
            for (Split s : {Split::ShorterLeftover, Split::LongerLeftover, Split::Horizontal,
                            Split::Vertical}) {
                Packer packer(pieces, W, H, kerf, c, s);
                packer.pack(order);
                SheetPlan candidate = result(packer, W, H);
                if (!have || better(candidate, best)) {
                    best = std::move(candidate);
                    have = true;
                }
            }
        }
    };
    for (const auto& order : orders)
        tryOrder(order);
    auto offer = [&](SheetPlan candidate) {
        if (!have || better(candidate, best)) {
            best = std::move(candidate);
            have = true;
        }
    };
    if (!placeable.empty())
        offer(sheetBySheet(pieces, placeable, keys, W, H, kerf, nullptr, deadline));
    // Then shuffled variants of the area order while time remains and the bound is not met:
    // neighbour swaps for a sixth of the time, sheet by sheet with random leads to the half, and
    // emptying a sheet into the others for the rest.
    const Clock::time_point swapsUntil = start + (deadline - start) / 6;
    const Clock::time_point leadsUntil = start + (deadline - start) / 2;
    std::mt19937 random(12345);
    std::vector<int> order = orders.front();
    for (int tries = 0; have && static_cast<int>(best.sheets.size()) > bound &&
                        Clock::now() < swapsUntil && order.size() > 1 && tries < 400;
         ++tries) {
        // Swap a few neighbours: small changes to a good order.
        for (int k = 0; k < 3; ++k) {
            const size_t i = random() % (order.size() - 1);
            std::swap(order[i], order[i + 1]);
        }
        tryOrder(order);
    }
    // Then sheet by sheet with random leads, while time remains and the bound is not met.
    std::mt19937 leads(54321);
    while (have && static_cast<int>(best.sheets.size()) > bound && Clock::now() < leadsUntil)
        offer(sheetBySheet(pieces, placeable, keys, W, H, kerf, &leads, deadline));
    std::mt19937 moves(97531);
    SheetPlan trial = best;
    while (have && static_cast<int>(best.sheets.size()) > bound && Clock::now() < deadline) {
        if (withOneSheetLess(pieces, trial, keys, kerf, moves, deadline))
            best = trial;
        else if (trial.sheets.size() != best.sheets.size())
            trial = best;
    }
    if (!have) {
        best.sheetWidth = W;
        best.sheetHeight = H;
    }
    best.unplaced = std::move(unplaced);
    best.lowerBound = bound;
    best.proven = static_cast<int>(best.sheets.size()) == bound;
    best.millis = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    return best;
}
