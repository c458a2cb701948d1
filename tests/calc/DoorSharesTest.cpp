// Each door's share of the rollers, stoppers, brushes and seals, as the calculation records it for
// the door assembly sheet: the shares add up to the bill's quantities in every system, and the
// doors' tracks are those of the door set.
#include "support/SampleSystems.h"
#include "support/SystemBillSupport.h"

#include "calc/CalcResult.h"
#include "calc/DoorShares.h"
#include "calc/systems/DSSystemGartis.h"
#include "calc/systems/DSSystemLoven.h"
#include "catalog/RollerKit.h"
#include "model/DoorSet.h"

#include <numeric>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

using namespace outtest;

namespace {

using Kind = DoorShareKind;
using Spread = DoorShareSpread;

struct ExpectedLine {
    std::string code;
    Kind kind;
    Spread spread;
};

// The sample order of each system (three doors, two for Мелоза) and the lines it must share out.
struct SystemShares {
    const char* system;
    std::vector<ExpectedLine> lines;
};

void PrintTo(const SystemShares& s, std::ostream* out) {
    *out << s.system;
}

const SystemShares kSystems[] = {
    {"Ловен",
     {{"KL10/11B", Kind::Rollers, Spread::PerDoor},
      {"KL13", Kind::Brush, Spread::PerDoor},
      {"KL14", Kind::Stopper, Spread::PerDoor},
      {"KL17", Kind::Seal, Spread::PerDoor}}},
    {"Мелоза", {{"ME03", Kind::Rollers, Spread::PerDoor}, {"KL17", Kind::Seal, Spread::PerDoor}}},
    {"Тавро",
     {{"TL12-1", Kind::Rollers, Spread::KitForDoors},
      {"KS15", Kind::Seal, Spread::PerDoor},
      {"TL11", Kind::Seal, Spread::PerDoor}}},
    {"Стенвик",
     {{"KL13", Kind::Brush, Spread::PerDoor},
      {"KL14", Kind::Stopper, Spread::PerDoor},
      {"W1406", Kind::Rollers, Spread::PerDoor},
      {"KS15", Kind::Seal, Spread::PerDoor},
      {"TL11", Kind::Seal, Spread::PerDoor}}},
    {"Кверт-Н",
     {{"KL13", Kind::Brush, Spread::PerDoor},
      {"KL14", Kind::Stopper, Spread::PerDoor},
      {"KSA", Kind::Rollers, Spread::KitForDoors},
      {"TL11", Kind::Seal, Spread::PerDoor}}},
    {"Дарсо",
     {{"KL13", Kind::Brush, Spread::PerDoor},
      {"KL10/11B", Kind::Rollers, Spread::PerDoor},
      {"KL17", Kind::Seal, Spread::PerDoor},
      {"KD10", Kind::Seal, Spread::PerDoor}}},
    {"Гартис",
     {{"KG05", Kind::Rollers, Spread::PerDoor}, {"KG07", Kind::Stopper, Spread::BetweenDoors}}},
    {"Фольм",
     {{"KFR01", Kind::Rollers, Spread::KitForDoors}, {"KF06", Kind::Seal, Spread::PerDoor}}},
    {"Норсия",
     {{"KNR01", Kind::Rollers, Spread::KitForDoors}, {"KN17", Kind::Seal, Spread::PerDoor}}},
};

class DoorSharesTest : public testing::TestWithParam<SystemShares> {
protected:
    void SetUp() override { ASSERT_TRUE(buildSampleProject(world, GetParam().system)); }
    World world;
};

const DoorShareLine* shareLine(const CalcResult& r, const std::string& code) {
    for (const DoorShareLine& line : r.doorShares)
        if (line.code == code)
            return &line;
    return nullptr;
}

} // namespace

