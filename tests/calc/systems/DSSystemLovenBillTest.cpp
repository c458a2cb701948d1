// One whole Ловен order, checked row by row against a computation done by hand.
#include "support/SystemBillSupport.h"
#include "support/TempFolder.h"

#include "calc/CalcResult.h"
#include "calc/SystemFactory.h"
#include "calc/systems/DSSystemLoven.h"
#include "catalog/Catalog.h"
#include "model/Project.h"

#include <gtest/gtest.h>

using namespace billtest;

namespace {

// Prices in roubles per metre (profiles and goods sold by length) or per piece.
const char* const kPriceFile = "код;коллекция;цена\n"
                               "KL001;;1000\n"
                               "KL07;;300\n"
                               "KL08;;250\n"
                               "KL09;;150\n"
                               "KL02;;120\n"
                               "KL05;;110\n"
                               "KL10/11B;;900\n"
                               "KL13;;10\n"
                               "KL14;;50\n"
                               "KL17;;40\n";

const char* const kMaterialHeader = "код;изображение;длина;ширина;цена;название;толщина\n";

class LovenBillTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder.writeCp1251("profiles/price.csv", kPriceFile);
        folder.writeCp1251("materials/Glass/price.csv",
                           std::string(kMaterialHeader) + "M4;mirror;2000;1000;2000;Зеркало;4\n");
        folder.writeBytes("materials/Glass/images/mirror/a.jpg", "picture");
        folder.writeBytes("materials/Glass/images/mirror/b.jpg", "picture");
        folder.writeCp1251("materials/Board/price.csv",
                           std::string(kMaterialHeader) +
                               "D10;white.jpg;2800;2070;1500;ДСП белое;10\n");
        folder.writeBytes("materials/Board/images/white.jpg", "picture");
        catalog = std::make_unique<Catalog>(folder.path(), makeAllSystems);
        project = std::make_unique<Project>(*catalog);
    }

    const Material* material(const char* group, const char* key) const {
        const MaterialGroup* g = catalog->materialGroupByName(group);
        return g != nullptr ? g->findByKey(key) : nullptr;
    }

    TempFolder folder;
    std::unique_ptr<Catalog> catalog;
    std::unique_ptr<Project> project;
};

} // namespace

