// The sketch's elements as a screen reader names them.
#include "support/OutputTestSupport.h"

#include "model/SketchLayout.h"
#include "output/SketchElements.h"

#include <gtest/gtest.h>

using namespace outtest;

namespace {

// The filling size as a person reads it, worked out digit by digit: 4772 -> "477,2".
std::string tenths(int32_t v) {
    return std::to_string(v / 10) + "," + std::to_string(v % 10);
}

struct SketchElementsTest : ::testing::Test {
    World world;

    void SetUp() override {
        ASSERT_TRUE(buildSampleProject(world, "Ловен"));
        DoorSet& doors = *world.project->doors;
        layoutSketch(doors, screenFrame(doors, ScreenRect{0, 0, 1000, 700}, 96));
    }
    DoorSet& doors() { return *world.project->doors; }
};

TEST_F(SketchElementsTest, DoorsInsertsAndSplittersInTheirOrderWithTheirNames) {
    const std::vector<SketchElement> list = sketchElements(doors());
    size_t k = 0;
    for (int i = 0; i < doors().doorCount; ++i) {
        const Door& d = doors().doors[static_cast<size_t>(i)];
        ASSERT_LT(k, list.size());
        const SketchElement& door = list[k++];
        EXPECT_EQ(door.ref, (SketchElementRef{SketchElementKind::Door, i, 0}));
        EXPECT_EQ(door.name, "Дверь " + std::to_string(i + 1));
        EXPECT_EQ(door.rect, d.rect);
        int n = 0;
        for (const auto& [id, in] : d.inserts) {
            ASSERT_LT(k, list.size());
            const SketchElement& e = list[k++];
            EXPECT_EQ(e.ref, (SketchElementRef{SketchElementKind::Insert, i, id}));
            EXPECT_EQ(list[static_cast<size_t>(e.parent)].ref, door.ref);
            EXPECT_EQ(e.rect, in.rect);
            ASSERT_GT(in.fillWidth, 0) << "the calculation fitted the filling";
            std::string material = in.material ? in.material->name : "без наполнения";
            if (in.material && in.material->fromFolder)
                material += " (" + in.material->pictureKey() + ")";
            EXPECT_EQ(e.name, "Вставка " + std::to_string(++n) + " двери " + std::to_string(i + 1) +
                                  ": " + material + ", " + tenths(in.fillWidth) + " × " +
                                  tenths(in.fillHeight) + " мм");
        }
        n = 0;
        for (const auto& [id, s] : d.splitters) {
            ASSERT_LT(k, list.size());
            const SketchElement& e = list[k++];
            EXPECT_EQ(e.ref, (SketchElementRef{SketchElementKind::Splitter, i, id}));
            EXPECT_EQ(e.rect, s.rect);
            ++n;
            EXPECT_EQ(e.name.rfind("Разделитель " + std::to_string(n) + " двери " +
                                       std::to_string(i + 1) + ", ",
                                   0),
                      0u)
                << e.name;
        }
    }
    EXPECT_EQ(k, list.size());
}

TEST_F(SketchElementsTest, SplittersArePlacedAsTheFitterMeasures) {
    // The sample splits every door in the middle (vertical) and at a third of its height
    // (horizontal), both rounded to whole centimetres.
    Door& d = doors().doors[1];
    Splitter& vertical = d.splitters.at(1);
    Splitter& horizontal = d.splitters.at(2);
    ASSERT_TRUE(vertical.vertical);
    ASSERT_FALSE(horizontal.vertical);
    horizontal.position = 8000;
    EXPECT_EQ(splitterName(d, horizontal, 2), "Разделитель 2 двери 2, горизонтальный, " +
                                                  std::to_string((d.height - 8000) / 10) +
                                                  " мм от низа");
    // A position in tenths of a millimetre keeps its tenth.
    vertical.position = 4805;
    EXPECT_EQ(splitterName(d, vertical, 1),
              "Разделитель 1 двери 2, вертикальный, 480,5 мм от левого края");
}

TEST_F(SketchElementsTest, HoverAndMaterialTargetAreMarked) {
    Door& d = doors().doors[2];
    Insert& in = d.inserts.rbegin()->second;
    const ScreenPoint middle{(in.rect.left + in.rect.right) / 2,
                             (in.rect.top + in.rect.bottom) / 2};
    hitTestSketch(doors(), middle);
    ASSERT_TRUE(doors().chooseMaterialTargetAtPoint(middle));
    const auto list = sketchElements(doors());
    const int k = findElement(list, {SketchElementKind::Insert, 2, d.inserts.rbegin()->first});
    ASSERT_GE(k, 0);
    int hovered = 0;
    int targets = 0;
    for (const SketchElement& e : list) {
        hovered += e.hovered ? 1 : 0;
        targets += e.target ? 1 : 0;
    }
    EXPECT_TRUE(list[static_cast<size_t>(k)].hovered);
    EXPECT_TRUE(list[static_cast<size_t>(k)].target);
    EXPECT_EQ(hovered, 1);
    EXPECT_EQ(targets, 1);

    // A zoomed door is the only one in view.
    doors().zoomDoor = 1;
    for (const SketchElement& e : sketchElements(doors()))
        EXPECT_EQ(e.ref.door, 1);
}

} // namespace
