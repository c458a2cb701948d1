// One whole order a system, worked out by hand: a 3000 × 2400 mm opening, a few splitters,
// mirrors and panels in the inserts, and every row of the bill, the cut list, the fillings and the
// filling pieces compared with the hand computation. Гартис (its frame variant) and Ловен (its
// own materials and the totals) have their whole orders beside their other tests.
#include "support/SystemBillSupport.h"

#include <ostream>
#include <vector>

using namespace billtest;

namespace {

// A splitter put into door `door` (see SystemBillTest::split); otherSystem takes the profile from
// the whole catalog instead of the system's own list.
struct SplitStep {
    int door;
    int32_t pos;
    bool vertical;
    int32_t inside;
    const char* profile;
    bool otherSystem = false;
};

struct MaterialStep {
    int door;
    int insert;
    const char* key;
};

struct DoorWidth {
    int door;
    int32_t width;
};

struct HandWorkedBill {
    const char* name;
    const char* system;
    const char* prices;
    const char* colors;
    // What the project chooses by itself, checked before anything is worked out.
    const char* handle;
    const char* color;
    const char* splitter = nullptr; // checked when given
    int doorCount = 0;              // checked when given
    int32_t openingWidth = 0;       // set when given, before the height of 2400 mm
    int32_t doorHeight;
    std::vector<DoorWidth> doorWidths;
    int32_t nominalWidth;
    std::vector<SplitStep> splits;
    std::vector<MaterialStep> materials;
    std::vector<Art> articles;
    std::vector<Cut> cuts;
    std::vector<Fill> fillings;
    std::vector<Piece> pieces;
    // Checks of this system's own, after the lists.
    void (*moreChecks)(const Project&) = nullptr;
};

void PrintTo(const HandWorkedBill& bill, std::ostream* out) {
    *out << bill.name;
}

class WholeBillTest : public SystemBillTest,
                      public ::testing::WithParamInterface<HandWorkedBill> {};

TEST_P(WholeBillTest, MatchesTheHandComputation) {
    const HandWorkedBill& bill = GetParam();
    build(bill.system, bill.prices, bill.colors);
    ASSERT_EQ(project->handleProfile->code, bill.handle);
    ASSERT_EQ(project->color->code, bill.color);
    if (bill.splitter != nullptr) {
        ASSERT_EQ(project->splitterProfile->code, bill.splitter);
    }
    if (bill.openingWidth != 0) {
        ASSERT_TRUE(project->setOpeningWidth(bill.openingWidth));
    }
    ASSERT_TRUE(project->setHeight(24000));
    if (bill.doorCount != 0) {
        ASSERT_EQ(project->doorCount, bill.doorCount);
    }

    ASSERT_EQ(door(0).height, bill.doorHeight);
    for (const DoorWidth& w : bill.doorWidths) {
        ASSERT_EQ(door(w.door).width, w.width) << "door " << w.door;
    }
    EXPECT_EQ(doors().doorsNominalWidth, bill.nominalWidth);

    for (const SplitStep& s : bill.splits) {
        const SplitterProfile* profile =
            s.otherSystem ? catalog->splitterByCode(s.profile) : splitterProfile(s.profile);
        ASSERT_NE(profile, nullptr) << s.profile;
        ASSERT_NE(calctest::split(door(s.door), s.pos, s.vertical, s.inside, profile), nullptr)
            << "split of door " << s.door << " at " << s.pos;
    }
    for (const MaterialStep& m : bill.materials)
        door(m.door).inserts.at(m.insert).material = material(m.key);
    project->recalculate(true);

    const CalcResult& r = project->result;
    expectArticles(r, bill.articles);
    expectCuts(r, bill.cuts);
    expectFillings(r, bill.fillings);
    expectPieces(r, bill.pieces);
    if (bill.moreChecks != nullptr && !HasFatalFailure())
        bill.moreChecks(*project);
}

// The project's colour "Белый глянец" (KD01 offers it) is in category 2 ("премиум") for Дарсо.
const char* const kDarsoPrices = "KD01;;500\n"
                                 "KD01;премиум;550\n"
                                 "KD07;;200\n"
                                 "KD07;премиум;220\n"
                                 "KD08;;150\n"
                                 "KD09;;180\n"
                                 "KD09;премиум;190\n"
                                 "KL02;;120\n"
                                 "KL02;премиум;130\n"
                                 "KL05;;110\n"
                                 "KL13;;10\n"
                                 "KL13;премиум;20\n"
                                 "KL10/11B;;900\n"
                                 "KL10/11B;премиум;1000\n"
                                 "KL17;;40\n"
                                 "KL17;премиум;50\n"
                                 "KD10;;25\n";
const HandWorkedBill kDarsoBill{
    .name = "Darso",
    .system = "Дарсо",
    .prices = kDarsoPrices,
    .colors = "цвет;Дарсо\nБелый глянец;премиум\n",
    .handle = "KD01",
    .color = "Белый глянец",
    // Height 24000 - 400 = 23600. Width (2 × 120 + 30000 - 2 × 30) / 3 = 10060.
    .doorHeight = 23600,
    .doorWidths = {{0, 10060}},
    .nominalWidth = 30180,
    // KD09: face 2,3 mm (half 1,1), seat 5 mm. Edges KD08 / KD07: dimA 11, face 1,5 mm.
    // Door 0: a rail at 1000 mm. Door 1: a rail at 1200 mm, above it an upright at 500 mm.
    .splits = {{0, 10000, false, 5000, "KD09"},
               {1, 12000, false, 5000, "KD09"},
               {1, 5000, true, 5000, "KD09"}},
    .materials = {{0, 1, "zr.jpg"},
                  {0, 2, "p10.jpg"},
                  {1, 1, "zr.jpg"},
                  {1, 2, "p10.jpg"},
                  {2, 1, "zr.jpg"}},
    // Numbering: door 0 edges 1-4, rail 5, inserts 1-2; door 1 edges 6-9, rail 10, upright 11,
    // inserts 3 (upper left), 4 (lower), 5 (upper right, empty); door 2 edges 12-15, insert 6.
    // Rails: 10060 - 2 × 100 = 9860. Upright: 12000 - 110 (KD08 dimA) + (11 - 50) = 11851.
    // Edges top and bottom: 10060 - 2 × 100 = 9860.
    //
    // 1. Door frame group: 6 × 23600 in 5500 mm bars, two per bar: 3 × int(55000 × 5,5) = 907500.
    // 2. KD07: 3 × 9860 = 29580 × 220,00 = 65076.  3. KD08: 29580 × 150,00 = 44370.
    // 4. KD09: 9860 + 9860 + 11851 = 31571 × 190,00 = 59984.
    // 5-6. KL02 3000 mm × 130,00 = 39000; KL05 × 110,00 = 33000.
    // 7. KL13: 23600 × 3 × 2 = 141600 × 10,00 (first price) = 14160.
    // 8. KL10/11B × 3 (one per door) at the base price 900,00.
    // 9-10. Glass seals (fitted sizes below): door 0 top: frame above and at both sides
    //    (9990 + 2 × 9954), KD09 below (9990); door 1 upper left: frame above and left
    //    (4944 + 11954), KD09 below and right (4944 + 11954); door 2: frame all round
    //    (2 × 9990 + 2 × 23550). KL17 = 113876 × 40,00 = 45550; KD10 = 26888 × 25,00 = 6722.
    .articles = {{"KD01", 55000, 3, 907500, 1},
                 {"KD07", 0, 29580, 65076, 0},
                 {"KD08", 0, 29580, 44370, 0},
                 {"KD09", 0, 31571, 59984, 0},
                 {"KL02", 0, 30000, 39000, 0},
                 {"KL05", 0, 30000, 33000, 0},
                 {"KL13", 0, 141600, 14160, 0},
                 {"KL10/11B", 0, 3, 270000, 1},
                 {"KL17", 0, 113876, 45550, 0},
                 {"KD10", 0, 26888, 6722, 0}},
    .cuts = {{"1-1", "KD01", "2360,0", "1", 0},  {"1-2", "KD01", "2360,0", "3", 0},
             {"1-3", "KD01", "2360,0", "6", 1},  {"1-4", "KD01", "2360,0", "8", 1},
             {"1-5", "KD01", "2360,0", "12", 2}, {"1-6", "KD01", "2360,0", "14", 2},
             {"2-1", "KD07", "986,0", "4", 0},   {"2-2", "KD07", "986,0", "9", 1},
             {"2-3", "KD07", "986,0", "15", 2},  {"3-1", "KD08", "986,0", "2", 0},
             {"3-2", "KD08", "986,0", "7", 1},   {"3-3", "KD08", "986,0", "13", 2},
             {"4-1", "KD09", "986,0", "5", 0},   {"4-2", "KD09", "986,0", "10", 1},
             {"4-3", "KD09", "1185,1", "11", 1}, {"5-0", "KL02", "3000,0", "0", -1},
             {"6-0", "KL05", "3000,0", "0", -1}, {"7-0", "KL13", "14160,0", "0", -1},
             {"8-0", "KL10/11B", "3", "0", -1},  {"9-0", "KL17", "11387,6", "0", -1},
             {"10-0", "KD10", "2688,8", "0", -1}},
    // Fillings (faces: edges 1,5 mm above and below, KD01 2,5 mm at the sides, KD09 half 1,1):
    //   door 0 top (mirror): y 15, h 10000 - 11 - 15 = 9974, x 25, w 10060 - 50 = 10010;
    //     a 4 mm filling loses 1 mm all round: w 9990, h 9954.
    //   door 0 bottom (panel): h 23600 - 10011 - 15 = 13574, w 10010.
    //   door 1 upper left (mirror): h 12000 - 11 - 15 = 11974, w 5000 - 11 - 25 = 4964;
    //     fitted 4944 × 11954.
    //   door 1 lower (panel): h 23600 - 12011 - 15 = 11574, w 10010.
    //   door 1 upper right (empty): w 10060 - 25 - 5011 = 5024, h 11974.
    //   door 2 (mirror): h 23600 - 30 = 23570, w 10010; fitted 9990 × 23550.
    // P10: 1,001 × (1,3574 + 1,1574) = 2,5173148 m², ceil(150000 × …) = 377598.
    // ZR4: 0,999 × 0,9954 + 0,4944 × 1,1954 + 0,999 × 2,355 = 3,93805536 m² → 787612.
    // Without material: 0,5024 × 1,1974 = 0,60157376 m².
    .fillings = {{"P10", 100, 2.5173148, 377598},
                 {"ZR4", 40, 3.93805536, 787612},
                 {"ВНИМАНИЕ", 0, 0.60157376, 0}},
    .pieces = {{"1-1", "P10", "1357", "1001", "2", 0},
               {"1-2", "P10", "1157", "1001", "4", 1},
               {"2-1", "ZR4", "995", "999", "1", 0},
               {"2-2", "ZR4", "1195", "494", "3", 1},
               {"2-3", "ZR4", "2355", "999", "6", 2}},
};

// The project's colour becomes KF02's only one, "Хром матовый (анод)", in category 3 ("анод")
// for Фольм.
const char* const kFolmPrices = "KF02;;400\n"
                                "KF02;анод;450\n"
                                "KF03;;150\n"
                                "KF03;анод;170\n"
                                "KF04;;20\n"
                                "KF04;анод;25\n"
                                "KF01;;100\n"
                                "KF05;;90\n"
                                "KF05;анод;95\n"
                                "KF07;;60\n"
                                "KF07;анод;70\n"
                                "KFR01;;1200\n"
                                "KFR01;анод;1300\n"
                                "KFR03;;300\n"
                                "KFR03;анод;350\n"
                                "KF06;;15\n"
                                "KF06;анод;18\n";
const HandWorkedBill kFolmBill{
    .name = "Folm",
    .system = "Фольм",
    .prices = kFolmPrices,
    .colors = "цвет;Фольм\nХром матовый (анод);анод\n",
    .handle = "KF02",
    .color = "Хром матовый (анод)",
    // Doors 24000 - 160 - 650 + 430 = 23620 high; width (30000 - 40 + 2 × 140) / 3 = 10080.
    .doorHeight = 23620,
    .doorWidths = {{0, 10080}},
    .nominalWidth = 30240,
    // KF02: dimA 14, depth 14, face 1,2 mm, 5500 mm bars. KF03: face 4 mm (half 2), seat 6 mm.
    // Door 0: a rail at 1000 mm. Door 1: a rail at 1200 mm, below it an upright at 500 mm.
    .splits = {{0, 10000, false, 5000, "KF03"},
               {1, 12000, false, 5000, "KF03"},
               {1, 5000, true, 20000, "KF03"}},
    .materials = {{0, 1, "zr.jpg"},
                  {0, 2, "p10.jpg"},
                  {1, 1, "p10.jpg"},
                  {1, 2, "zr.jpg"},
                  {2, 1, "zr.jpg"}},
    // Numbering: door 0 edges 1-4, rail 5, inserts 1-2; door 1 edges 6-9, rail 10, upright 11,
    // inserts 3 (top), 4 (lower left), 5 (lower right, empty); door 2 edges 12-15, insert 6.
    // Rails: 10080 - 2 × 140 = 9800. Upright: 11620 - 60 (rail seat) - 140 (bottom dimA) = 11420.
    // Strips: rails 9800 - 2 × 570 = 8660; upright 11420 - 40 - 570 = 10810.
    //
    // 1. Frame group, 5500 mm bars, packed verticals first: 6 × 23620 (two per bar: 3 bars, the
    //    third holding 47240), then 6 × 10080: the first opens bar 4 (57320 > 55000), five fit
    //    it (50400), the sixth opens bar 5: 5 × int(45000 × 5,5) = 1237500.
    // 2. KF03 by length: 9800 + 9800 + 11420 = 31020 × 170,00 = 52734.
    // 3. KF04: 8660 + 8660 + 10810 = 28130 × 25,00 = 7032.
    // 4-5. KF01 and KF05: 30000 - 32 = 29968 × 100,00 = 29968 and × 95,00 = 28469.
    // 6. KF07: 2 × 23620 = 47240 × 70,00 = 33068.
    // 7. KFR01: ceil(3 / 2) = 2 × 1200,00 (base price).  KFR03: 2 × 300,00, no cut row.
    // 8. KF06 round the mirrors (fitted sizes below): 2 × (10026 + 9938) + 2 × (4938 + 11558) +
    //    2 × (10026 + 23566) = 140104 × 15,00 = 21015.
    .articles = {{"KF02", 55000, 5, 1237500, 1},
                 {"KF03", 0, 31020, 52734, 0},
                 {"KF04", 0, 28130, 7032, 0},
                 {"KF01", 0, 29968, 29968, 0},
                 {"KF05", 0, 29968, 28469, 0},
                 {"KF07", 0, 47240, 33068, 0},
                 {"KFR01", 0, 2, 240000, 1},
                 {"KFR03", 0, 2, 60000, 1},
                 {"KF06", 0, 140104, 21015, 0}},
    .cuts = {{"1-1", "KF02", "2362,0", "1", 0},   {"1-2", "KF02", "2362,0", "3", 0},
             {"1-3", "KF02", "1008,0", "2", 0},   {"1-4", "KF02", "1008,0", "4", 0},
             {"1-5", "KF02", "2362,0", "6", 1},   {"1-6", "KF02", "2362,0", "8", 1},
             {"1-7", "KF02", "1008,0", "7", 1},   {"1-8", "KF02", "1008,0", "9", 1},
             {"1-9", "KF02", "2362,0", "12", 2},  {"1-10", "KF02", "2362,0", "14", 2},
             {"1-11", "KF02", "1008,0", "13", 2}, {"1-12", "KF02", "1008,0", "15", 2},
             {"2-1", "KF03", "980,0", "5", 0},    {"2-2", "KF03", "980,0", "10", 1},
             {"2-3", "KF03", "1142,0", "11", 1},  {"3-1", "KF04", "866,0", "5", 0},
             {"3-2", "KF04", "866,0", "10", 1},   {"3-3", "KF04", "1081,0", "11", 1},
             {"4-0", "KF01", "2996,8", "0", -1},  {"5-0", "KF05", "2996,8", "0", -1},
             {"6-0", "KF07", "4724,0", "0", -1},  {"7-0", "KFR01", "2", "0", -1},
             {"8-0", "KF06", "14010,4", "0", -1}},
    // Fillings (faces 1,2 mm all round, rails half 2 mm; every insert is bounded):
    //   door 0 top (mirror): y 12, h 10000 - 20 - 12 = 9968, w 10080 - 24 = 10056; a 4 mm
    //     filling loses 1,5 mm all round: 10026 × 9938.
    //   door 0 bottom (panel): h 23620 - 10020 - 12 = 13588; 10 mm loses 0,5 mm: 10046 × 13578.
    //   door 1 top (panel): h 12000 - 20 - 12 = 11968 → 10046 × 11958.
    //   door 1 lower left (mirror): h 23620 - 12020 - 12 = 11588, w 5000 - 20 - 12 = 4968 →
    //     4938 × 11558.
    //   door 1 lower right (empty): w 10080 - 12 - 5020 = 5048, h 11588.
    //   door 2 (mirror): h 23620 - 24 = 23596 → 10026 × 23566.
    // P10: 1,0046 × (1,3578 + 1,1958) = 2,56534656 m², ceil(150000 × …) = 384802.
    // ZR4: 1,0026 × 0,9938 + 0,4938 × 1,1558 + 1,0026 × 2,3566 = 3,92984508 m² → 785970.
    // Without material: 0,5048 × 1,1588 = 0,58496224 m².
    .fillings = {{"P10", 100, 2.56534656, 384802},
                 {"ZR4", 40, 3.92984508, 785970},
                 {"ВНИМАНИЕ", 0, 0.58496224, 0}},
    .pieces = {{"1-1", "P10", "1358", "1005", "2", 0},
               {"1-2", "P10", "1196", "1005", "3", 1},
               {"2-1", "ZR4", "994", "1003", "1", 0},
               {"2-2", "ZR4", "1156", "494", "4", 1},
               {"2-3", "ZR4", "2357", "1003", "6", 2}},
};

// The project's colour becomes KQ01's first, "Хром матовый (анод)", in category 3 ("анод") for
// Кверт-Н.
const char* const kKvertPrices = "KQ01;;600\n"
                                 "KQ01;анод;650\n"
                                 "TL08;;300\n"
                                 "TL13;;200\n"
                                 "TL13;анод;230\n"
                                 "KL02;;120\n"
                                 "KL05;;110\n"
                                 "KL05;анод;130\n"
                                 "KL13;;10\n"
                                 "KL13;анод;15\n"
                                 "KL14;;50\n"
                                 "KSA;;1000\n"
                                 "KSA;анод;1200\n"
                                 "TL11;;30\n"
                                 "TL11;анод;35\n";
const HandWorkedBill kKvertBill{
    .name = "Kvert",
    .system = "Кверт-Н",
    .prices = kKvertPrices,
    .colors = "цвет;Кверт-Н\nХром матовый (анод);анод\n",
    .handle = "KQ01",
    .color = "Хром матовый (анод)",
    // KQ01: overlap 19,8, depth 19, face 10 mm, 4200 mm bars.
    // Height 24000 - 390 = 23610; tracks 0, 1, 0: width (2 × 198 + 30000) / 3 = 10132.
    .doorHeight = 23610,
    .doorWidths = {{0, 10132}},
    .nominalWidth = 30396,
    // Door 0: a TL13 rail at 1000 mm. Door 1: a TL08 rail at 800 mm, below it a TL13 upright at
    // 400 mm. Door 2: a KL09 rail (not a Кверт-Н profile) at 1500 mm.
    .splits = {{0, 10000, false, 5000, "TL13"},
               {1, 8000, false, 5000, "TL08"},
               {1, 4000, true, 15000, "TL13"},
               {2, 15000, false, 5000, "KL09", true}},
    .materials = {{0, 1, "zr.jpg"},
                  {0, 2, "dsp.jpg"},
                  {1, 1, "dsp.jpg"},
                  {1, 2, "zr.jpg"},
                  {1, 3, "zr.jpg"},
                  {2, 1, "dsp.jpg"}},
    // Numbering (no horizontal edges): door 0 left 1, right 2, rail 3, inserts 1-2; door 1 left 4,
    // right 5, TL08 rail 6, upright 7, inserts 3 (top), 4 (lower left), 5 (lower right); door 2
    // left 8, right 9, KL09 rail 10, inserts 6-7.
    // Rails: 10132 - 2 × 190 = 9752. Upright: 15610 + (7 - 63) = 15554.
    //
    // 1. Vertical edges: 6 × 23610, one per 4200 mm bar: 6 × int(65000 × 4,2) = 1638000.
    // 2. TL08: 9752 × 300,00 = 29256.  3. TL13: 9752 + 15554 = 25306 × 230,00 (anod) = 58203.
    //    The KL09 rail is billed nowhere.
    // 4-5. KL02 3000 mm × 120,00 = 36000; KL05 × 130,00 (anod) = 39000.
    // 6. KL13: 23610 × 3 × 2 = 141660 at the first price 10,00 = 14166.
    // 7. KL14 × 3 × 50,00.  8. KSA serves two doors a pack: 2 packs × 1000,00 (base price).
    // 9. TL11: door 0 top at both frame sides 2 × 9993, door 1 lower left 15603 and lower right
    //    15603: 51192 × 30,00 = 15357.
    .articles = {{"KQ01", 42000, 6, 1638000, 1},
                 {"TL08", 0, 9752, 29256, 0},
                 {"TL13", 0, 25306, 58203, 0},
                 {"KL02", 0, 30000, 36000, 0},
                 {"KL05", 0, 30000, 39000, 0},
                 {"KL13", 0, 141660, 14166, 0},
                 {"KL14", 0, 3, 15000, 1},
                 {"KSA", 0, 2, 200000, 1},
                 {"TL11", 0, 51192, 15357, 0}},
    .cuts = {{"1-1", "KQ01", "2361,0", "1", 0},
             {"1-2", "KQ01", "2361,0", "2", 0},
             {"1-3", "KQ01", "2361,0", "4", 1},
             {"1-4", "KQ01", "2361,0", "5", 1},
             {"1-5", "KQ01", "2361,0", "8", 2},
             {"1-6", "KQ01", "2361,0", "9", 2},
             {"2-1", "TL08", "975,2", "6", 1},
             {"3-1", "TL13", "975,2", "3", 0},
             {"3-2", "TL13", "1555,4", "7", 1},
             {"4-0", "KL02", "3000,0", "0", -1},
             {"5-0", "KL05", "3000,0", "0", -1},
             {"6-0", "KL13", "14166,0", "0", -1},
             {"7-0", "KL14", "3", "0", -1},
             {"8-0", "KSA", "2", "0", -1},
             {"9-0", "TL11", "5119,2", "0", -1}},
    // The standard vertical group names the stock length.
    //
    // Fillings (faces: KQ01 10 mm at the sides, nothing above and below; TL08 / TL13 rails
    // 0,7 mm, the KL09 rail 3,7 mm):
    //   door 0 top (mirror): h 10000 - 7 = 9993, w 10132 - 200 = 9932 - 30 (frame right) = 9902.
    //   door 0 bottom: h 23610 - 10007 = 13603, w 9932.
    //   door 1 top: h 8000 - 7 = 7993, w 9932.
    //   door 1 lower left (mirror): h 23610 - 8007 = 15603, w 4000 - 7 - 100 = 3893.
    //   door 1 lower right (mirror): w 10132 - 100 - 4007 = 6025 - 30 = 5995, h 15603.
    //   door 2 top: h 15000 - 37 = 14963, w 9932; door 2 bottom (empty): h 23610 - 15037 = 8573.
    // DSP16: 0,9932 × (1,3603 + 0,7993 + 1,4963) = 3,63103988 m², ceil(80000 × …) = 290484.
    // ZR4: 0,9902 × 0,9993 + 0,3893 × 1,5603 + 0,5995 × 1,5603 = 2,5323315 m² → 506467.
    // Without material: 0,9932 × 0,8573 = 0,85147036 m².
    .fillings = {{"DSP16", 160, 3.63103988, 290484},
                 {"ZR4", 40, 2.5323315, 506467},
                 {"ВНИМАНИЕ", 0, 0.85147036, 0}},
    .pieces = {{"1-1", "DSP16", "1360", "993", "2", 0},
               {"1-2", "DSP16", "799", "993", "3", 1},
               {"1-3", "DSP16", "1496", "993", "6", 2},
               {"2-1", "ZR4", "999", "990", "1", 0},
               {"2-2", "ZR4", "1560", "389", "4", 1},
               {"2-3", "ZR4", "1560", "600", "5", 1}},
    .moreChecks =
        [](const Project& p) {
            EXPECT_EQ(p.doors->doors[2].splitters.at(1).number, 10);
            EXPECT_EQ(p.doors->doors[2].splitters.at(1).cutLength, 9752);
            EXPECT_EQ(p.result.cutList[0].name, "Вертикальная профиль ручка 4,2 м.");
        },
};

// The project's colour "Белый глянец" (KL300N offers it) is in category 2 ("премиум") for Мелоза.
const char* const kMelozaPrices = "KL300N;;900\n"
                                  "KL300N;премиум;1000\n"
                                  "KL07;;300\n"
                                  "KL07;премиум;320\n"
                                  "KL08;;250\n"
                                  "KL09;;150\n"
                                  "KL09;премиум;160\n"
                                  "ME01;;200\n"
                                  "ME01;премиум;210\n"
                                  "ME02;;100\n"
                                  "ME03;;700\n"
                                  "ME03;премиум;800\n"
                                  "KL17;;40\n"
                                  "KL17;премиум;50\n";
const HandWorkedBill kMelozaBill{
    .name = "Meloza",
    .system = "Мелоза",
    .prices = kMelozaPrices,
    .colors = "цвет;Мелоза\nБелый глянец;премиум\n",
    .handle = "KL300N",
    .color = "Белый глянец",
    .splitter = "KL09",
    .doorCount = 4,
    // Usual mounting: doors 24000 - 620 = 23380 high; width 500 / 2 - 50 + 30000 / 4 = 7700.
    .doorHeight = 23380,
    .doorWidths = {{3, 7700}},
    .nominalWidth = 30800,
    // KL300N: depth 49, face 41 mm, 5500 mm bars. KL08: face 12 mm; KL07: face 47 mm.
    // KL09: face 7,4 mm (half 3,7). Door 0: a rail at 1000 mm. Door 1: a rail at 1200 mm, below
    // it an upright at 400 mm. Doors 2 and 3: plain.
    .splits = {{0, 10000, false, 5000, "KL09"},
               {1, 12000, false, 5000, "KL09"},
               {1, 4000, true, 20000, "KL09"}},
    .materials = {{0, 1, "zr.jpg"},
                  {0, 2, "p10.jpg"},
                  {1, 1, "p10.jpg"},
                  {1, 2, "zr.jpg"},
                  {2, 1, "p10.jpg"},
                  {3, 1, "zr.jpg"}},
    // Numbering: door 0 edges 1-4, rail 5, inserts 1-2; door 1 edges 6-9, rail 10, upright 11,
    // inserts 3 (top), 4 (lower left), 5 (lower right, empty); door 2 edges 12-15, insert 6;
    // door 3 edges 16-19, insert 7.
    // Edges top and bottom: 7700 + 2 × (5 - 490) = 6730. Rails: 7700 - 490 + 5 + 5 - 490 = 6730.
    // Upright: its nominal length 23380 - 12000 = 11380.
    //
    // 1. Vertical edges: 8 × 23380 in 5500 mm bars, two per bar: 4 × int(100000 × 5,5).
    // 2. KL07: 4 × 6730 = 26920 × 320,00 = 86144.  3. KL08: 26920 × 250,00 = 67300.
    // 4. KL09: 6730 + 6730 + 11380 = 24840 × 160,00 = 39744.
    // 5. ME01: four doors in the usual mounting, 2 × 30000 × 210,00 = 126000.
    // 6. ME02: 30000 × 100,00 = 30000.  No ME-SHL (handle KL300N).
    // 7. ME03: one kit per door, 4 × 700,00 (base price).
    // Last, the seal of the fitted mirrors (no cut row, first price): 2 × (6860 + 9823) +
    //    2 × (3533 + 10853) + 2 × (6860 + 22770) = 121398 × 40,00 = 48559.
    .articles = {{"KL300N", 55000, 4, 2200000, 1},
                 {"KL07", 0, 26920, 86144, 0},
                 {"KL08", 0, 26920, 67300, 0},
                 {"KL09", 0, 24840, 39744, 0},
                 {"ME01", 0, 60000, 126000, 0},
                 {"ME02", 0, 30000, 30000, 0},
                 {"ME03", 0, 4, 280000, 1},
                 {"KL17", 0, 121398, 48559, 0}},
    .cuts = {{"1-1", "KL300N", "2338,0", "1", 0},  {"1-2", "KL300N", "2338,0", "3", 0},
             {"1-3", "KL300N", "2338,0", "6", 1},  {"1-4", "KL300N", "2338,0", "8", 1},
             {"1-5", "KL300N", "2338,0", "12", 2}, {"1-6", "KL300N", "2338,0", "14", 2},
             {"1-7", "KL300N", "2338,0", "16", 3}, {"1-8", "KL300N", "2338,0", "18", 3},
             {"2-1", "KL07", "673,0", "4", 0},     {"2-2", "KL07", "673,0", "9", 1},
             {"2-3", "KL07", "673,0", "15", 2},    {"2-4", "KL07", "673,0", "19", 3},
             {"3-1", "KL08", "673,0", "2", 0},     {"3-2", "KL08", "673,0", "7", 1},
             {"3-3", "KL08", "673,0", "13", 2},    {"3-4", "KL08", "673,0", "17", 3},
             {"4-1", "KL09", "673,0", "5", 0},     {"4-2", "KL09", "673,0", "10", 1},
             {"4-3", "KL09", "1138,0", "11", 1},   {"5-0", "ME01", "6000,0", "0", -1},
             {"6-0", "ME02", "3000,0", "0", -1},   {"7-0", "ME03", "4", "0", -1}},
    // Fillings (faces: KL08 12 mm above, KL07 47 mm below, KL300N 41 mm at the sides, rails
    // half 3,7 mm); a 4 mm filling loses 1 mm all round:
    //   door 0 top (mirror): h 10000 - 37 - 120 = 9843, w 7700 - 820 = 6880 → 6860 × 9823.
    //   door 0 bottom (panel): h 23380 - 10037 - 470 = 12873, w 6880.
    //   door 1 top (panel): h 12000 - 37 - 120 = 11843, w 6880.
    //   door 1 lower left (mirror): h 23380 - 12037 - 470 = 10873, w 4000 - 37 - 410 = 3553 →
    //     3533 × 10853.
    //   door 1 lower right (empty): w 7700 - 410 - 4037 = 3253, h 10873.
    //   door 2 (panel): h 23380 - 590 = 22790, w 6880; door 3 (mirror): 6860 × 22770.
    // P10: 0,688 × (1,2873 + 1,1843 + 2,279) = 3,2684128 m², ceil(150000 × …) = 490262.
    // ZR4: 0,686 × 0,9823 + 0,3533 × 1,0853 + 0,686 × 2,277 = 2,61931629 m² → 523864.
    // Without material: 0,3253 × 1,0873 = 0,35369869 m². Sizes with one decimal.
    .fillings = {{"P10", 100, 3.2684128, 490262},
                 {"ZR4", 40, 2.61931629, 523864},
                 {"ВНИМАНИЕ", 0, 0.35369869, 0}},
    .pieces = {{"1-1", "P10", "1287,3", "688,0", "2", 0},
               {"1-2", "P10", "1184,3", "688,0", "3", 1},
               {"1-3", "P10", "2279,0", "688,0", "6", 2},
               {"2-1", "ZR4", "982,3", "686,0", "1", 0},
               {"2-2", "ZR4", "1085,3", "353,3", "4", 1},
               {"2-3", "ZR4", "2277,0", "686,0", "7", 3}},
    .moreChecks =
        [](const Project& p) {
            EXPECT_EQ(p.result.cutList[0].name, "Вертикальный симетричный профиль 5,5 м.");
        },
};

// The project's colour becomes KN01's first, "Софт тач белый", in category 5 ("новинка") for
// Норсия.
const char* const kNorsiaPrices = "KN01;;450\n"
                                  "KN01;новинка;480\n"
                                  "KN02;;350\n"
                                  "KN03;;120\n"
                                  "KN03;новинка;130\n"
                                  "KN09;;160\n"
                                  "KF01;;100\n"
                                  "KF01;новинка;105\n"
                                  "KF05;;90\n"
                                  "KN06;;50\n"
                                  "KN06;новинка;55\n"
                                  "KN07;;70\n"
                                  "KNR01;;1100\n"
                                  "KNR01;новинка;1150\n"
                                  "KN17;;12\n"
                                  "KN17;новинка;14\n";
const HandWorkedBill kNorsiaBill{
    .name = "Norsia",
    .system = "Норсия",
    .prices = kNorsiaPrices,
    .colors = "цвет;Норсия\nСофт тач белый;новинка\n",
    .handle = "KN01",
    .color = "Софт тач белый",
    // Doors 24000 - 160 - 650 + 430 = 23620; width (30000 - 20 + 2 × 220) / 3 = 10140.
    .doorHeight = 23620,
    .doorWidths = {{0, 10140}},
    .nominalWidth = 30420,
    // KN01: depth 20, face 11 mm, 5000 mm bars. KN03: dimA 11, face 2 mm. KN09: face 2 mm,
    // seat 6 mm. Door 0: a rail at 1000 mm. Door 1: a rail at 1200 mm, above it an upright at
    // 500 mm.
    .splits = {{0, 10000, false, 5000, "KN09"},
               {1, 12000, false, 5000, "KN09"},
               {1, 5000, true, 5000, "KN09"}},
    .materials = {{0, 1, "zr.jpg"},
                  {0, 2, "p10.jpg"},
                  {1, 1, "zr.jpg"},
                  {1, 2, "p10.jpg"},
                  {1, 3, "zr.jpg"},
                  {2, 1, "p10.jpg"}},
    // Numbering: door 0 edges 1-4, rail 5, inserts 1-2; door 1 edges 6-9, rail 10, upright 11,
    // inserts 3 (upper left), 4 (lower), 5 (upper right); door 2 edges 12-15, insert 6.
    // KN03 edges and rails: 10140 - 2 × 200 = 9740. Upright: 12000 - 110 + (10 - 60) = 11840.
    //
    // 1. Handle group: 4 × 23620 in 5000 mm bars, two per bar: 2 × int(48000 × 5) = 480000.
    // 2. KN02 connector: door 0 right and door 2 left, one bar × int(35000 × 5) = 175000.
    // 3. KN03: every door's top edge twice, 6 × 9740 = 58440 × 130,00 = 75972.
    // 4. KN09: 9740 + 9740 + 11840 = 31320 × 160,00 = 50112.
    // 5-6. KF01 and KF05: 30000 - 32 = 29968 × 105,00 = 31466 and × 90,00 = 26971.
    // 7-8. KN06 and KN07: the height 23620 × 55,00 = 12991 and × 70,00 = 16534.
    // 9. KNR01: ceil(3 / 2) = 2 × 1100,00 (base price).
    // 10. KN17 round the mirrors: 2 × (9900 + 9950) + 2 × (4860 + 11950) + 2 × (5000 + 11950) =
    //     107220 × 12,00 (first price) = 12866.
    .articles = {{"KN01", 50000, 2, 480000, 1},
                 {"KN02", 50000, 1, 175000, 1},
                 {"KN03", 0, 58440, 75972, 0},
                 {"KN09", 0, 31320, 50112, 0},
                 {"KF01", 0, 29968, 31466, 0},
                 {"KF05", 0, 29968, 26971, 0},
                 {"KN06", 0, 23620, 12991, 0},
                 {"KN07", 0, 23620, 16534, 0},
                 {"KNR01", 0, 2, 220000, 1},
                 {"KN17", 0, 107220, 12866, 0}},
    .cuts = {{"1-1", "KN01", "2362,0", "1", 0},   {"1-2", "KN01", "2362,0", "6", 1},
             {"1-3", "KN01", "2362,0", "8", 1},   {"1-4", "KN01", "2362,0", "14", 2},
             {"2-1", "KN02", "2362,0", "3", 0},   {"2-2", "KN02", "2362,0", "12", 2},
             {"3-1", "KN03", "974,0", "2", 0},    {"3-2", "KN03", "974,0", "4", 0},
             {"3-3", "KN03", "974,0", "7", 1},    {"3-4", "KN03", "974,0", "9", 1},
             {"3-5", "KN03", "974,0", "13", 2},   {"3-6", "KN03", "974,0", "15", 2},
             {"4-1", "KN09", "974,0", "5", 0},    {"4-2", "KN09", "974,0", "10", 1},
             {"4-3", "KN09", "1184,0", "11", 1},  {"5-0", "KF01", "2996,8", "0", -1},
             {"6-0", "KF05", "2996,8", "0", -1},  {"7-0", "KN06", "2362,0", "0", -1},
             {"8-0", "KN07", "2362,0", "0", -1},  {"9-0", "KNR01", "2", "0", -1},
             {"10-0", "KN17", "10722,0", "0", -1}},
    // Fillings (faces: KN03 2 mm above and below, KN01 11 mm at the sides, rails half 1 mm):
    //   door 0 top (mirror): y 20, h 10000 - 10 - 20 = 9970, w 10140 - 220 = 9920; glass loses
    //     1 mm all round (bounded): 9900 × 9950.
    //   door 0 bottom (panel): h 23620 - 10010 - 20 = 13590, w 9920.
    //   door 1 upper left (mirror): h 12000 - 10 - 20 = 11970, w 5000 - 10 - 110 = 4880 →
    //     4860 × 11950.
    //   door 1 lower (panel): h 23620 - 12010 - 20 = 11590, w 9920.
    //   door 1 upper right (mirror): w 10140 - 110 - 5010 = 5020 → 5000 × 11950.
    //   door 2 (panel): h 23620 - 40 = 23580, w 9920.
    // P10: 0,992 × (1,359 + 1,159 + 2,358) = 4,836992 m², ceil(150000 × …) = 725549.
    // ZR4: 0,99 × 0,995 + 0,486 × 1,195 + 0,5 × 1,195 = 2,16332 m², 200000 × … = 432664.
    .fillings = {{"P10", 100, 4.836992, 725549}, {"ZR4", 40, 2.16332, 432664}},
    .pieces = {{"1-1", "P10", "1359", "992", "2", 0},
               {"1-2", "P10", "1159", "992", "4", 1},
               {"1-3", "P10", "2358", "992", "6", 2},
               {"2-1", "ZR4", "995", "990", "1", 0},
               {"2-2", "ZR4", "1195", "486", "3", 1},
               {"2-3", "ZR4", "1195", "500", "5", 1}},
};

// The project's colour "Белый глянец" (kept from Ловен; KS11 offers it on order) is in category 2
// ("премиум") for Стенвик.
const char* const kStenvikPrices = "KS11;;700\n"
                                   "KS11;премиум;800\n"
                                   "KS14;;200\n"
                                   "KS14;премиум;260\n"
                                   "TL08;;300\n"
                                   "TL13;;200\n"
                                   "TL13;премиум;250\n"
                                   "KL02;;120\n"
                                   "KL02;премиум;140\n"
                                   "KL05;;110\n"
                                   "KL13;;10\n"
                                   "KL13;премиум;20\n"
                                   "KL14;;50\n"
                                   "KL14;премиум;70\n"
                                   "W1406;;900\n"
                                   "W1406;премиум;950\n"
                                   "KS15;;40\n"
                                   "KS15;премиум;45\n"
                                   "TL11;;30\n"
                                   "TL11;премиум;40\n";
const HandWorkedBill kStenvikBill{
    .name = "Stenvik",
    .system = "Стенвик",
    .prices = kStenvikPrices,
    .colors = "цвет;Стенвик\nБелый глянец;премиум\n",
    .handle = "KS11",
    .color = "Белый глянец",
    .splitter = "TL13",
    .doorCount = 3,
    // KS11: overlap 25,6, depth 15,5, face 3 mm, 4800 mm bars. KS14: depth 47, face 41 mm.
    // Height 24000 - 330 = 23670; tracks 0, 1, 0: width (2 × 256 + 30000) / 3 = 10170.
    .doorHeight = 23670,
    .doorWidths = {{1, 10170}},
    .nominalWidth = 30510,
    // Door 0: a TL08 rail at 800 mm. Door 1: a TL13 rail at 1200 mm and above it a TL13 upright
    // at 600 mm. Door 2: plain.
    .splits = {{0, 8000, false, 5000, "TL08"},
               {1, 12000, false, 5000, "TL13"},
               {1, 6000, true, 5000, "TL13"}},
    // Door 0: 10 mm panel above, chipboard below. Door 1: mirrors in both upper parts,
    // chipboard below. Door 2: mirror.
    .materials = {{0, 1, "p10.jpg"},
                  {0, 2, "dsp.jpg"},
                  {1, 1, "zr.jpg"},
                  {1, 2, "dsp.jpg"},
                  {1, 3, "zr.jpg"},
                  {2, 1, "zr.jpg"}},
    // Numbering (no top edges): door 0 left 1, right 2, bottom 3, rail 4, inserts 1-2;
    // door 1 left 5, right 6, bottom 7, rail 8, upright 9, inserts 3 (upper left), 4 (lower),
    // 5 (upper right); door 2 left 10, right 11, bottom 12, insert 6.
    // Rails: 10170 + 2 × (5 - 155) = 9870. Upright: 12000 + 0 (no top edge) + (7 - 63) = 11944.
    // Bottom edges: 10170 - 2 × 155 - 10 = 9850.
    //
    // 1. Door frame group: 6 pieces of 23670 in 4800 mm bars, two per bar = 3 bars at the premium
    //    800,00: 3 × int(80000 × 4,8) = 1152000.
    // 2. KS14 (kind 4, by length): 3 × 9850 = 29550 at the premium 260,00 = 76830.
    // 3. TL08: 9870 × 300,00 = 29610.  4. TL13: 9870 + 11944 = 21814 × 250,00 = 54535.
    // 5-6. Alternating tracks: KL02 3000 mm × 140,00 = 42000, KL05 3000 mm × 110,00 = 33000.
    // 7. KL13: 23670 × 3 × 2 = 142020 at the first price 10,00 = 14202.
    // 8. KL14 × 3 at the base price 50,00 = 15000.  9. W1406 × 3 (one per door) × 900,00.
    // 10. KS15 round the 10 mm panel: 2 × (10110 + 7993) = 36206 × 40,00 = 14482.
    // 11. TL11 for the mirrors' frame sides: 11993 + 11993 + 2 × 23260 = 70506 × 30,00 = 21151.
    .articles = {{"KS11", 48000, 3, 1152000, 1},
                 {"KS14", 0, 29550, 76830, 0},
                 {"TL08", 0, 9870, 29610, 0},
                 {"TL13", 0, 21814, 54535, 0},
                 {"KL02", 0, 30000, 42000, 0},
                 {"KL05", 0, 30000, 33000, 0},
                 {"KL13", 0, 142020, 14202, 0},
                 {"KL14", 0, 3, 15000, 1},
                 {"W1406", 0, 3, 270000, 1},
                 {"KS15", 0, 36206, 14482, 0},
                 {"TL11", 0, 70506, 21151, 0}},
    .cuts = {{"1-1", "KS11", "2367,0", "1", 0},
             {"1-2", "KS11", "2367,0", "2", 0},
             {"1-3", "KS11", "2367,0", "5", 1},
             {"1-4", "KS11", "2367,0", "6", 1},
             {"1-5", "KS11", "2367,0", "10", 2},
             {"1-6", "KS11", "2367,0", "11", 2},
             {"2-1", "KS14", "985,0", "3", 0},
             {"2-2", "KS14", "985,0", "7", 1},
             {"2-3", "KS14", "985,0", "12", 2},
             {"3-1", "TL08", "987,0", "4", 0},
             {"4-1", "TL13", "987,0", "8", 1},
             {"4-2", "TL13", "1194,4", "9", 1},
             {"5-0", "KL02", "3000,0", "0", -1},
             {"6-0", "KL05", "3000,0", "0", -1},
             {"7-0", "KL13", "14202,0", "0", -1},
             {"8-0", "KL14", "3", "0", -1},
             {"9-0", "W1406", "3", "0", -1},
             {"10-0", "KS15", "3620,6", "0", -1},
             {"11-0", "TL11", "7050,6", "0", -1}},
    // The door frame group's rows carry the plain article name (no stock length suffix).
    //
    // Fillings (faces: KS11 3 mm at the sides, no top edge, KS14 41 mm below, rails 0,7 mm):
    //   door 0 top (panel, rejected, not fitted): y 0, h 8000 - 7 = 7993, x 30, w 10110.
    //   door 0 bottom: h 23670 - 8007 - 410 = 15253, w 10110.
    //   door 1 upper left (mirror): h 12000 - 7 = 11993, w 6000 - 7 - 30 = 5963; not bounded
    //     (no top edge): w - 20 = 5943; the frame on its left moves it 1,5 mm.
    //   door 1 lower: h 23670 - 12007 - 410 = 11253, w 10110.
    //   door 1 upper right (mirror): w 10170 - 30 - 6007 = 4133 - 20 - 15 = 4098, h 11993.
    //   door 2 (mirror): h 23670 - 410 = 23260, w 10110 - 20 - 15 = 10075.
    // DSP16: 1,011 × 1,5253 + 1,011 × 1,1253 = 2,6797566 m², ceil(80000 × …) = 214381.
    // P10: 1,011 × 0,7993 = 0,8080923 m², thickness error, cost stays 150000 per m².
    // ZR4: 0,5943 × 1,1993 + 0,4098 × 1,1993 + 1,0075 × 2,326 = 3,54766213 m² → 709533.
    .fillings = {{"DSP16", 160, 2.6797566, 214381},
                 {"P10", 100, 0.8080923, 150000,
                  "ОШИБКА: Не подходящий по толщине (10,00) материал."},
                 {"ZR4", 40, 3.54766213, 709533}},
    .pieces = {{"1-1", "DSP16", "1525", "1011", "2", 0},
               {"1-2", "DSP16", "1125", "1011", "4", 1},
               {"2-1", "P10", "799", "1011", "1", 0},
               {"3-1", "ZR4", "1199", "594", "3", 1},
               {"3-2", "ZR4", "1199", "410", "5", 1},
               {"3-3", "ZR4", "2326", "1008", "6", 2}},
    .moreChecks =
        [](const Project& p) {
            EXPECT_EQ(p.result.cutList[0].name, "Вертикальный ассиметричный профиль");
        },
};

// Prices (roubles per metre or per piece); the project's colour "Белый глянец" (kept from Ловен,
// TL01 offers it too) is in category 2 ("премиум") for Тавро, so a premium price counts only where
// the colour does.
const char* const kTavroPrices = "TL01;;500\n"
                                 "TL01;премиум;600\n"
                                 "TL03;;400\n"
                                 "TL08;;300\n"
                                 "TL13;;200\n"
                                 "TL13;премиум;250\n"
                                 "KI01;;100\n"
                                 "TL10NEW;;120\n"
                                 "TL10NEW;премиум;150\n"
                                 "TL06;;50\n"
                                 "TL06;премиум;90\n"
                                 "TL12-1;;1500\n"
                                 "TL12-1;премиум;2000\n"
                                 "TL11;;30\n"
                                 "TL11;премиум;40\n";
const HandWorkedBill kTavroBill{
    .name = "Tavro",
    .system = "Тавро",
    .prices = kTavroPrices,
    .colors = "цвет;Тавро\nБелый глянец;премиум\n",
    .handle = "TL01",
    .color = "Белый глянец",
    .doorCount = 3,
    .openingWidth = 30000,
    // Cabinet 2400 mm, chipboard 16 mm, plinth 54 mm: doors 24000 - 160 - 540 + 430 = 23730.
    // Tracks 0, 1, 0: two overlaps; width (2 × 150 + 30000) / 3 = 10100; nominal 30300.
    .doorHeight = 23730,
    .doorWidths = {{0, 10100}, {2, 10100}},
    .nominalWidth = 30300,
    // TL01: overlap 14,5, depth 14,5, face 1,2 mm, 4900 mm bars. TL13 / TL08: dimA 14, face 1,4,
    // seat 6,3 mm, 4900 mm bars.
    // Door 0: a TL13 rail at 1000 mm. Door 1: a TL08 rail at 1200 mm and below it a TL13 upright
    // at 500 mm. Door 2: plain.
    .splits = {{0, 10000, false, 5000, "TL13"},
               {1, 12000, false, 5000, "TL08"},
               {1, 5000, true, 20000, "TL13"}},
    // Materials: mirror in door 0 top and door 1 lower left, chipboard in door 0 bottom, door 1
    // top and door 2; door 1 lower right stays empty.
    .materials = {{0, 1, "zr.jpg"},
                  {0, 2, "dsp.jpg"},
                  {1, 1, "dsp.jpg"},
                  {1, 2, "zr.jpg"},
                  {2, 1, "dsp.jpg"}},
    // Numbering: door 0 edges 1-4 (left, top, right, bottom), rail 5, inserts 1-2; door 1 edges
    // 6-9, rail 10, upright 11, inserts 3-5; door 2 edges 12-15, insert 6.
    // Top and bottom edges TL13: 10100 + 2 × (5 - 145) = 9820.
    // Rails (frame at both ends): 10100 + 2 × (5 - 145) = 9820.
    // Upright: 11730 nominal + (14 / 2 - 63) at the rail - 140 (TL13 dimA) at the bottom = 11534.
    //
    // 1. Handle group: 4 pieces of 23730 in 49000 bars (2 per bar) = 2 bars at the premium
    //    600,00: 2 × int(60000 × 4,9) = 588000.
    // 2. Connector TL03: 2 pieces = 1 bar × int(40000 × 4,9) = 196000.
    // 3. TL08 group: the rail of door 1. Splitter profiles (kind 1) are sold by length:
    //    9820 × int(30000 × 0,982) = 29460 (no premium price for TL08).
    // 4. TL13 group: 9820 × 5 (door 0 bottom, top, rail; door 1 bottom, top), 11534, 9820 × 2:
    //    80274 in total at the premium 250,00: int(25000 × 8,0274) = 200685.
    // 5. KI01 3000 mm × 100,00 = 30000; 6. TL10NEW 3000 mm × 150,00 (premium) = 45000.
    // 7. Odd door count: no TL07; TL06 (3 mod 2 + 1) × 23730 = 47460 at the first price 50,00:
    //    int(5000 × 4,746) = 23730.
    // 8. 3 doors: TL12-1 × 1 at the base price 1500,00 = 150000.
    // 9. Seals: no 10 mm filling, so no KS15. TL11 for the mirrors at the frame: door 0 top has
    //    the frame on both sides (2 × 9959), door 1 lower left on its left side (11689):
    //    31607 at the first price 30,00: int(3000 × 3,1607) = 9482.
    .articles = {{"TL01", 49000, 2, 588000, 1},
                 {"TL03", 49000, 1, 196000, 1},
                 {"TL08", 0, 9820, 29460, 0},
                 {"TL13", 0, 80274, 200685, 0},
                 {"KI01", 0, 30000, 30000, 0},
                 {"TL10NEW", 0, 30000, 45000, 0},
                 {"TL06", 0, 47460, 23730, 0},
                 {"TL12-1", 0, 1, 150000, 1},
                 {"TL11", 0, 31607, 9482, 0}},
    .cuts = {{"1-1", "TL01", "2373,0", "1", 0},     {"1-2", "TL01", "2373,0", "6", 1},
             {"1-3", "TL01", "2373,0", "8", 1},     {"1-4", "TL01", "2373,0", "14", 2},
             {"2-1", "TL03", "2373,0", "3", 0},     {"2-2", "TL03", "2373,0", "12", 2},
             {"3-1", "TL08", "982,0", "10", 1},     {"4-1", "TL13", "982,0", "4", 0},
             {"4-2", "TL13", "982,0", "2", 0},      {"4-3", "TL13", "982,0", "5", 0},
             {"4-4", "TL13", "982,0", "9", 1},      {"4-5", "TL13", "982,0", "7", 1},
             {"4-6", "TL13", "1153,4", "11", 1},    {"4-7", "TL13", "982,0", "15", 2},
             {"4-8", "TL13", "982,0", "13", 2},     {"5-0", "KI01", "3000,0", "0", -1},
             {"6-0", "TL10NEW", "3000,0", "0", -1}, {"7-0", "TL06", "4746,0", "0", -1},
             {"8-0", "TL12-1", "1", "0", -1},       {"9-0", "TL11", "3160,7", "0", -1}},
    // Fillings. Faces: TL13 edges 1,4 mm, TL01 1,2 mm, rails half of 1,4 = 0,7 mm.
    //   door 0 top (mirror): y 14, h 10000 - 7 - 14 = 9979, x 12, w 10100 - 24 = 10076; a 4 mm
    //     filling shrinks by 1 mm all round (bounded), then 1,5 mm more at each frame side:
    //     w 10076 - 20 - 15 = 10041, h 9979 - 20 = 9959.
    //   door 0 bottom (chipboard): h 23730 - 10007 - 14 = 13709, w 10076.
    //   door 1 top (chipboard): h 12000 - 7 - 14 = 11979, w 10076.
    //   door 1 lower left (mirror): h 23730 - 12007 - 14 = 11709, w 5000 - 7 - 12 = 4981;
    //     fitted: h 11689, w 4961 (frame on the left only: x moves, width keeps).
    //   door 1 lower right (empty): w 10100 - 12 - 5007 = 5081, h 11709.
    //   door 2 (chipboard): h 23730 - 28 = 23702, w 10076.
    // DSP16: 1,0076 × 1,3709 + 1,0076 × 1,1979 + 1,0076 × 2,3702 = 4,9765364 m²,
    //   ceil(80000 × 4,9765364) = 398123.
    // ZR4: 1,0041 × 0,9959 + 0,4961 × 1,1689 = 1,57987448 m², ceil(200000 × …) = 315975.
    // Without material: 0,5081 × 1,1709 = 0,59493429 m².
    .fillings = {{"DSP16", 160, 4.9765364, 398123},
                 {"ZR4", 40, 1.57987448, 315975},
                 {"ВНИМАНИЕ", 0, 0.59493429, 0}},
    .pieces = {{"1-1", "DSP16", "1371", "1008", "2", 0},
               {"1-2", "DSP16", "1198", "1008", "3", 1},
               {"1-3", "DSP16", "2370", "1008", "6", 2},
               {"2-1", "ZR4", "996", "1004", "1", 0},
               {"2-2", "ZR4", "1169", "496", "4", 1}},
    .moreChecks =
        [](const Project& p) {
            EXPECT_EQ(p.doors->doors[1].splitters.at(2).cutLength, 11534);
            EXPECT_EQ(p.result.articles[0].name, "Профиль ручка");
        },
};

INSTANTIATE_TEST_SUITE_P(Systems, WholeBillTest,
                         ::testing::Values(kDarsoBill, kFolmBill, kKvertBill, kMelozaBill,
                                           kNorsiaBill, kStenvikBill, kTavroBill),
                         [](const ::testing::TestParamInfo<HandWorkedBill>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
