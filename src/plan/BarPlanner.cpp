#include "plan/BarPlanner.h"

#include "plan/PatternBacktrack.h"
#include "plan/PatternDive.h"
#include "plan/PatternLp.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <map>
#include <numeric>
#include <tuple>

namespace {

using Clock = std::chrono::steady_clock;

// The pieces a dive leaves are fitted by the exhaustive search when there are this few, for at
// most this long.
constexpr int kFinishPieces = 24;
constexpr auto kFinishTime = std::chrono::milliseconds(2);
// At most this many fillings of one bar are tried at one step; a step with more proves nothing.
constexpr size_t kMostFillings = 4000;

// The objective, compared in this order: cost of new bars, number of new bars, their length.
using Score = std::tuple<int64_t, int64_t, int64_t>;
const Score kInfinite{std::numeric_limits<int64_t>::max(), 0, 0};

// A piece takes its length plus one kerf; a bar holds len + kerf up to its usable length plus one
// kerf (the last piece needs no cut behind it).
int64_t capacityOf(int32_t length, const BarPlanner::Options& o) {
    return int64_t{length} - 2 * int64_t{o.trim} + o.kerf;
}

struct Item {
    int64_t size;
    int count;
    std::vector<int> pieces; // indices of the pieces of this length
};

struct Type {
    int stock; // index into the caller's list (first of merged entries)
    int64_t capacity;
    int32_t length;
    int32_t cost;
    int available; // -1 unlimited
    bool offcut;
};

struct Bar {
    int type;
    std::vector<int> counts; // per item
};

class Search {
public:
    Search(std::vector<Item> items, std::vector<Type> types, int maxNew, Clock::time_point deadline,
           const std::atomic<bool>* stop)
        : items_(std::move(items)), types_(std::move(types)), maxNew_(maxNew), deadline_(deadline),
          stop_(stop) {
        left_.resize(items_.size());
        size_t pieces = 0;
        for (size_t i = 0; i < items_.size(); ++i) {
            left_[i] = items_[i].count;
            pieces += static_cast<size_t>(items_[i].count);
        }
        // Each level of the search keeps a pointer to the bar above it: no reallocation.
        current_.reserve(pieces + 1);
        used_.assign(types_.size(), 0);
        for (const Type& t : types_)
            if (!t.offcut)
                newTypes_.push_back(&t);
    }

    Score bound() { return remainingBound(); }

    // The search ends at a plan of no more than this cost and count.
    void setGoal(int64_t cost, int64_t bars) {
        goalCost_ = cost;
        goalBars_ = bars;
    }

    void offer(const std::vector<Bar>& bars) {
        Score s = scoreOf(bars);
        if (s < best_) {
            best_ = s;
            bestBars_ = bars;
        }
    }

    // Exhaustive when it returns true.
    bool run() {
        exhausted_ = true;
        dfs(Score{0, 0, 0}, -1, -1, nullptr);
        return exhausted_ && !stopped_;
    }

    const Score& best() const { return best_; }
    const std::vector<Bar>& bestBars() const { return bestBars_; }

    Score scoreOf(const std::vector<Bar>& bars) const {
        Score s{0, 0, 0};
        for (const Bar& b : bars) {
            const Type& t = types_[b.type];
            if (!t.offcut) {
                std::get<0>(s) += t.cost;
                std::get<1>(s) += 1;
                std::get<2>(s) += t.length;
            }
        }
        return s;
    }

private:
    // An infinite side (no way to finish) stays infinite instead of wrapping round.
    static Score add(const Score& a, const Score& b) {
        if (std::get<0>(a) == std::get<0>(kInfinite) || std::get<0>(b) == std::get<0>(kInfinite))
            return kInfinite;
        return {std::get<0>(a) + std::get<0>(b), std::get<1>(a) + std::get<1>(b),
                std::get<2>(a) + std::get<2>(b)};
    }

    int newUsed() const {
        int n = 0;
        for (size_t t = 0; t < types_.size(); ++t)
            if (!types_[t].offcut)
                n += used_[t];
        return n;
    }