TEST_P(DoorSharesTest, EveryDoorsShareAddsUpToTheBilledQuantity) {
    const Project& p = *world.project;
    const CalcResult& r = p.result;
    const size_t doors = static_cast<size_t>(p.doors->doorsInUse());

    for (const ExpectedLine& expected : GetParam().lines) {
        const DoorShareLine* line = shareLine(r, expected.code);
        ASSERT_NE(line, nullptr) << expected.code << " is billed but not shared out";
        EXPECT_EQ(line->kind, expected.kind) << expected.code;
        EXPECT_EQ(line->spread, expected.spread) << expected.code;
        EXPECT_GT(line->billed, 0) << expected.code;
    }
    for (const DoorShareLine& line : r.doorShares) {
        const ArticleRow* row = billtest::findArticle(r, line.code);
        ASSERT_NE(row, nullptr) << line.code << " is shared out but not billed";
        EXPECT_EQ(line.billed, row->quantity) << line.code;
        EXPECT_EQ(line.counted, row->counted) << line.code;
        EXPECT_EQ(line.name, row->name) << line.code;
        if (line.spread != Spread::PerDoor) {
            EXPECT_TRUE(line.perDoor.empty()) << line.code;
            continue;
        }
        ASSERT_EQ(line.perDoor.size(), doors) << line.code;
        // Every door of the sample has rollers, stoppers, brushes, mirrors and panels of its own.
        int64_t sum = 0;
        for (const DoorShare& share : line.perDoor) {
            EXPECT_GT(share.amount, 0) << line.code;
            sum += share.amount;
            if (share.pieceCount > 0) {
                EXPECT_EQ(share.amount, int64_t{share.pieceCount} * share.pieceLength) << line.code;
            }
        }
        EXPECT_EQ(sum, line.billed) << line.code;
    }

    // The sample's doors alternate: door 0 on the rear track, door 1 in front of it.
    ASSERT_EQ(r.doorTracks.size(), doors);
    for (size_t i = 0; i < doors; ++i)
        EXPECT_EQ(r.doorTracks[i], i % 2 == 0 ? DoorTrack::Rear : DoorTrack::Front) << i;
}

INSTANTIATE_TEST_SUITE_P(Systems, DoorSharesTest, testing::ValuesIn(kSystems));

namespace {

struct OneOrder : testing::Test {
    World world;
    Project& p = *world.project;
    void use(const char* system) { ASSERT_TRUE(buildSampleProject(world, system)); }
    const DoorShareLine* line(const char* code) const { return shareLine(p.result, code); }
    std::vector<DoorTrack> tracks() const { return p.result.doorTracks; }
};

std::vector<int64_t> amounts(const DoorShareLine& line) {
    std::vector<int64_t> out;
    for (const DoorShare& s : line.perDoor)
        out.push_back(s.amount);
    return out;
}

} // namespace

TEST_F(OneOrder, BrushAndStoppersGoTwoPiecesAndOnePerDoor) {
    use("Стенвик");
    const int32_t edge = p.doors->doors[0].edges[EdgeLeft].cutLength;
    const DoorShareLine* brush = line("KL13");
    ASSERT_NE(brush, nullptr);
    for (const DoorShare& s : brush->perDoor) {
        EXPECT_EQ(s.pieceCount, 2);
        EXPECT_EQ(s.pieceLength, edge);
    }
    ASSERT_NE(line("KL14"), nullptr);
    EXPECT_EQ(amounts(*line("KL14")), (std::vector<int64_t>{1, 1, 1}));
}

TEST_F(OneOrder, ADoorWithoutGlassHasNoShareOfTheGlassSeal) {
    use("Норсия");
    for (auto& [id, in] : p.doors->doors[1].inserts)
        if (in.material != nullptr && in.material->thickness == 40)
            in.material = nullptr;
    p.recalculate(true);
    const DoorShareLine* seal = line("KN17");
    ASSERT_NE(seal, nullptr);
    const std::vector<int64_t> perDoor = amounts(*seal);
    ASSERT_EQ(perDoor.size(), 3u);
    EXPECT_GT(perDoor[0], 0);
    EXPECT_EQ(perDoor[1], 0);
    EXPECT_EQ(std::accumulate(perDoor.begin(), perDoor.end(), int64_t{0}), seal->billed);
}

