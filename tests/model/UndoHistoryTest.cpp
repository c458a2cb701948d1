// The undo history: steps, merged typing, grouped popup steps, the unrecorded change, the bound,
// and that a project changed in many ways comes back byte for byte.
#include "support/LayoutHelpers.h"
#include "support/TempFolder.h"

#include "calc/SystemFactory.h"
#include "catalog/Catalog.h"
#include "model/Project.h"
#include "model/SketchFile.h"
#include "model/UndoHistory.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

struct UndoWorld : ::testing::Test {
    TempFolder folder;
    std::unique_ptr<Catalog> catalog = std::make_unique<Catalog>(folder.path(), makeAllSystems);
    std::unique_ptr<Project> project = std::make_unique<Project>(*catalog);

    std::string bytes() const { return SketchFile::toBytes(*project).value_or(""); }

    // Splits door d at model point (x, y) as a click on a door drawn at scale 1 does.
    bool split(int d, int x, int y, bool vertical) {
        DoorSet& set = *project->doors;
        for (int i = 0; i < set.doorCount; ++i)
            layout::placeOnScreen(set.doors[i], 1.0, 0, 0);
        set.scale = 1.0;
        set.zoomDoor = d;
        project->splitterVertical = vertical;
        const bool done = project->addSplitterAtPoint({x, y});
        set.zoomDoor = -1;
        return done;
    }
};

TEST_F(UndoWorld, StepsGoBackAndForthThroughEveryKindOfChange) {
    UndoHistory history(*project);
    std::vector<std::string> states{bytes()};
    const auto step = [&] {
        EXPECT_TRUE(history.record());
        states.push_back(bytes());
    };
    ASSERT_TRUE(split(0, 4000, 1000, true));
    step();
    ASSERT_TRUE(project->setOpeningWidth(36000));
    step();
    ASSERT_TRUE(split(1, 500, 9000, false));
    step();
    project->copyDoor(1);
    ASSERT_EQ(project->pasteDoor(2), PasteDone);
    step();
    project->alignSplitters(0, true);
    step();
    ASSERT_TRUE(project->setSystem(catalog->systems()[3]));
    step();
    project->order.clientName = "Иванов";
    step();
    // The whole discount is the limit a file holds: it must come back on undo and redo.
    ASSERT_TRUE(project->setDiscountPercent(100.0));
    step();
    EXPECT_FALSE(history.record()) << "an unchanged project is no step";
    ASSERT_EQ(history.undoSteps(), states.size() - 1);
    // The history holds every state but the present, and undo and redo move bytes between its
    // lists without leaking any: a large project would otherwise reach the memory bound early.
    std::size_t held = 0;
    for (std::size_t k = 0; k + 1 < states.size(); ++k)
        held += states[k].size();
    EXPECT_EQ(history.bytesHeld(), held);
    for (int pair = 0; pair < 5; ++pair) {
        ASSERT_TRUE(history.undo());
        ASSERT_TRUE(history.redo());
    }
    EXPECT_EQ(history.bytesHeld(), held);

    for (std::size_t k = states.size() - 1; k > 0; --k) {
        ASSERT_TRUE(history.undo());
        EXPECT_EQ(bytes(), states[k - 1]) << "undo to state " << k - 1;
    }
    EXPECT_FALSE(history.undo());
    for (std::size_t k = 1; k < states.size(); ++k) {
        ASSERT_TRUE(history.redo());
        EXPECT_EQ(bytes(), states[k]) << "redo to state " << k;
    }
    EXPECT_FALSE(history.redo());

    // A new change after undoing drops what could have been redone, and its bytes.
    ASSERT_TRUE(history.undo());
    ASSERT_TRUE(project->setHeight(21000));
    EXPECT_TRUE(history.record());
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(history.bytesHeld(), held);
    history.reset();
    EXPECT_EQ(history.bytesHeld(), 0u);
}

TEST_F(UndoWorld, TypingMergesGroupsExtendAndForgottenChangesAreSteps) {
    UndoHistory history(*project);
    const std::string start = bytes();
    // Typing 3, 32, 320 into one field is one step; typed back to the start it is none.
    for (int32_t w : {30000 + 10, 30000 + 20, 30000 + 30}) {
        ASSERT_TRUE(project->setOpeningWidth(w));
        history.record("width");
    }
    EXPECT_EQ(history.undoSteps(), 1u);
    ASSERT_TRUE(project->setOpeningWidth(30000));
    history.record("width");
    EXPECT_EQ(history.undoSteps(), 0u);
    EXPECT_EQ(bytes(), start);

    // A split and the size set in its popup are one step.
    ASSERT_TRUE(split(0, 4000, 1000, true));
    history.record();
    const std::string beforeSplit = start;
    history.beginStep(true);
    ASSERT_TRUE(project->setInsertSize(3000, InsertSide::Before));
    history.record();
    ASSERT_TRUE(project->setInsertSize(3050, InsertSide::Before));
    history.endStep();
    EXPECT_EQ(history.undoSteps(), 1u);
    const std::string afterPopup = bytes();

    // A popup opened after a refused change makes a step of its own, however often it changes.
    history.beginStep(false);
    ASSERT_TRUE(project->setInsertSize(2500, InsertSide::Before));
    history.record();
    ASSERT_TRUE(project->setInsertSize(2400, InsertSide::Before));
    history.endStep();
    EXPECT_EQ(history.undoSteps(), 2u);
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(bytes(), afterPopup);

    // A change nobody recorded is undone first, and can be redone.
    ASSERT_TRUE(project->setHeight(22000));
    const std::string forgotten = bytes();
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(bytes(), afterPopup);
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(bytes(), beforeSplit);
    ASSERT_TRUE(history.redo());
    ASSERT_TRUE(history.redo());
    EXPECT_EQ(bytes(), forgotten);

    history.reset();
    EXPECT_FALSE(history.canUndo());
    EXPECT_FALSE(history.canRedo());
}

TEST_F(UndoWorld, HistoryKeepsTheLastHundredStepsAndStaysBounded) {
    UndoHistory history(*project);
    for (int k = 1; k <= 130; ++k) {
        ASSERT_TRUE(project->setOpeningWidth(30000 + 10 * k));
        ASSERT_TRUE(history.record());
    }
    EXPECT_EQ(history.undoSteps(), UndoHistory::kMaxSteps);
    EXPECT_LE(history.bytesHeld(), (UndoHistory::kMaxSteps + 1) * bytes().size());
    int undone = 0;
    while (history.undo())
        ++undone;
    EXPECT_EQ(undone, 100);
    EXPECT_EQ(project->openingWidth, 30000 + 10 * 30);
    EXPECT_EQ(history.redoSteps(), 100u);
}

} // namespace