    // A lower bound of the score still to pay for the pieces left: the offcuts are free and
    // count with their whole capacity; the pieces longer than half of the largest new bar
    // need a bar each; the new bars must cover the remaining length.
    Score remainingBound() {
        int64_t total = 0, smallest = 0;
        for (size_t i = 0; i < items_.size(); ++i) {
            if (left_[i] > 0) {
                total += items_[i].size * left_[i];
                smallest = items_[i].size;
            }
        }
        if (total == 0)
            return {0, 0, 0};
        int64_t largestNew = 0;
        for (const Type* t : newTypes_)
            largestNew = std::max(largestNew, t->capacity);
        int64_t freeCapacity = 0;
        int64_t bigCount = 0, bigSmallest = 0;
        for (size_t i = 0; i < items_.size(); ++i) {
            if (left_[i] > 0 && 2 * items_[i].size > largestNew) {
                bigCount += left_[i];
                bigSmallest = items_[i].size;
            }
        }
        int64_t absorbed = 0;
        for (size_t t = 0; t < types_.size(); ++t) {
            const Type& ty = types_[t];
            if (!ty.offcut || ty.capacity < smallest)
                continue;
            const int64_t n = ty.available - used_[t];
            freeCapacity += n * ty.capacity;
            if (bigCount > 0 && ty.capacity >= bigSmallest)
                absorbed += n;
        }
        const int64_t need = std::max<int64_t>(0, total - freeCapacity);
        const int64_t bigNeed = std::max<int64_t>(0, bigCount - absorbed);
        const int capLeft = maxNew_ < 0 ? std::numeric_limits<int>::max() : maxNew_ - newUsed();
        return coverBound(need, bigNeed, capLeft);
    }

    // Lexicographically least score of new bars whose capacities add up to `need` and that
    // number at least `bars` and at most `cap`.
    Score coverBound(int64_t need, int64_t bars, int cap) {
        if (need == 0 && bars == 0)
            return {0, 0, 0};
        const std::tuple<int64_t, int64_t, int> key{need, bars, cap};
        auto it = cache_.find(key);
        if (it != cache_.end())
            return it->second;
        Score best = kInfinite;
        std::vector<int64_t> x(newTypes_.size(), 0);
        enumerateCover(0, need, bars, cap, x, best);
        cache_.emplace(key, best);
        return best;
    }

    void enumerateCover(size_t k, int64_t need, int64_t bars, int cap, std::vector<int64_t>& x,
                        Score& best) {
        if (newTypes_.empty())
            return;
        const Type& t = *newTypes_[k];
        if (k + 1 == newTypes_.size()) {
            int64_t n = need > 0 ? (need + t.capacity - 1) / t.capacity : 0;
            n = std::max(n, bars);
            int64_t count = n;
            for (size_t j = 0; j < k; ++j)
                count += x[j];
            if (count > cap)
                return;
            Score s{n * t.cost, n, n * t.length};
            for (size_t j = 0; j < k; ++j)
                s = add(s, Score{x[j] * newTypes_[j]->cost, x[j], x[j] * newTypes_[j]->length});
            best = std::min(best, s);
            return;
        }
        const int64_t most =
            std::max<int64_t>(need > 0 ? (need + t.capacity - 1) / t.capacity : 0, bars);
        for (int64_t n = 0; n <= most; ++n) {
            x[k] = n;
            enumerateCover(k + 1, std::max<int64_t>(0, need - n * t.capacity),
                           std::max<int64_t>(0, bars - n), cap, x, best);
        }
        x[k] = 0;
    }

    bool timeUp() {
        // A node may enumerate thousands of fillings: the clock is read at every one.
        if ((stop_ != nullptr && stop_->load(std::memory_order_relaxed)) ||
            Clock::now() > deadline_)
            stopped_ = true;
        return stopped_;
    }

