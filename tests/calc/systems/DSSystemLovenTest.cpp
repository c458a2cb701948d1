// The Ловен system: door sizes, pivot mode, tracks, automatic kits, seal and sketch block.
#include "support/CalcTestSupport.h"
#include "support/TempFolder.h"

#include "calc/CalcResult.h"
#include "calc/SystemFactory.h"
#include "calc/systems/DSSystemLoven.h"
#include "catalog/Catalog.h"

#include <gtest/gtest.h>

#include "text/ByteReader.h"
#include "text/ByteWriter.h"

using calctest::numberPieces;
using calctest::Records;

namespace {

class LovenTest : public ::testing::Test {
protected:
    TempFolder folder; // empty: built-in tables, no prices
    Catalog catalog{folder.path(), makeAllSystems};
    DSSystemLoven& loven = *dynamic_cast<DSSystemLoven*>(catalog.systems().at(0));
    std::unique_ptr<DoorSet> doors;
    CalcResult result;

    void makeDoors(int n, const HandleProfile* handle = nullptr) {
        if (handle == nullptr)
            handle = loven.handleProfiles.at(0);
        doors = std::make_unique<DoorSet>(30000, 20000, n, handle, loven.swapTracksFlag());
        loven.assignTracks(*doors);
    }
    void recalc(bool keepDoorWidths = false) {
        loven.updateGeometry(*doors, keepDoorWidths);
        numberPieces(*doors);
        loven.calculate(*doors, result, nullptr);
    }
    const ArticleRow* row(const std::string& code) const {
        for (const ArticleRow& r : result.articles)
            if (r.code == code)
                return &r;
        return nullptr;
    }
};

} // namespace

TEST(LovenSizesTest, OverlapAndBrushesSetTheDoorWidth) {
    Records records;
    HandleProfile* handle = records.handle("H", 200, 252, 171, 55000, 1);
    DSSystemLoven loven(0, "Ловен", 118);
    loven.systemArticles = {records.article("KL13", KindByLength, 0, 0, 0, 0, 20)};
    DoorSet doors(30000, 20000, 2, handle, false);
    loven.assignTracks(doors);
    loven.updateGeometry(doors, false);
    EXPECT_EQ(doors.doors[0].width, 15080); // (200 + 30000 - 2 × 20) / 2
    EXPECT_EQ(doors.doors[1].width, 15080);
    EXPECT_EQ(doors.doorsNominalWidth, 30160);
    EXPECT_EQ(doors.doors[0].height, 20000 - 400);
    // Missing top and bottom articles leave those edges without profile; nothing breaks.
    EXPECT_EQ(doors.doors[0].edges[EdgeTop].profile, nullptr);
    EXPECT_EQ(doors.doors[0].edges[EdgeLeft].cutLength, 19600);
}

TEST_F(LovenTest, CatalogBuildsLovenWithItsLinks) {
    EXPECT_EQ(loven.code, "Ловен");
    EXPECT_EQ(loven.index, 0);
    EXPECT_EQ(loven.systemKind, SystemLoven);
    EXPECT_EQ(loven.cabinetMode, 0);
    EXPECT_EQ(loven.hasEdgeOption, 0);
    EXPECT_EQ(loven.heightAdjust, -40);
    EXPECT_EQ(loven.pivotMode, 0);
    ASSERT_NE(loven.pivotKit, nullptr);
    EXPECT_EQ(loven.pivotKit->code, "KL16");
    EXPECT_EQ(loven.maxDoors(), 10);
    EXPECT_EQ(loven.clampDoorCount(12), 10);
    EXPECT_EQ(loven.minPlinthHeight(), 0);
    EXPECT_FALSE(loven.swapTracksFlag());
}

TEST_F(LovenTest, StandardFrameAndEdges) {
    makeDoors(2);
    recalc();
    const HandleProfile* handle = loven.handleProfiles[0]; // KL001: 26 / 25,2 / 17,1 mm
    const Door& d = doors->doors[1];
    EXPECT_EQ(d.width, (260 + 30000 - 2 * 30) / 2);
    EXPECT_EQ(d.height, 19600);
    EXPECT_EQ(d.edges[EdgeLeft].profile, handle);
    EXPECT_EQ(d.edges[EdgeTop].profile->code, "KL08");
    EXPECT_EQ(d.edges[EdgeBottom].profile->code, "KL07");
    EXPECT_EQ(d.edges[EdgeTop].cutLength, d.width + 2 * (5 - 252));
    EXPECT_EQ(d.edges[EdgeBottom].cutLength, d.width + 2 * (5 - 252));
}

