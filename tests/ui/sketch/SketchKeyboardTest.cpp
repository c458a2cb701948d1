// The sketch worked from the keyboard alone: the same edits as with the mouse, the same bill.
#include "ui/SketchDriver.h"
#include "ui/ViewsTestSupport.h"

#include "output/SketchElements.h"
#include "ui/shared/PictureCache.h"
#include "ui/sketch/DraftDlg.h"
#include "ui/sketch/SizeDlg.h"
#include "ui/sketch/SketchRenderer.h"

#include <QAccessible>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace sketchtest;
using namespace viewstest;

namespace {

// One sketch on a project of its own.
struct Side {
    ProjectWorld world;
    RecordingHub hub;
    PictureCache cache;
    std::unique_ptr<DraftDlg> sketch;
    SketchDriver mouse;
    const Material* mirror = nullptr;

    Side() {
        sketch = std::make_unique<DraftDlg>(*world.project, &hub, nullptr, &cache);
        sketch->resize(1000, 700);
        sketch->show();
        mouse = SketchDriver{sketch.get(), world.project.get()};
        mouse.draw();
        mirror = world.material(QStringLiteral("серебро"), Qt::gray, 40);
    }
    Project& project() { return *world.project; }
    Door& door(int i) { return project().doors->doors[static_cast<size_t>(i)]; }
    // What the materials panel does with a thumbnail once an insert is chosen.
    void assignMirror() {
        ASSERT_TRUE(project().assignMaterial(mirror));
        mouse.draw();
    }
};

struct SketchKeyboardTest : ::testing::Test {
    Side keys;

    void SetUp() override { focusKeys(); }
    // The keyboard's sketch gets the focus as Tab gives it.
    void focusKeys() {
        QApplication::setActiveWindow(keys.sketch.get());
        keys.sketch->clearFocus();
        keys.sketch->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(keys.sketch->hasFocus());
    }
    void press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(keys.sketch.get(), key, mods);
        keys.mouse.draw();
    }
    SketchElementRef current() const { return keys.sketch->keyboardElement(); }
    // The popup's window closed: the window system activates the sketch's window again.
    void backFromPopup() {
        QApplication::setActiveWindow(keys.sketch.get());
        keys.mouse.draw();
        ASSERT_TRUE(keys.sketch->hasFocus());
    }
};