TEST_F(OneOrder, KitsForSeveralDoorsAreNotSplitIntoDoors) {
    use("Тавро");
    ASSERT_TRUE(p.setDoorCount(4));
    const DoorShareLine* kit = line("TL12");
    ASSERT_NE(kit, nullptr);
    EXPECT_EQ(kit->spread, Spread::KitForDoors);
    EXPECT_EQ(kit->doorsPerKit, 2);
    EXPECT_EQ(kit->billed, 2);
    EXPECT_TRUE(kit->perDoor.empty());
}

TEST_F(OneOrder, OneTrackForEveryDoorWhereTheSystemHasOne) {
    use("Ловен");
    ASSERT_TRUE(p.setDoorCount(2));
    auto* loven = dynamic_cast<DSSystemLoven*>(p.system);
    ASSERT_NE(loven, nullptr);
    loven->choosePivotMode(*p.doors, true);
    p.recalculate(false);
    EXPECT_EQ(tracks(), std::vector<DoorTrack>(2, DoorTrack::Single));
    const DoorShareLine* pivot = line("KL16");
    ASSERT_NE(pivot, nullptr);
    EXPECT_EQ(amounts(*pivot), (std::vector<int64_t>{2, 2}));
    EXPECT_EQ(line("KL13"), nullptr);

    use("Мелоза");
    ASSERT_TRUE(p.toggleMountingMode());
    EXPECT_EQ(tracks(), std::vector<DoorTrack>(2, DoorTrack::Single));

    use("Гартис");
    auto* gartis = dynamic_cast<DSSystemGartis*>(p.system);
    ASSERT_NE(gartis, nullptr);
    gartis->nextRailVariant(); // the one-runner rail
    p.recalculate(false);
    EXPECT_EQ(tracks(), std::vector<DoorTrack>(3, DoorTrack::Single));
    EXPECT_EQ(line("KG07"), nullptr);

    // Doors the user put on one track share it, whatever the system.
    use("Стенвик");
    ASSERT_TRUE(p.setDoorTracks({1, 1, 1}));
    EXPECT_EQ(tracks(), std::vector<DoorTrack>(3, DoorTrack::Single));
    ASSERT_TRUE(p.setDoorTracks({1, 0, 1}));
    EXPECT_EQ(tracks(),
              (std::vector<DoorTrack>{DoorTrack::Front, DoorTrack::Rear, DoorTrack::Front}));
}

TEST(KitShares, EachDoorTakesAWholeEqualShareOrTheOrderKeepsTheQuantity) {
    // A kit of one door's rollers (packs per door): shares only when the quantity divides.
    const struct {
        int32_t quantity, doors;
        std::vector<int64_t> perDoor; // empty: "на заказ N шт." on every door's sheet
    } rows[] = {
        {4, 2, {2, 2}}, {6, 3, {2, 2, 2}}, {3, 2, {}}, {1, 2, {}}, {5, 1, {5}}, {2, 0, {}},
    };
    RollerKit kit(1, "R1", 0, "Ролики");
    kit.count = 1;
    for (const auto& row : rows) {
        CalcResult result;
        ArticleRow billed;
        billed.code = "R1";
        billed.counted = 1;
        billed.quantity = row.quantity;
        recordKitShares(result, kit, billed, row.doors);
        ASSERT_EQ(result.doorShares.size(), 1u);
        const DoorShareLine& line = result.doorShares[0];
        EXPECT_EQ(line.billed, row.quantity);
        EXPECT_EQ(line.spread, Spread::PerDoor);
        std::vector<int64_t> shares;
        for (const DoorShare& s : line.perDoor)
            shares.push_back(s.amount);
        EXPECT_EQ(shares, row.perDoor) << row.quantity << " for " << row.doors << " doors";
    }
    // A pack that serves two doors is the order's, never a door's.
    kit.perSet = 1;
    kit.count = 2;
    CalcResult result;
    ArticleRow billed;
    billed.counted = 1;
    billed.quantity = 2;
    recordKitShares(result, kit, billed, 4);
    EXPECT_EQ(result.doorShares.at(0).spread, Spread::KitForDoors);
    EXPECT_EQ(result.doorShares.at(0).doorsPerKit, 2);
    EXPECT_TRUE(result.doorShares.at(0).perDoor.empty());
}