TEST_F(LovenTest, TracksDecideTheGuideProfiles) {
    makeDoors(1);
    recalc();
    EXPECT_NE(row("KL03"), nullptr);
    EXPECT_NE(row("KL06"), nullptr);
    EXPECT_EQ(row("KL02"), nullptr);
    EXPECT_EQ(row("KL03")->quantity, 30000);

    makeDoors(2);
    recalc();
    EXPECT_NE(row("KL02"), nullptr);
    EXPECT_NE(row("KL05"), nullptr);
    EXPECT_EQ(row("KL03"), nullptr);
    EXPECT_EQ(row("KL05")->quantity, 30000);

    // Two doors put on one track by hand count as one track.
    doors->doors[1].track = 0;
    recalc(true);
    EXPECT_NE(row("KL03"), nullptr);
    EXPECT_NE(row("KL06"), nullptr);
}

TEST_F(LovenTest, PivotModeRunsAllDoorsOnOneTrack) {
    makeDoors(2);
    loven.pivotMode = 1;
    loven.assignTracks(*doors);
    EXPECT_EQ(doors->doors[1].track, 0);
    recalc();
    EXPECT_EQ(doors->doors[0].width, 14995); // (30000 - 9) / 2
    EXPECT_EQ(doors->doors[0].height, 20000 - 250);
    ASSERT_NE(row("KL04"), nullptr);
    EXPECT_EQ(row("KL04")->quantity, 60000);
    EXPECT_EQ(row("KL02"), nullptr);
    EXPECT_EQ(row("KL03"), nullptr);
    // The pivot kit replaces the rollers, is never tested for fit, and there are no brushes
    // and stoppers.
    loven.selectedRollerKit = dynamic_cast<RollerKit*>(loven.articleByCode("KL010/011B"));
    recalc(true);
    ASSERT_NE(row("KL16"), nullptr);
    EXPECT_EQ(row("KL16")->quantity, 4); // two packs per door
    EXPECT_TRUE(row("KL16")->error.empty());
    EXPECT_EQ(row("KL010/011B"), nullptr);
    EXPECT_EQ(row("KL13"), nullptr);
    EXPECT_EQ(row("KL14"), nullptr);
}

TEST_F(LovenTest, ThreeDoorsDropPivotMode) {
    makeDoors(3);
    loven.pivotMode = 1;
    loven.assignTracks(*doors);
    EXPECT_EQ(loven.pivotMode, 0);
    EXPECT_EQ(doors->doors[1].track, 1);
    EXPECT_EQ(doors->doors[2].track, 0);
}

TEST_F(LovenTest, AutomaticKitFollowsTheHandleSelectedKitIsTested) {
    loven.selectedRollerKit = nullptr;
    makeDoors(2); // KL001 needs an asymmetric kit
    recalc();
    ASSERT_NE(row("KL10/11B"), nullptr);
    EXPECT_EQ(row("KL10/11B")->quantity, 2);
    EXPECT_TRUE(row("KL10/11B")->error.empty());
    ASSERT_NE(row("KL13"), nullptr);
    EXPECT_EQ(row("KL13")->quantity, 19600 * 2 * 2);
    ASSERT_NE(row("KL14"), nullptr);
    EXPECT_EQ(row("KL14")->quantity, 2);

    const HandleProfile* symmetric = nullptr;
    for (const HandleProfile* h : loven.handleProfiles)
        if (h->rollerKind == 0)
            symmetric = h;
    ASSERT_NE(symmetric, nullptr);
    makeDoors(2, symmetric);
    recalc();
    EXPECT_NE(row("KL010/011B"), nullptr);
    EXPECT_EQ(row("KL10/11B"), nullptr);

    // The user picks the asymmetric kit for a symmetric handle profile.
    loven.selectedRollerKit = dynamic_cast<RollerKit*>(loven.articleByCode("KL10/11B"));
    recalc(true);
    ASSERT_NE(row("KL10/11B"), nullptr);
    EXPECT_EQ(row("KL10/11B")->error, "ОШИБКА: Ролики не подходят к выбранным ручкам.");
    loven.selectedRollerKit = nullptr;
}

TEST_F(LovenTest, PanelChoicesOfPivotAndHeight) {
    makeDoors(2);
    loven.choosePivotMode(*doors, true);
    EXPECT_EQ(loven.pivotMode, 1);
    EXPECT_EQ(doors->doors[1].track, 0);
    loven.choosePivotMode(*doors, false);
    EXPECT_EQ(doors->doors[1].track, 1);
    makeDoors(4);
    loven.choosePivotMode(*doors, true);
    EXPECT_EQ(loven.pivotMode, 0);

    doors->resizeAllDoors = false;
    doors->changed = false;
    loven.chooseHeightAdjust(*doors, "-33");
    EXPECT_EQ(loven.heightAdjust, -33);
    EXPECT_TRUE(doors->resizeAllDoors);
    EXPECT_TRUE(doors->changed);
    loven.chooseHeightAdjust(*doors, "-40");
    EXPECT_EQ(loven.heightAdjust, -40);
}

