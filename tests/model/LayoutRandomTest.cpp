// Long random sequences of splits, moves, deletes, aligns and pastes must keep every door whole:
// the inserts tile the door exactly, every link names a splitter of the same door, lengths match
// positions, and no operation leaves a part under 20 mm. A refused operation changes nothing.
#include "support/LayoutHelpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using layout::placeOnScreen;

namespace {

// Everything the operations may change, as text, to compare before and after a refusal.
std::string snapshot(const Door& d) {
    std::ostringstream out;
    out << d.width << 'x' << d.height << ' ' << d.nextInsertId << ' ' << d.nextSplitterId << '|';
    for (const auto& [id, s] : d.splitters) {
        out << id << ':' << s.position << ',' << s.length << ',' << s.vertical << ',' << s.startId
            << ',' << s.endId << ';';
    }
    out << '|';
    for (const auto& [id, in] : d.inserts) {
        out << id << ':' << in.left << ',' << in.top << ',' << in.right << ',' << in.bottom << ','
            << in.leftId << ',' << in.topId << ',' << in.rightId << ',' << in.bottomId << ';';
    }
    return out.str();
}

bool ownsSplitter(const Door& d, const Splitter* s) {
    for (const auto& [id, own] : d.splitters) {
        if (&own == s) {
            return true;
        }
    }
    return false;
}

// Checks the door without the door's own fault finder: every cell of the grid spanned by all
// insert bounds lies in exactly one insert; links point into this door and match the ids.
void expectWhole(const Door& d, bool minimumParts, const std::string& context) {
    SCOPED_TRACE(context);
    ASSERT_EQ(d.layoutFault(), "");
    std::set<int32_t> xs{0, d.width};
    std::set<int32_t> ys{0, d.height};
    for (const auto& [id, in] : d.inserts) {
        xs.insert({in.left, in.right});
        ys.insert({in.top, in.bottom});
        if (minimumParts) {
            ASSERT_GE(in.width(), kMinInsertPart) << "insert " << id;
            ASSERT_GE(in.height(), kMinInsertPart) << "insert " << id;
        }
        const std::pair<int32_t, const Splitter*> bounds[] = {{in.leftId, in.leftSplitter},
                                                              {in.topId, in.topSplitter},
                                                              {in.rightId, in.rightSplitter},
                                                              {in.bottomId, in.bottomSplitter}};
        for (const auto& [bid, ptr] : bounds) {
            ASSERT_EQ(bid == 0, ptr == nullptr);
            if (ptr) {
                ASSERT_TRUE(ownsSplitter(d, ptr));
                ASSERT_EQ(ptr, &d.splitters.at(bid));
            }
        }
    }
    ASSERT_EQ(*xs.begin(), 0);
    ASSERT_EQ(*xs.rbegin(), d.width);
    ASSERT_EQ(*ys.begin(), 0);
    ASSERT_EQ(*ys.rbegin(), d.height);
    std::vector<int32_t> vx(xs.begin(), xs.end());
    std::vector<int32_t> vy(ys.begin(), ys.end());
    for (size_t i = 0; i + 1 < vx.size(); ++i) {
        for (size_t j = 0; j + 1 < vy.size(); ++j) {
            // Cell midpoints doubled to stay in integers.
            const int64_t cx = int64_t(vx[i]) + vx[i + 1];
            const int64_t cy = int64_t(vy[j]) + vy[j + 1];
            int holders = 0;
            for (const auto& [id, in] : d.inserts) {
                holders += (2 * int64_t(in.left) < cx && cx < 2 * int64_t(in.right) &&
                            2 * int64_t(in.top) < cy && cy < 2 * int64_t(in.bottom));
            }
            ASSERT_EQ(holders, 1) << "cell at " << vx[i] << "," << vy[j];
        }
    }
    for (const auto& [id, s] : d.splitters) {
        ASSERT_EQ(s.startId == 0, s.startSplitter == nullptr);
        ASSERT_EQ(s.endId == 0, s.endSplitter == nullptr);
        ASSERT_TRUE(!s.startSplitter || ownsSplitter(d, s.startSplitter));
        ASSERT_TRUE(!s.endSplitter || ownsSplitter(d, s.endSplitter));
        const int32_t from = s.startSplitter ? s.startSplitter->position : 0;
        const int32_t to =
            s.endSplitter ? s.endSplitter->position : (s.vertical ? d.height : d.width);
        ASSERT_EQ(s.length, to - from) << "splitter " << id;
        if (minimumParts) {
            ASSERT_GE(s.length, kMinInsertPart);
        }
    }
}

struct RandomDoors {
    std::mt19937 rng;
    explicit RandomDoors(unsigned seed) : rng(seed) {}

    int uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

