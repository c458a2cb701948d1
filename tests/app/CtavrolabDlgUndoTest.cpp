// Undo and redo in the main window: a session of sketch edits, a material and a typed width,
// undone step by step with Ctrl+Z back to the very start and redone with Ctrl+Shift+Z / Ctrl+Y.
#include "ui/ShellTestSupport.h"
#include "ui/SketchDriver.h"

#include "app/CtavrolabDlg.h"
#include "catalog/MaterialGroup.h"
#include "model/SketchFile.h"
#include "model/UndoHistory.h"
#include "output/AccountingCsv.h"
#include "ui/ordercard/DlgOrder.h"
#include "ui/results/DlgTabs.h"
#include "ui/toppanel/TopPanelDlg.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace shelltest;
using namespace sketchtest;

namespace {

// What a user keeps of a project: the saved sketch file and the accounting file.
using Saved = std::pair<std::string, std::string>;

struct SketchUndo : ::testing::Test {
    World world{true};
    std::unique_ptr<CtavrolabDlg> window;
    SketchDriver mouse;

    void SetUp() override {
        window = std::make_unique<CtavrolabDlg>(*world.project);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        mouse = SketchDriver{static_cast<DraftDlg*>(window->sketch()), world.project.get()};
        mouse.draw();
    }