TEST_F(LovenTest, HeightAdjustRaisesTheDoors) {
    makeDoors(2);
    recalc();
    const int32_t before = doors->doors[0].height;
    // Door widths set by hand survive (in proportion); the heights all change.
    doors->doors[0].width -= 1000;
    doors->doors[1].width += 1000;
    loven.chooseHeightAdjust(*doors, "-33");
    recalc();
    EXPECT_EQ(doors->doors[0].height - before, 70);
    EXPECT_EQ(doors->doors[1].height, 20000 - 330);
    EXPECT_EQ(doors->doors[0].edges[EdgeRight].cutLength, 20000 - 330);
    EXPECT_EQ(doors->doors[1].width - doors->doors[0].width, 2000);
    loven.heightAdjust = -40;
}

TEST_F(LovenTest, FitAndSealPerimeter) {
    Records records;
    makeDoors(2);
    recalc();
    // Door 0: a 4 mm mirror whose opening is 1002 × 502 mm, so it is cut 1000 × 500 mm.
    // Door 1: a 10 mm board (no seal) and below it a 16 mm board (wrong thickness).
    Door& d0 = doors->doors[0];
    Door& d1 = doors->doors[1];
    d0.inserts[1].material = records.material("MIR", 40, 100000, "m.jpg");
    ASSERT_NE(calctest::split(d1, 10000, false, 100, nullptr), nullptr);
    d1.inserts[1].material = records.material("D10", 100, 100000, "d.jpg");
    d1.inserts[2].material = records.material("D16", 160, 100000, "e.jpg");
    loven.updateGeometry(*doors, true);
    const Insert& mirror = d0.inserts[1];
    // Bare opening: between the edges (17,1 mm handle sides, 12 mm top, 47 mm bottom).
    EXPECT_EQ(mirror.fillX, 171 + 10);
    EXPECT_EQ(mirror.fillY, 120 + 10);
    EXPECT_EQ(mirror.fillWidth, d0.width - 2 * 171 - 20);
    EXPECT_EQ(mirror.fillHeight, d0.height - 120 - 470 - 20);
    EXPECT_FALSE(mirror.thicknessMismatch);
    EXPECT_EQ(d1.inserts[1].fillWidth, d1.width - 2 * 171); // 10 mm: unchanged
    EXPECT_TRUE(d1.inserts[2].thicknessMismatch);

    // Force the mirror's cut size to 1000 × 500 mm to check the seal length.
    Insert& m = d0.inserts[1];
    m.fillWidth = 10000;
    m.fillHeight = 5000;
    numberPieces(*doors);
    loven.calculate(*doors, result, nullptr);
    ASSERT_NE(row("KL17"), nullptr);
    EXPECT_EQ(row("KL17")->quantity, 30000);
    EXPECT_EQ(row("KL17")->counted, 0);
    EXPECT_EQ(result.articles.back().code, "KL17");
    for (const CutPieceRow& cut : result.cutList)
        EXPECT_NE(cut.code, "KL17");
    // The 16 mm board: error row, total 0; the sizes are printed with one decimal.
    const FillingRow* d16 = nullptr;
    for (const FillingRow& f : result.fillings)
        if (f.code == "D16")
            d16 = &f;
    ASSERT_NE(d16, nullptr);
    EXPECT_EQ(d16->error, "ОШИБКА: Не подходящий по толщине (16,00) материал.");
    EXPECT_EQ(result.priceTotal(), 0);
    ASSERT_FALSE(result.fillingPieces.empty());
    EXPECT_EQ(result.fillingPieces.back().width, "1000,0");
    EXPECT_EQ(result.fillingPieces.back().height, "500,0");
}

TEST_F(LovenTest, NoSealWithoutThinFillings) {
    Records records;
    makeDoors(1);
    recalc();
    doors->doors[0].inserts[1].material = records.material("D10", 100, 100000, "d.jpg");
    recalc(true);
    EXPECT_EQ(row("KL17"), nullptr);
    doors->doors[0].inserts[1].material = records.material("D0", 0, 100000, "d.jpg");
    recalc(true);
    EXPECT_EQ(row("KL17"), nullptr);
    doors->doors[0].inserts[1].material = records.material("G8", 80, 100000, "g.jpg");
    recalc(true);
    EXPECT_NE(row("KL17"), nullptr);
}

// --- sketch block ---

namespace {

std::string block(DSSystem& s, int version) {
    ByteWriter out;
    s.writeSketchBlock(out, version);
    return out.bytes();
}

} // namespace