    Splitter* anySplitter(Door& d) {
        if (d.splitters.empty()) {
            return nullptr;
        }
        auto it = d.splitters.begin();
        std::advance(it, uniform(0, static_cast<int>(d.splitters.size()) - 1));
        return &it->second;
    }

    // One random edit of door d (drawn at scale 1); `source` serves the pastes.
    std::string step(Door& d, Door& source, bool& refusedUnchanged) {
        refusedUnchanged = true;
        const std::string before = snapshot(d);
        std::string what;
        bool done = false;
        switch (uniform(0, 9)) {
        case 0:
        case 1:
        case 2:
        case 3: {
            const bool vertical = uniform(0, 1) == 1;
            what = "split";
            done = d.splitAtPoint({uniform(0, d.width - 1), uniform(0, d.height - 1)}, nullptr,
                                  vertical, 1.0) != nullptr;
            break;
        }
        case 4:
        case 5: {
            Splitter* s = anySplitter(d);
            what = "move";
            if (s) {
                const int limit = s->vertical ? d.width : d.height;
                // Mostly near the splitter, sometimes anywhere, at any 0.1 mm.
                const int target = uniform(0, 3) == 0 ? uniform(-100, limit + 100)
                                                      : s->position + uniform(-1500, 1500);
                done = d.moveSplitter(*s, target);
            }
            break;
        }
        case 6:
        case 7: {
            Splitter* s = anySplitter(d);
            what = "delete";
            if (s) {
                done = d.deleteSplitter(*s);
            }
            break;
        }
        case 8: {
            what = "align";
            // The calculation leaves the leading faces; the order is taken from them.
            for (auto& [id, s] : d.splitters) {
                s.edgeOffset = s.position - 15;
            }
            d.alignSplitters(uniform(0, 1) == 1);
            done = true;
            break;
        }
        default: {
            what = "paste";
            const int result = d.pasteFrom(&source);
            done = result == PasteDone;
            if (result != PasteDone && result != PasteRefused) {
                ADD_FAILURE() << "unexpected paste result " << result;
            }
            break;
        }
        }
        if (!done) {
            refusedUnchanged = snapshot(d) == before;
        }
        placeOnScreen(d, 1.0);
        return what + (done ? "" : " (refused)");
    }
};

} // namespace

TEST(LayoutRandom, LongEditSequencesKeepEveryDoorWhole) {
    int splits = 0;
    for (unsigned seed = 1; seed <= 20; ++seed) {
        RandomDoors r(seed);
        Door a;
        Door b;
        const int width = r.uniform(4000, 16000);
        const int height = r.uniform(15000, 26000);
        layout::sizeDoor(a, width, height);
        layout::sizeDoor(b, width, height);
        for (int i = 0; i < 400; ++i) {
            Door& d = (i % 7 == 6) ? b : a;
            Door& other = (&d == &a) ? b : a;
            bool unchanged = true;
            const std::string what = r.step(d, other, unchanged);
            const std::string context =
                "seed " + std::to_string(seed) + " step " + std::to_string(i) + " " + what;
            ASSERT_TRUE(unchanged) << context << ": a refused operation changed the door";
            expectWhole(d, true, context);
            if (::testing::Test::HasFatalFailure()) {
                return;
            }
            splits += static_cast<int>(d.splitters.size());
        }
    }
    EXPECT_GT(splits, 20 * 400) << "the sequences must actually build layouts";
}

TEST(LayoutRandom, ResizingAndPastingAcrossSizesKeepTheTiling) {
    for (unsigned seed = 100; seed < 130; ++seed) {
        RandomDoors r(seed);
        Door d;
        layout::sizeDoor(d, r.uniform(6000, 14000), r.uniform(15000, 24000));
        Door narrow;
        layout::sizeDoor(narrow, r.uniform(1000, 6000), d.height);
        for (int i = 0; i < 200; ++i) {
            bool unchanged = true;
            std::string what = r.step(d, narrow, unchanged);
            if (i % 25 == 24) {
                // The geometry update gives the door a new size.
                d.width = r.uniform(1000, 30000);
                d.height = r.uniform(1000, 30000);
                d.relayout(false);
                placeOnScreen(d, 1.0);
                what += " + resize";
            }
            if (i % 40 == 39) {
                const int result = narrow.pasteFrom(&d);
                what += " + paste onto narrow door";
                ASSERT_TRUE(result == PasteDone || result == PasteRefused);
                expectWhole(narrow, false, "narrow door after " + what);
                placeOnScreen(narrow, 1.0);
            }
            expectWhole(d, false,
                        "seed " + std::to_string(seed) + " step " + std::to_string(i) + " " + what);
            if (::testing::Test::HasFatalFailure()) {
                return;
            }
        }
    }
}