TEST_F(LovenBillTest, TwoDoorsWithSplittersAndTwoMaterials) {
    ASSERT_EQ(project->system->code, "Ловен");
    ASSERT_EQ(project->handleProfile->code, "KL001");
    ASSERT_EQ(project->splitterProfile->code, "KL09");
    ASSERT_TRUE(project->setDoorCount(2));
    DoorSet& doors = *project->doors;

    // Opening 3000 × 2000 mm, two doors on tracks 0 and 1 (one overlap).
    // KL001: overlap 26 mm, depth 25,2 mm, face 17,1 mm, bars of 5500 mm; KL13 brush 3 mm.
    // Door width  = (1 × 260 + 30000 - 2 × 30) / 2 = 15100 (0.1 mm)
    // Door height = 20000 + 10 × (-40) = 19600
    ASSERT_EQ(doors.doors[0].width, 15100);
    ASSERT_EQ(doors.doors[1].width, 15100);
    ASSERT_EQ(doors.doors[0].height, 19600);
    EXPECT_EQ(doors.doorsNominalWidth, 30200);

    // Door 0: a KL09 rail at 1000 mm from the top, the lower part split at 750 mm.
    // Door 1: a KL09 rail at 500 mm.
    Door& d0 = doors.doors[0];
    Door& d1 = doors.doors[1];
    ASSERT_NE(calctest::split(d0, 10000, false, 100, project->splitterProfile), nullptr);
    ASSERT_NE(calctest::split(d0, 7500, true, 15000, project->splitterProfile), nullptr);
    ASSERT_NE(calctest::split(d1, 5000, false, 100, project->splitterProfile), nullptr);

    // Materials: mirror pictures a and b (4 mm, 2000 roubles/m²) in the upper inserts, the white
    // board (10 mm, 1500 roubles/m²) in door 0 lower left and door 1 lower; door 0 lower right
    // stays empty.
    const Material* mirrorA = material("Glass", "mirror\\a.jpg");
    const Material* mirrorB = material("Glass", "mirror\\b.jpg");
    const Material* board = material("Board", "white.jpg");
    ASSERT_NE(mirrorA, nullptr);
    ASSERT_NE(mirrorB, nullptr);
    ASSERT_NE(board, nullptr);
    d0.inserts.at(1).material = mirrorA;
    d0.inserts.at(2).material = board;
    d1.inserts.at(1).material = mirrorB;
    d1.inserts.at(2).material = board;
    project->recalculate(true);
    const CalcResult& r = project->result;

    // Numbering: door 0 edges 1-4 (left, top, right, bottom), rails 5 and 6, inserts 1-3;
    // door 1 edges 7-10, rail 11, inserts 4 and 5.

    // Splitters (KL09: face 7,4 mm, seat 9,5 mm; the handle's depth 25,2 mm at the frame):
    //   door 0 rail:    15100 + 2 × (5 - 252)          = 14606
    //   door 0 upright: 9600 + (74 / 2 - 95) - 570 (KL07 dimA) = 8972
    //   door 1 rail:    14606
    // Top and bottom edges: 15100 + 2 × (5 - 252) = 14606 each.
    //
    // 1. Vertical edges, KL001 in 5500 mm bars at 1000,00/m: pieces 1960 mm × 4.
    //    3 pieces do not fit one bar (5880 > 5500): 2 bars × int(100000 × 5,5) = 1100000.
    // 2. Bottom edges KL07 (kind 4, by length): 2 × 14606 = 29212; int(30000 × 2,9212) = 87636.
    // 3. Top edges KL08: 29212; int(25000 × 2,9212) = 73030.
    // 4. Splitters KL09: 14606 + 8972 + 14606 = 38184; int(15000 × 3,8184) = 57276.
    // 5, 6. Two tracks: KL02 and KL05, 3000 mm each: 36000 and 33000.
    // 7. Automatic asymmetric kit (KL001 needs rollerKind 1): 1 pack per door × 900,00.
    // 8. Brushes KL13: 19600 × 2 doors × 2 = 78400; int(1000 × 7,84) = 7840.
    // 9. Stoppers KL14: 2 × 50,00.
    // 10. Seal KL17 around the 4 mm mirrors after fitting (10 mm off every side):
    //   door 0 upper: fill 14758 × 9843 -> 14738 × 9823: 2 × (14738 + 9823) = 49122
    //   door 1 upper: fill 14758 × 4843 -> 14738 × 4823: 2 × (14738 + 4823) = 39122
    //   88244; int(4000 × 8,8244) = 35297.
    expectArticles(r, {{"KL001", 55000, 2, 1100000, 1},
                       {"KL07", 0, 29212, 87636, 0},
                       {"KL08", 0, 29212, 73030, 0},
                       {"KL09", 0, 38184, 57276, 0},
                       {"KL02", 0, 30000, 36000, 0},
                       {"KL05", 0, 30000, 33000, 0},
                       {"KL10/11B", 0, 2, 180000, 1},
                       {"KL13", 0, 78400, 7840, 0},
                       {"KL14", 0, 2, 10000, 1},
                       {"KL17", 0, 88244, 35297, 0}});

    // Cut list: groups 1-9 (the seal has no cut row).
    ASSERT_EQ(r.cutList.size(), 4u + 2 + 2 + 3 + 5);
    const char* const edgeName = "Вертикальный ассиметричный профиль 5,5 м.";
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(r.cutList[i].name, edgeName);
    expectCuts(r, {{"1-1", "KL001", "1960,0", "1", 0},
                   {"1-2", "KL001", "1960,0", "3", 0},
                   {"1-3", "KL001", "1960,0", "7", 1},
                   {"1-4", "KL001", "1960,0", "9", 1},
                   {"2-1", "KL07", "1460,6", "4", 0},
                   {"2-2", "KL07", "1460,6", "10", 1},
                   {"3-1", "KL08", "1460,6", "2", 0},
                   {"3-2", "KL08", "1460,6", "8", 1},
                   {"4-1", "KL09", "1460,6", "5", 0},
                   {"4-2", "KL09", "897,2", "6", 0},
                   {"4-3", "KL09", "1460,6", "11", 1},
                   {"5-0", "KL02", "3000,0", "0", -1},
                   {"6-0", "KL05", "3000,0", "0", -1},
                   {"7-0", "KL10/11B", "2", "0", -1},
                   {"8-0", "KL13", "7840,0", "0", -1},
                   {"9-0", "KL14", "2", "0", -1}});

    // Fillings, grouped by code ("D10" before "M4"), then the empty insert.
    //   D10: door 0 lower left 7292 × 9093 (fill: x 171..7463, y 10037..19130), door 1 lower
    //        14758 × 14093; area 0,66306156 + 2,07984494 = 2,7429065 m²;
    //        ceil(150000 × 2,7429065) = ceil(411435,975) = 411436.
    //   M4:  14738 × 9823 + 14738 × 4823 = 1,44771374 + 0,71081374 = 2,15852748 m²;
    //        ceil(200000 × 2,15852748) = ceil(431705,496) = 431706; one row for both pictures,
    //        named after the last one seen (b).
    //   Empty: door 0 lower right 7392 × 9093 = 0,67215456 m².
    expectFillings(r, {{"D10", 100, 2.7429065, 411436},
                       {"M4", 40, 2.15852748, 431706},
                       {"ВНИМАНИЕ", 0, 0.67215456, 0}});
    ASSERT_EQ(r.fillings.size(), 3u);
    EXPECT_EQ(r.fillings[0].name, "ДСП белое");
    EXPECT_EQ(r.fillings[1].name, "Зеркало (mirror\\b.jpg)");

    expectPieces(r, {{"1-1", "D10", "909,3", "729,2", "2", 0},
                     {"1-2", "D10", "1409,3", "1475,8", "5", 1},
                     {"2-1", "M4", "982,3", "1473,8", "1", 0},
                     {"2-2", "M4", "482,3", "1473,8", "4", 1}});
    ASSERT_EQ(r.fillingPieces.size(), 4u);
    EXPECT_EQ(r.fillingPieces[2].name, "Зеркало (mirror\\b.jpg)");

    // Total: articles 1620079 + fillings 843142 = 2463221 kopecks.
    // 7 % discount: 172425,47 -> 172426; grand total with 1500 roubles assembly:
    // 2463221 - 172426 + 150000 = 2440795.
    EXPECT_EQ(project->priceTotal(), 2463221);
    ASSERT_TRUE(project->setDiscountPercent(7.0));
    EXPECT_EQ(project->discountAmount(), 172426);
    project->order.assemblyCost = 1500;
    EXPECT_EQ(project->grandTotal(), 2440795);
    EXPECT_EQ(project->grandTotalText(), "24407,95 руб.");

    // Element list of door 2: its edges and rail, then its fillings.
    std::vector<std::string> door2;
    for (const ElementRow& e : r.elements)
        if (e.door == "2")
            door2.push_back(e.kind + " " + e.code + " " + e.mark);
    EXPECT_EQ(door2, (std::vector<std::string>{
                         "Профиль KL001 7", "Профиль KL001 9", "Профиль KL07 10", "Профиль KL08 8",
                         "Профиль KL09 11", "Вставка D10 5", "Вставка M4 4"}));
}

TEST_F(LovenBillTest, StockLimitErrorZeroesTheTotal) {
    // A 6 m opening height makes the handle pieces longer than the 5,5 m bar.
    ASSERT_TRUE(project->setHeight(60000));
    const ArticleRow& edges = project->result.articles.at(0);
    EXPECT_EQ(edges.code, "KL001");
    EXPECT_EQ(edges.error, "ОШИБКА! Есть отрезки профилей больше 5,5 м.");
    EXPECT_EQ(project->priceTotal(), 0);
    EXPECT_EQ(project->grandTotalText(), "ОШИБКА");
}