TEST_F(LovenTest, SketchBlockRoundTrip) {
    loven.edgeOption = 1;
    loven.selectedRollerKit = dynamic_cast<RollerKit*>(loven.articleByCode("KL10/11B"));
    loven.pivotMode = 1;
    loven.heightAdjust = -33;
    const std::string bytes = block(loven, 6);
    // edge byte, count 8 + 8 UTF-16 units, pivot byte, int32
    ASSERT_EQ(bytes.size(), 1u + 2 + 16 + 1 + 4);
    EXPECT_EQ(bytes.substr(0, 5), std::string("\x01\x08\x00K\x00", 5));
    EXPECT_EQ(bytes.substr(19), std::string("\x01\xDF\xFF\xFF\xFF", 5));

    loven.edgeOption = 0;
    loven.selectedRollerKit = nullptr;
    loven.pivotMode = 0;
    loven.heightAdjust = -40;
    ByteReader in(bytes);
    ASSERT_TRUE(loven.readSketchBlock(in, 6));
    EXPECT_EQ(loven.edgeOption, 1);
    EXPECT_EQ(loven.selectedRollerKitCode(), "KL10/11B");
    EXPECT_EQ(loven.pivotMode, 1);
    EXPECT_EQ(loven.heightAdjust, -33);
    EXPECT_EQ(in.remaining(), 0u);
}

TEST_F(LovenTest, OlderVersionsKeepTheFieldsTheyDoNotHold) {
    loven.edgeOption = 1;
    loven.pivotMode = 1;
    loven.heightAdjust = -33;
    loven.selectedRollerKit = dynamic_cast<RollerKit*>(loven.articleByCode("KL10/11B"));
    const std::string v6 = block(loven, 6);
    // Version 2 holds nothing, 4 the edge option only, 5 everything but the height adjustment.
    EXPECT_EQ(block(loven, 2).size(), 0u);
    EXPECT_EQ(block(loven, 4).size(), 1u);
    EXPECT_EQ(block(loven, 5).size(), v6.size() - 4);

    auto reset = [&] {
        loven.edgeOption = 0;
        loven.pivotMode = 0;
        loven.heightAdjust = -40;
        loven.selectedRollerKit = nullptr;
    };
    reset();
    ByteReader v2(v6);
    ASSERT_TRUE(loven.readSketchBlock(v2, 2));
    EXPECT_EQ(loven.edgeOption, 0);
    EXPECT_EQ(v2.remaining(), v6.size());

    ByteReader v4(v6);
    ASSERT_TRUE(loven.readSketchBlock(v4, 4));
    EXPECT_EQ(loven.edgeOption, 1);
    EXPECT_EQ(loven.selectedRollerKit, nullptr);

    reset();
    ByteReader v5(v6);
    ASSERT_TRUE(loven.readSketchBlock(v5, 5));
    EXPECT_EQ(loven.selectedRollerKitCode(), "KL10/11B");
    EXPECT_EQ(loven.pivotMode, 1);
    EXPECT_EQ(loven.heightAdjust, -40);
    reset();
}

TEST_F(LovenTest, DamagedBlockChangesNothing) {
    loven.selectedRollerKit = dynamic_cast<RollerKit*>(loven.articleByCode("KL10/11B"));
    loven.pivotMode = 1;
    const std::string full = block(loven, 6);
    loven.pivotMode = 0;
    loven.selectedRollerKit = nullptr;
    const std::string cutBytes = full.substr(0, full.size() - 2);
    ByteReader cut(cutBytes);
    EXPECT_FALSE(loven.readSketchBlock(cut, 6));
    EXPECT_EQ(loven.pivotMode, 0);
    EXPECT_EQ(loven.selectedRollerKit, nullptr);

    // A string count that runs past the end.
    const std::string shortBytes("\x00\x40\x00K\x00", 5);
    ByteReader shortString(shortBytes);
    EXPECT_FALSE(loven.readSketchBlock(shortString, 6));
}

TEST_F(LovenTest, UnknownKitCodeKeepsSelectionEmptyCodeClearsIt) {
    RollerKit* kit = dynamic_cast<RollerKit*>(loven.articleByCode("KL10/11B"));
    ASSERT_NE(kit, nullptr);
    auto lovenBlock = [](const char* code) {
        ByteWriter out;
        out.u8(0);
        out.str(code);
        out.u8(0);
        out.i32(-40);
        return out.bytes();
    };
    // A kit of another system, an article that is no kit, a code in the wrong case.
    for (const char* code : {"W1406", "KL14", "kl10/11b"}) {
        loven.selectedRollerKit = kit;
        const std::string bytes = lovenBlock(code);
        ByteReader in(bytes);
        ASSERT_TRUE(loven.readSketchBlock(in, 6));
        EXPECT_EQ(loven.selectedRollerKit, kit) << code;
    }
    const std::string empty = lovenBlock("");
    ByteReader in(empty);
    ASSERT_TRUE(loven.readSketchBlock(in, 6));
    EXPECT_EQ(loven.selectedRollerKit, nullptr);
}