TEST_F(SketchKeyboardTest, AKeyboardWalkthroughGivesTheBillOfTheSameWorkWithTheMouse) {
    Side mouse;
    focusKeys();
    for (Side* s : {&keys, &mouse})
        s->project().splitterVertical = true;

    // Keyboard: to door 2, split it (the size popup opens; Escape keeps the size), then split
    // its right part horizontally.
    EXPECT_EQ(current(), (SketchElementRef{SketchElementKind::Insert, 0, 1}));
    press(Qt::Key_Right);
    ASSERT_EQ(current(), (SketchElementRef{SketchElementKind::Insert, 1, 1}));
    const QPoint firstSplit = toQRect(keys.door(1).inserts.at(1).rect).center();
    keys.project().splitterMode = true;
    press(Qt::Key_Return);
    ASSERT_EQ(keys.door(1).splitters.size(), 1u);
    ASSERT_TRUE(keys.sketch->sizePopupVisible());
    QTest::keyClick(keys.sketch->sizePopup(), Qt::Key_Escape);
    EXPECT_FALSE(keys.sketch->sizePopupVisible());
    backFromPopup();
    press(Qt::Key_Right); // the new splitter
    EXPECT_EQ(current(), (SketchElementRef{SketchElementKind::Splitter, 1, 1}));
    press(Qt::Key_Right); // the right part
    ASSERT_EQ(current(), (SketchElementRef{SketchElementKind::Insert, 1, 2}));
    const QPoint secondSplit = toQRect(keys.door(1).inserts.at(2).rect).center();
    keys.project().splitterVertical = false;
    press(Qt::Key_Enter);
    ASSERT_EQ(keys.door(1).splitters.size(), 2u);
    QTest::keyClick(keys.sketch->sizePopup(), Qt::Key_Escape);
    backFromPopup();
    keys.project().splitterMode = false;

    // Back to the left part, choose it, give it the mirror; then the horizontal splitter goes.
    press(Qt::Key_Left);
    press(Qt::Key_Left);
    ASSERT_EQ(current(), (SketchElementRef{SketchElementKind::Insert, 1, 1}));
    const QPoint chosen = toQRect(keys.door(1).inserts.at(1).rect).center();
    press(Qt::Key_Space);
    EXPECT_EQ(keys.door(1).materialTarget, &keys.door(1).inserts.at(1));
    keys.assignMirror();
    press(Qt::Key_Right);
    press(Qt::Key_Right);
    // On one of the two right parts (the row runs along their boundary); to their splitter.
    ASSERT_EQ(current().kind, SketchElementKind::Insert);
    press(current().id == 3 ? Qt::Key_Up : Qt::Key_Down);
    ASSERT_EQ(current(), (SketchElementRef{SketchElementKind::Splitter, 1, 2}));
    const QPoint deleted = toQRect(keys.door(1).splitters.at(2).rect).center();
    press(Qt::Key_Delete);
    EXPECT_EQ(keys.door(1).splitters.size(), 1u);
    EXPECT_TRUE(current().valid()) << "the cursor stays on the sketch";

    // The mouse does the same at the same places.
    mouse.project().splitterMode = true;
    mouse.mouse.click(firstSplit);
    mouse.sketch->sizePopup()->cancel();
    mouse.mouse.draw();
    mouse.project().splitterVertical = false;
    mouse.mouse.click(secondSplit);
    mouse.sketch->sizePopup()->cancel();
    mouse.mouse.draw();
    mouse.project().splitterMode = false;
    mouse.mouse.click(chosen);
    mouse.assignMirror();
    mouse.mouse.withMenu(
        deleted, [](QMenu* menu) { SketchDriver::choose(menu, QStringLiteral("Удалить")); });
    mouse.mouse.draw();

    EXPECT_EQ(mouse.door(1).splitters.size(), 1u);
    EXPECT_EQ(billText(keys.project()), billText(mouse.project()));
    EXPECT_NE(keys.project().result.fillings.size(), 0u);
}

TEST_F(SketchKeyboardTest, TheMenuKeyOpensTheMenuOfTheElementAndTheOutlineFollows) {
    press(Qt::Key_Right);
    press(Qt::Key_Right);
    ASSERT_EQ(current(), (SketchElementRef{SketchElementKind::Insert, 2, 1}));
    // The accessible sketch reports the keyboard's element as focused.
    QAccessibleInterface* sketchIface = QAccessible::queryAccessibleInterface(keys.sketch.get());
    ASSERT_NE(sketchIface->focusChild(), nullptr);
    EXPECT_EQ(sketchIface->focusChild()->text(QAccessible::Name).left(18),
              QStringLiteral("Вставка 1 двери 3:"));
    // The dashed outline is drawn around the element on the screen.
    const QImage shot = keys.sketch->grab().toImage();
    const QRect r = toQRect(keys.door(2).inserts.at(1).rect).adjusted(-4, -4, 3, 3);
    bool outlined = false;
    for (int x = r.left(); x <= r.right() && !outlined; ++x)
        outlined = shot.pixelColor(x, r.top()) == QColor(30, 90, 200);
    EXPECT_TRUE(outlined);

    QStringList seen;
    QTimer::singleShot(0, keys.sketch.get(), [&seen] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* a : menu->actions())
                if (!a->isSeparator())
                    seen << a->text();
            menu->close();
        }
    });
    press(Qt::Key_Menu);
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_EQ(seen.front(), QStringLiteral("Копировать дверь 3"));
}

} // namespace