    // Every maximal filling of a bar of the given capacity that holds one piece of item `first`,
    // fullest first.
    std::vector<std::pair<int64_t, std::vector<int>>> patterns(size_t first, int64_t capacity) {
        std::vector<std::pair<int64_t, std::vector<int>>> out;
        std::vector<int> counts(items_.size(), 0);
        counts[first] = 1;
        fill(first, capacity - items_[first].size, counts, out);
        std::stable_sort(out.begin(), out.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        return out;
    }

    void fill(size_t j, int64_t room, std::vector<int>& counts,
              std::vector<std::pair<int64_t, std::vector<int>>>& out) {
        if (stopped_)
            return;
        if (out.size() >= kMostFillings) {
            exhausted_ = false; // fillings left out: the search no longer proves anything
            return;
        }
        if ((++fills_ & 1023) == 0 && Clock::now() > deadline_)
            stopped_ = true;
        if (j == items_.size()) {
            for (size_t i = 0; i < items_.size(); ++i) {
                if (left_[i] - counts[i] > 0 && items_[i].size <= room)
                    return; // another piece would still fit: not maximal
            }
            out.emplace_back(room, counts);
            return;
        }
        const int avail = left_[j] - counts[j];
        const int most = static_cast<int>(std::min<int64_t>(avail, room / items_[j].size));
        const int base = counts[j];
        for (int c = most; c >= 0; --c) {
            counts[j] = base + c;
            fill(j + 1, room - c * items_[j].size, counts, out);
        }
        counts[j] = base;
    }

    // Bars are opened in order of their longest piece; bars whose longest piece is of the same
    // item come in a fixed order of (type, counts) so that no set of bars is tried twice.
    void dfs(const Score& paid, int lastItem, int lastType, const std::vector<int>* lastCounts) {
        if (timeUp()) {
            exhausted_ = false;
            return;
        }
        size_t first = items_.size();
        for (size_t i = 0; i < items_.size(); ++i) {
            if (left_[i] > 0) {
                first = i;
                break;
            }
        }
        if (first == items_.size()) {
            if (paid < best_) {
                best_ = paid;
                bestBars_ = current_;
                // At the bound: nothing cheaper to find.
                if (std::get<0>(best_) <= goalCost_ && std::get<1>(best_) <= goalBars_)
                    stopped_ = true;
            }
            return;
        }
        if (!(add(paid, remainingBound()) < best_))
            return;
        const int newCount = newUsed();
        for (size_t t = 0; t < types_.size(); ++t) {
            const Type& ty = types_[t];
            if (ty.capacity < items_[first].size)
                continue;
            if (ty.offcut ? used_[t] >= ty.available : (maxNew_ >= 0 && newCount >= maxNew_))
                continue;
            const bool sameItem = static_cast<int>(first) == lastItem;
            if (sameItem && static_cast<int>(t) < lastType)
                continue;
            const Score step = ty.offcut ? Score{0, 0, 0} : Score{ty.cost, 1, ty.length};
            const Score after = add(paid, step);
            if (!(after < best_))
                continue;
            for (auto& [room, counts] : patterns(first, ty.capacity)) {
                if (sameItem && static_cast<int>(t) == lastType && lastCounts != nullptr &&
                    counts > *lastCounts)
                    continue;
                for (size_t i = 0; i < items_.size(); ++i)
                    left_[i] -= counts[i];
                ++used_[t];
                current_.push_back({static_cast<int>(t), counts});
                dfs(after, static_cast<int>(first), static_cast<int>(t), &current_.back().counts);
                current_.pop_back();
                --used_[t];
                for (size_t i = 0; i < items_.size(); ++i)
                    left_[i] += counts[i];
                if (stopped_)
                    return;
                if (!(after < best_))
                    break;
            }
        }
    }

    std::vector<Item> items_;
    std::vector<Type> types_;
    std::vector<const Type*> newTypes_;
    int maxNew_;
    Clock::time_point deadline_;
    const std::atomic<bool>* stop_;
    std::vector<int> left_;
    std::vector<int> used_;
    std::vector<Bar> current_;
    Score best_ = kInfinite;
    std::vector<Bar> bestBars_;
    std::map<std::tuple<int64_t, int64_t, int>, Score> cache_;
    uint64_t fills_ = 0;
    int64_t goalCost_ = -1;
    int64_t goalBars_ = -1;
    bool stopped_ = false;
    bool exhausted_ = true;
};

// First fit (or best fit: into the bar with least room) of the items, longest first, into the
// given types in order: offcuts before new bars. Returns false when a piece finds no room and no
// bar to open.
bool firstFit(const std::vector<Item>& items, const std::vector<Type>& types,
              const std::vector<int>& order, int maxNew, std::vector<Bar>& bars,
              bool bestFit = false) {
    std::vector<int64_t> room;
    std::vector<int> used(types.size(), 0);
    int newBars = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        for (int c = 0; c < items[i].count; ++c) {
            bool placed = false;
            size_t chosen = bars.size();
            for (size_t b = 0; b < bars.size(); ++b) {
                if (room[b] >= items[i].size && (chosen == bars.size() || room[b] < room[chosen])) {
                    chosen = b;
                    if (!bestFit)
                        break;
                }
            }
            if (chosen < bars.size()) {
                room[chosen] -= items[i].size;
                ++bars[chosen].counts[i];
                placed = true;
            }
            for (int t : order) {
                if (placed)
                    break;
                const Type& ty = types[t];
                if (ty.capacity < items[i].size)
                    continue;
                if (ty.offcut ? used[t] >= ty.available : (maxNew >= 0 && newBars >= maxNew))
                    continue;
                ++used[t];
                newBars += ty.offcut ? 0 : 1;
                bars.push_back({t, std::vector<int>(items.size(), 0)});
                bars.back().counts[i] = 1;
                room.push_back(ty.capacity - items[i].size);
                placed = true;
            }
            if (!placed)
                return false;
        }
    }
    return true;
}

// The bounds of the pattern relaxation, rounded up, and the plan rounded from its solution.
struct LpOutcome {
    bool bounded = false;
    int64_t costBound = 0;
    int barsBound = 0;
    std::vector<Bar> bars; // empty when rounding found no plan
};

// Objective of the relaxation: the cost of new bars, or their number when all cost the same.
PatternLp patternLpOf(const std::vector<Item>& items, const std::vector<Type>& types,
                      bool countBars, const std::vector<Bar>& start) {
    std::vector<int64_t> sizes;
    for (const Item& item : items)
        sizes.push_back(item.size);
    std::vector<PatternLp::Stock> stock;
    for (const Type& t : types)
        stock.push_back({t.capacity, t.offcut ? 0.0 : (countBars ? 1.0 : double(t.cost)),
                         t.offcut ? t.available : -1});
    PatternLp lp(std::move(sizes), std::move(stock));
    // Bars of one length each, as many pieces as fit, and the bars of the starting plan.
    for (size_t t = 0; t < types.size(); ++t) {
        for (size_t i = 0; i < items.size(); ++i) {
            if (items[i].size > types[t].capacity)
                continue;
            PatternLp::Pattern p{static_cast<int>(t), std::vector<int>(items.size(), 0)};
            p.counts[i] = static_cast<int>(
                std::min<int64_t>(items[i].count, types[t].capacity / items[i].size));
            lp.addPattern(p);
        }
    }
    for (const Bar& b : start)
        lp.addPattern({b.type, b.counts});
    return lp;
}

int64_t roundedUp(double value) {
    return static_cast<int64_t>(std::ceil(value - 1e-6 * std::max(1.0, std::abs(value))));
}

// Cost, count and length of the new bars.
Score scoreOf(const std::vector<Bar>& bars, const std::vector<Type>& types) {
    Score s{0, 0, 0};
    for (const Bar& b : bars) {
        const Type& t = types[static_cast<size_t>(b.type)];
        if (!t.offcut)
            s = {std::get<0>(s) + t.cost, std::get<1>(s) + 1, std::get<2>(s) + t.length};
    }
    return s;
}

// A plan rounded from the relaxation: the dive's bars, then the pieces left by first or best fit,
// whichever is cheaper. Empty when no plan keeps within maxNew.
std::vector<Bar> roundedPlan(PatternLp& lp, PatternDive::Step step, const std::vector<Item>& items,
                             const std::vector<Type>& types, std::vector<int>& demand,
                             std::vector<int>& available, double incumbent, int maxNew,
                             Clock::time_point deadline, const std::atomic<bool>* stop) {
    std::vector<PatternLp::Pattern> fixed =
        PatternDive::run(lp, step, demand, available, incumbent, deadline, stop);
    std::vector<Item> rest = items;
    std::vector<Type> restTypes = types;
    std::vector<int> order;
    int newFixed = 0;
    for (size_t i = 0; i < rest.size(); ++i)
        rest[i].count = demand[i];
    for (size_t t = 0; t < types.size(); ++t) {
        order.push_back(static_cast<int>(t));
        if (types[t].offcut)
            restTypes[t].available = available[t];
    }
    for (const PatternLp::Pattern& p : fixed)
        newFixed += types[static_cast<size_t>(p.stock)].offcut ? 0 : 1;
    if (maxNew >= 0 && newFixed > maxNew)
        return {};
    const int maxRest = maxNew < 0 ? -1 : maxNew - newFixed;
    std::vector<Bar> best;
    Score bestScore = kInfinite;
    for (bool bestFit : {false, true}) {
        std::vector<Bar> bars;
        for (const PatternLp::Pattern& p : fixed)
            bars.push_back({p.stock, p.counts});
        std::vector<Bar> tail;
        if (!firstFit(rest, restTypes, order, maxRest, tail, bestFit))
            continue;
        bars.insert(bars.end(), tail.begin(), tail.end());
        const Score s = scoreOf(bars, types);
        if (s < bestScore) {
            bestScore = s;
            best = std::move(bars);
        }
    }
    return best;
}

// The pieces left by a dive, fitted first fit and best fit and, when few, by the search with the
// budget as its goal. The budget is in the relaxation's objective: bars when they cost the same.
bool finishResidual(const std::vector<Item>& items, const std::vector<Type>& types,
                    const std::vector<int>& demand, const std::vector<int>& available,
                    bool countBars, double budget, Clock::time_point deadline,
                    const std::atomic<bool>* stop, std::vector<PatternLp::Pattern>& out) {
    std::vector<Item> rest = items;
    std::vector<Type> restTypes = types;
    std::vector<int> order;
    int pieces = 0;
    for (size_t i = 0; i < rest.size(); ++i) {
        rest[i].count = std::max(0, demand[i]);
        pieces += rest[i].count;
    }
    for (size_t t = 0; t < types.size(); ++t) {
        order.push_back(static_cast<int>(t));
        if (types[t].offcut)
            restTypes[t].available = std::max(0, available[t]);
    }
    const double eps = 1e-6 * std::max(1.0, std::abs(budget));
    auto objective = [&](const Score& s) {
        return double(countBars ? std::get<1>(s) : std::get<0>(s));
    };
    auto accept = [&](const std::vector<Bar>& bars) {
        if (objective(scoreOf(bars, restTypes)) > budget + eps)
            return false;
        for (const Bar& b : bars)
            out.push_back({b.type, b.counts});
        return true;
    };
    for (bool bestFit : {false, true}) {
        std::vector<Bar> bars;
        if (firstFit(rest, restTypes, order, -1, bars, bestFit) && accept(bars))
            return true;
    }
    if (pieces > kFinishPieces || budget < -eps)
        return false;
    const Clock::time_point until = std::min(deadline, Clock::now() + kFinishTime);
    Search search(rest, restTypes, -1, until, stop);
    if (countBars)
        search.setGoal(std::numeric_limits<int64_t>::max(), static_cast<int64_t>(budget + eps));
    else
        search.setGoal(static_cast<int64_t>(budget + eps), std::numeric_limits<int64_t>::max());
    search.run();
    return std::get<0>(search.best()) != std::get<0>(kInfinite) && accept(search.bestBars());
}

LpOutcome planByLp(const std::vector<Item>& items, const std::vector<Type>& types,
                   const std::vector<Bar>& start, const Score& startScore, int maxNew,
                   Clock::time_point deadline, const std::atomic<bool>* stop) {
    LpOutcome out;
    bool sameCost = true;
    int32_t newCost = -1;
    for (const Type& t : types) {
        if (t.offcut)
            continue;
        sameCost = sameCost && (newCost < 0 || newCost == t.cost);
        newCost = t.cost;
    }
    if (newCost < 0)
        return out; // offcuts only: the search alone
    const bool haveStart = std::get<0>(startScore) != std::get<0>(kInfinite);
    std::vector<int> demand, available;
    for (const Item& item : items)
        demand.push_back(item.count);
    for (const Type& t : types)
        available.push_back(t.offcut ? t.available : -1);

    PatternLp lp = patternLpOf(items, types, sameCost, start);
    const double incumbent =
        haveStart ? double(sameCost ? std::get<1>(startScore) : std::get<0>(startScore))
                  : LpSolver::kInfinity;
    const PatternLp::Result root = lp.solve(demand, available, incumbent, deadline, stop);
    if (!root.solved)
        return out;
    out.bounded = true;
    if (sameCost) {
        out.barsBound = static_cast<int>(roundedUp(root.bound));
        out.costBound = int64_t{out.barsBound} * newCost;
    } else {
        out.costBound = roundedUp(root.bound);
        PatternLp count = patternLpOf(items, types, true, start);
        const PatternLp::Result bars = count.solve(
            demand, available, haveStart ? double(std::get<1>(startScore)) : LpSolver::kInfinity,
            deadline, stop);
        if (bars.solved)
            out.barsBound = static_cast<int>(roundedUp(bars.bound));
    }

    // Dives that backtrack from a step the relaxation says cannot reach the bound, for half the
    // time; then, when they found no plan at the bound, plain dives for a plan close to it.
    const double target = sameCost ? double(out.barsBound) : double(out.costBound);
    const Clock::time_point half = Clock::now() + (deadline - Clock::now()) / 2;
    const PatternBacktrack::Result dive = PatternBacktrack::run(
        lp, demand, available, target, half, stop,
        [&](const std::vector<int>& d, const std::vector<int>& a, double budget,
            std::vector<PatternLp::Pattern>& bars) {
            return finishResidual(items, types, d, a, sameCost, budget, half, stop, bars);
        });
    if (dive.found) {
        for (const PatternLp::Pattern& p : dive.bars)
            out.bars.push_back({p.stock, p.counts});
        if (maxNew < 0 || std::get<1>(scoreOf(out.bars, types)) <= maxNew)
            return out;
        out.bars.clear();
    }
    // Whole parts first (quick on large orders), then bar by bar while the bound is not met.
    for (PatternDive::Step step : {PatternDive::Step::WholeParts, PatternDive::Step::OneBar}) {
        if (!out.bars.empty()) {
            const Score s = scoreOf(out.bars, types);
            if (std::get<0>(s) <= out.costBound && std::get<1>(s) <= out.barsBound)
                break;
        }
        if (Clock::now() > deadline || (stop != nullptr && stop->load()))
            break;
        std::vector<int> d = demand, a = available;
        std::vector<Bar> bars =
            roundedPlan(lp, step, items, types, d, a, incumbent, maxNew, deadline, stop);
        if (!bars.empty() && (out.bars.empty() || scoreOf(bars, types) < scoreOf(out.bars, types)))
            out.bars = std::move(bars);
    }
    return out;
}

double millisSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Groups the pieces that fit some bar into items by length, longest first; the others are
// unplaced.
std::vector<Item> itemsOf(const std::vector<BarPlanPiece>& pieces, int64_t largest,
                          const BarPlanner::Options& o, std::vector<int>& unplaced) {
    std::map<int64_t, Item, std::greater<>> bySize;
    for (size_t i = 0; i < pieces.size(); ++i) {
        const int64_t size = int64_t{pieces[i].length} + o.kerf;
        if (pieces[i].length <= 0 || size > largest) {
            unplaced.push_back(static_cast<int>(i));
            continue;
        }
        Item& item = bySize[size];
        item.size = size;
        ++item.count;
        item.pieces.push_back(static_cast<int>(i));
    }
    std::vector<Item> items;
    for (auto& [size, item] : bySize)
        items.push_back(std::move(item));
    return items;
}

std::vector<Type> typesOf(const std::vector<BarStock>& stock, const BarPlanner::Options& o) {
    std::vector<Type> types;
    for (size_t s = 0; s < stock.size(); ++s) {
        const BarStock& b = stock[s];
        const int64_t capacity = capacityOf(b.length, o);
        if (b.length <= 0 || capacity <= o.kerf || (b.offcut && b.available <= 0))
            continue;
        auto same = std::find_if(types.begin(), types.end(), [&](const Type& t) {
            return t.offcut == b.offcut && t.length == b.length && (b.offcut || t.cost == b.cost);
        });
        if (same != types.end()) {
            if (b.offcut)
                same->available += b.available;
            continue;
        }
        types.push_back({static_cast<int>(s), capacity, b.length, b.offcut ? 0 : b.cost,
                         b.offcut ? b.available : -1, b.offcut});
    }
    // Offcuts first, shortest first (use up the small ones); then new bars, cheapest per length.
    std::stable_sort(types.begin(), types.end(), [](const Type& a, const Type& b) {
        if (a.offcut != b.offcut)
            return a.offcut;
        if (a.offcut)
            return a.length < b.length;
        return a.cost * b.capacity < b.cost * a.capacity;
    });
    return types;
}

BarPlan planOf(const std::vector<BarPlanPiece>& pieces, const std::vector<Item>& items,
               const std::vector<Type>& types, const std::vector<Bar>& bars,
               const BarPlanner::Options& o) {
    BarPlan plan;
    std::vector<size_t> next(items.size(), 0);
    for (const Bar& b : bars) {
        const Type& t = types[b.type];
        PlannedBar bar;
        bar.stock = t.stock;
        bar.length = t.length;
        bar.fromOffcut = t.offcut;
        bar.cost = t.offcut ? 0 : t.cost;
        std::vector<int32_t> lengths;
        for (size_t i = 0; i < items.size(); ++i) {
            for (int c = 0; c < b.counts[i]; ++c) {
                const int p = items[i].pieces[next[i]++];
                bar.pieces.push_back(p);
                lengths.push_back(pieces[p].length);
            }
        }
        bar.offcut = BarPlanner::leftover(bar.length, lengths, o);
        if (t.offcut) {
            ++plan.offcutsUsed;
        } else {
            ++plan.newBars;
            plan.cost += bar.cost;
            plan.newLength += bar.length;
        }
        plan.bars.push_back(std::move(bar));
    }
    // Offcuts first, then new bars, each fullest first.
    std::stable_sort(plan.bars.begin(), plan.bars.end(),
                     [](const PlannedBar& a, const PlannedBar& b) {
                         if (a.fromOffcut != b.fromOffcut)
                             return a.fromOffcut;
                         return a.offcut < b.offcut;
                     });
    return plan;
}

} // namespace