    Project& project() { return *world.project; }
    Saved saved() {
        return {SketchFile::toBytes(project()).value_or(""), accountingCsvBytes(project())};
    }
    // The window handles the events of the action (including the queued step record).
    void settle() {
        QApplication::processEvents();
        mouse.draw();
    }
    void keys(int key, Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(window.get(), static_cast<Qt::Key>(key), modifiers);
        settle();
    }
};

TEST_F(SketchUndo, UndoingEverythingGivesBackTheStartingFilesAndRedoTheFinalOnes) {
    UndoHistory& history = *window->history();
    std::vector<Saved> states{saved()};
    const auto step = [&] {
        settle();
        states.push_back(saved());
        EXPECT_NE(states.back(), states[states.size() - 2]) << "step " << states.size() - 1;
        EXPECT_EQ(history.undoSteps(), states.size() - 1) << "step " << states.size() - 1;
    };

    // A split with its size set in the popup is one step.
    mouse.splitClick(0, 0.5, 0.5, true);
    SizeDlg* popup = mouse.sketch->sizePopup();
    ASSERT_TRUE(popup && popup->isVisible());
    EXPECT_FALSE(mouse.sketch->isEnabled()) << "the hub disables the sketch under the popup";
    EXPECT_TRUE(popup->isEnabled());
    popup->sizeField()->setText(QStringLiteral("420"));
    EXPECT_FALSE(window->undo()) << "the popup holds a change in progress";
    QTest::mouseClick(popup->okButton(), Qt::LeftButton);
    EXPECT_TRUE(mouse.sketch->isEnabled());
    step();
    // A split whose popup is cancelled.
    ASSERT_NE(mouse.splitAt(1, 0.5, 0.4, false), nullptr);
    step();
    // A splitter drag, and a boundary drag.
    const QPoint grip = centre(mouse.door(0).splitters.begin()->second.rect);
    mouse.drag(grip, {grip + QPoint(8, 0), grip + QPoint(16, 0)});
    popup->cancel();
    step();
    const QPoint boundary = centre(mouse.door(1).edges[EdgeRight].rect);
    mouse.drag(boundary, {boundary + QPoint(10, 0), boundary + QPoint(24, 0)});
    step();
    // A material chosen for an insert, as the materials panel gives it.
    mouse.click(centre(mouse.door(0).inserts.begin()->second.rect));
    const MaterialGroup* group = project().catalog().materialGroups().front();
    ASSERT_FALSE(group->materials.empty());
    ASSERT_TRUE(project().assignMaterial(&group->materials.front()));
    window->notify(Notify::ProjectChanged);
    step();
    // Copy door 2 and paste it onto door 3, then delete the pasted splitter.
    mouse.menuCommand(centre(mouse.door(1).inserts.begin()->second.rect),
                      QStringLiteral("Копировать дверь 2"));
    mouse.menuCommand(centre(mouse.door(2).inserts.begin()->second.rect),
                      QStringLiteral("Вставить дверь 2"));
    step();
    mouse.menuCommand(centre(mouse.door(2).splitters.begin()->second.rect),
                      QStringLiteral("Удалить"));
    step();
    // Typing a new opening width is one step, however many keys it took.
    QLineEdit* width = window->topPanel()->widthEdit();
    width->setFocus();
    width->selectAll();
    QTest::keyClicks(width, QStringLiteral("3200"));
    step();
    EXPECT_EQ(project().openingWidth, 32000);
    // The focus leaves the field, so that Ctrl+Z reaches the window.
    mouse.click(QPoint(2, 2));
    ASSERT_EQ(QApplication::focusWidget(), mouse.sketch);
    const Saved final = states.back();

    for (std::size_t k = states.size() - 1; k > 0; --k) {
        keys(Qt::Key_Z, Qt::ControlModifier);
        ASSERT_EQ(saved(), states[k - 1]) << "after undoing step " << k;
    }
    EXPECT_EQ(window->topPanel()->widthEdit()->text(), QStringLiteral("3000"));
    keys(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(saved(), states.front()) << "nothing left to undo";

    for (std::size_t k = 1; k < states.size(); ++k) {
        if (k % 2)
            keys(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        else
            keys(Qt::Key_Y, Qt::ControlModifier);
        ASSERT_EQ(saved(), states[k]) << "after redoing step " << k;
    }
    EXPECT_EQ(saved(), final);
    EXPECT_EQ(window->topPanel()->widthEdit()->text(), QStringLiteral("3200"));

    // The context menu offers the same commands.
    mouse.menuCommand(centre(mouse.door(0).inserts.begin()->second.rect),
                      QStringLiteral("Отменить"));
    EXPECT_EQ(saved(), states[states.size() - 2]);
    mouse.menuCommand(centre(mouse.door(0).inserts.begin()->second.rect),
                      QStringLiteral("Повторить"));
    EXPECT_EQ(saved(), final);
}

TEST_F(SketchUndo, OpeningASketchStartsTheHistoryAnew) {
    UndoHistory& history = *window->history();
    ASSERT_NE(mouse.splitAt(0, 0.5, 0.5, true), nullptr);
    settle();
    ASSERT_TRUE(history.canUndo());
    const std::string path = world.path(QStringLiteral("эскиз.tav")).toStdString();
    ASSERT_EQ(SketchFile::write(project(), path), SketchFile::WriteOk);
    ScriptedDialogs dialogs;
    dialogs.openAnswers.push_back(QString::fromStdString(path));
    dialogs.askAnswers.push_back(QStringLiteral("Не сохранять"));
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    settle();
    EXPECT_FALSE(history.canUndo());
    EXPECT_FALSE(history.canRedo());
    // Undo now has nothing to go back to: the opened project stays.
    const Saved opened = saved();
    keys(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(saved(), opened);
}

TEST_F(SketchUndo, CtrlZTakesBackANameTypedIntoTheOrderCardAndCtrlYGivesItAgain) {
    QTest::mouseClick(window->tabStrip(), Qt::LeftButton, {},
                      window->tabStrip()->tabRect(2).center());
    QLineEdit* name = window->orderCard()->nameEdit();
    name->setFocus();
    for (QChar c : QStringLiteral("Петров")) // typed key by key, as the keyboard sends them
        QTest::sendKeyEvent(QTest::Click, name, Qt::Key_unknown, QString(c), Qt::NoModifier);
    settle();
    ASSERT_EQ(project().order.clientName, "Петров");
    // With the focus out of the field, Ctrl+Z reaches the window rather than the field's own undo.
    window->tabStrip()->setFocus();
    keys(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(project().order.clientName, "");
    EXPECT_EQ(name->text(), QString());
    keys(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(name->text(), QStringLiteral("Петров"));
}

} // namespace
