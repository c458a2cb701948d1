#include "plan/SheetPlanner.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <limits>
#include <numeric>
#include <random>

namespace {

using Clock = std::chrono::steady_clock;

enum class Choice { BestArea, BestShortSide, First };
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
           Choice choice, Split split)
        : pieces_(pieces), W_(W), H_(H), kerf_(kerf), choice_(choice), split_(split) {}

    void pack(const std::vector<int>& order) {
        for (int p : order)
            place(p);
    }

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
    return std::max(byArea, static_cast<int>(apart.size()));
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
    using Key = std::function<bool(int, int)>;
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
    // Then shuffled variants of the area order while time remains and the bound is not met.
    std::mt19937 random(12345);
    std::vector<int> order = orders.front();
    for (int tries = 0; have && static_cast<int>(best.sheets.size()) > bound &&
                        Clock::now() < deadline && order.size() > 1 && tries < 400;
         ++tries) {
        // Swap a few neighbours: small changes to a good order.
        for (int k = 0; k < 3; ++k) {
            const size_t i = random() % (order.size() - 1);
            std::swap(order[i], order[i + 1]);
        }
        tryOrder(order);
    }
    if (!have) {
        best.sheetWidth = W;
        best.sheetHeight = H;
    }
    best.unplaced = std::move(unplaced);
    best.lowerBound = bound;
    best.millis = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    return best;
}