int32_t BarPlanner::leftover(int32_t barLength, const std::vector<int32_t>& pieceLengths,
                             const Options& o) {
    int64_t left = int64_t{barLength} - 2 * int64_t{o.trim};
    for (int32_t len : pieceLengths)
        left -= int64_t{len} + o.kerf;
    return static_cast<int32_t>(std::max<int64_t>(0, left));
}

BarPlan BarPlanner::plan(const std::vector<BarPlanPiece>& pieces,
                         const std::vector<BarStock>& stock, const Options& options) {
    const Clock::time_point start = Clock::now();
    const std::vector<Type> types = typesOf(stock, options);
    int64_t largest = 0;
    for (const Type& t : types)
        largest = std::max(largest, t.capacity);
    std::vector<int> unplaced;
    std::vector<Item> items = itemsOf(pieces, largest, options, unplaced);

    const Clock::time_point deadline =
        start + std::chrono::microseconds(static_cast<int64_t>(options.timeLimitMs * 1000.0));
    // The relaxation and its rounding may take four fifths of the time (large orders need it),
    // the search has whatever is left.
    const Clock::time_point lpDeadline =
        start + std::chrono::microseconds(static_cast<int64_t>(options.timeLimitMs * 800.0));
    int lpBars = 0;
    auto attempt = [&](int maxNew, BarPlan& out) {
        Search search(items, types, maxNew, deadline, options.stop);
        const Score rootBound = search.bound();
        // Starting plans: first fit with the offcuts and then each new length alone, and with
        // all lengths in order of their price per metre.
        std::vector<int> offcuts, all;
        for (size_t t = 0; t < types.size(); ++t) {
            all.push_back(static_cast<int>(t));
            if (types[t].offcut)
                offcuts.push_back(static_cast<int>(t));
        }
        for (size_t t = 0; t < types.size(); ++t) {
            if (types[t].offcut)
                continue;
            std::vector<int> order = offcuts;
            order.push_back(static_cast<int>(t));
            std::vector<Bar> bars;
            if (firstFit(items, types, order, maxNew, bars))
                search.offer(bars);
        }
        std::vector<Bar> mixed;
        if (firstFit(items, types, all, maxNew, mixed))
            search.offer(mixed);
        const bool finite = std::get<0>(rootBound) != std::get<0>(kInfinite);
        bool proven = search.best() == rootBound && finite;
        LpOutcome lp;
        if (!proven && finite) {
            lp = planByLp(items, types, search.bestBars(), search.best(), maxNew, lpDeadline,
                          options.stop);
            if (!lp.bars.empty())
                search.offer(lp.bars);
            lpBars = std::max(lpBars, lp.barsBound);
            proven = lp.bounded && std::get<0>(search.best()) <= lp.costBound &&
                     std::get<1>(search.best()) <= lp.barsBound;
        }
        if (!proven && finite) {
            if (lp.bounded)
                search.setGoal(lp.costBound, lp.barsBound);
            // The search may end at the bound without finishing.
            proven = search.run() || search.best() == rootBound ||
                     (lp.bounded && std::get<0>(search.best()) <= lp.costBound &&
                      std::get<1>(search.best()) <= lp.barsBound);
        }
        if (std::get<0>(search.best()) == std::get<0>(kInfinite))
            return false;
        out = planOf(pieces, items, types, search.bestBars(), options);
        out.proven = proven;
        out.costLowerBound = std::max(std::get<0>(rootBound), lp.costBound);
        return true;
    };

    BarPlan result;
    if (!items.empty()) {
        if (!attempt(options.maxNewBars, result) && options.maxNewBars >= 0)
            attempt(-1, result);
    } else {
        result.proven = true;
    }
    result.unplaced = std::move(unplaced);

    // Bars bound: offcuts take what they can hold, the longest new bar the rest; pieces longer
    // than half the longest new bar need one each.
    int64_t total = 0, largestNew = 0, freeCapacity = 0;
    for (const Item& item : items)
        total += item.size * item.count;
    for (const Type& t : types) {
        if (t.offcut)
            freeCapacity += t.capacity * t.available;
        else
            largestNew = std::max(largestNew, t.capacity);
    }
    if (largestNew > 0) {
        int64_t big = 0;
        for (const Item& item : items)
            big += 2 * item.size > largestNew ? item.count : 0;
        int64_t bigOffcuts = 0;
        for (const Type& t : types)
            bigOffcuts += t.offcut && 2 * t.capacity > largestNew ? t.available : 0;
        const int64_t need = std::max<int64_t>(0, total - freeCapacity);
        result.lowerBound = static_cast<int>(
            std::max((need + largestNew - 1) / largestNew, std::max<int64_t>(0, big - bigOffcuts)));
        result.lowerBound = std::max(result.lowerBound, lpBars);
    }
    result.millis = millisSince(start);
    return result;
}

BarPlan BarPlanner::firstFitDecreasing(const std::vector<BarPlanPiece>& pieces,
                                       const BarStock& stock, const Options& options) {
    const Clock::time_point start = Clock::now();
    BarStock only = stock;
    only.offcut = false;
    only.available = -1;
    const std::vector<Type> types = typesOf({only}, options);
    std::vector<int> unplaced;
    std::vector<Item> items =
        itemsOf(pieces, types.empty() ? 0 : types[0].capacity, options, unplaced);
    std::vector<Bar> bars;
    BarPlan result;
    if (!types.empty() && firstFit(items, types, {0}, -1, bars))
        result = planOf(pieces, items, types, bars, options);
    result.unplaced = std::move(unplaced);
    result.millis = millisSince(start);
    return result;
}
