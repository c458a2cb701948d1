// The materials panel worked from the keyboard alone: inserts chosen on the sketch get their
// materials from the thumbnail grid, directly and through the placement popup, and the bill is
// the one the same work with the mouse gives.
#include "ui/ComboDriver.h"
#include "ui/ShellTestSupport.h"
#include "ui/SketchDriver.h"
#include "ui/ThumbnailDriver.h"

#include "app/CtavrolabDlg.h"
#include "calc/DSSystem.h"
#include "catalog/Material.h"
#include "ui/materials/CThumbListCtrl.h"
#include "ui/materials/DlgDoorSize.h"
#include "ui/materials/DlgSplitter.h"
#include "ui/materials/DlgZoomMaterial.h"
#include "ui/materials/RightPanelDlg.h"
#include "ui/toppanel/TopPanelDlg.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace shelltest;
using namespace sketchtest;

namespace {

// One main window on a project of its own.
struct Shop {
    World world{true};
    std::unique_ptr<CtavrolabDlg> window;
    RightPanelDlg* right = nullptr;
    DraftDlg* sketch = nullptr;
    SketchDriver mouse;

    Shop() {
        window = std::make_unique<CtavrolabDlg>(*world.project);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        QApplication::setActiveWindow(window.get());
        right = window->materialsPanel();
        sketch = static_cast<DraftDlg*>(window->sketch());
        mouse = SketchDriver{sketch, world.project.get()};
        mouse.draw();
    }
    Insert& insert(int door, int id) { return mouse.door(door).inserts.at(id); }
};

void press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    QTest::keyClick(target, key, mods);
    QApplication::processEvents();
}

// Tab until w has the focus, as a user does; false when Tab never gets there.
bool tabTo(QWidget* w) {
    for (int step = 0; step < 80 && QApplication::focusWidget() != w; ++step)
        press(Qt::Key_Tab);
    return QApplication::focusWidget() == w;
}

// In the focused grid: the arrows, from the first thumbnail to the one labelled key.
void arrowToThumbnail(CThumbListCtrl* thumbs, const QString& key) {
    ASSERT_TRUE(thumbs->waitForThumbnails(10000));
    ASSERT_EQ(QApplication::focusWidget(), thumbs);
    press(Qt::Key_Home);
    for (int step = 0; step < thumbs->count() && thumbs->label(thumbs->currentRow()) != key; ++step)
        press(Qt::Key_Right);
    ASSERT_EQ(thumbs->label(thumbs->currentRow()), key);
}

TEST(MaterialsKeyboardTest, MaterialsGivenFromTheKeyboardBillAsGivenWithTheMouse) {
    const QString bronze = QStringLiteral("bronza.jpg");
    const QString graphite = QStringLiteral("grafit.jpg");
    std::string mouseBill;
    {
        // The mouse: the middle door's insert gets the bronze mirror, then the first door's the
        // graphite mirror spread over doors 1 and 2.
        Shop mouse;
        mouse.mouse.click(centre(mouse.insert(1, 1).rect));
        QTest::mouseClick(mouse.right->pageButton(RightPanelDlg::FillingPage), Qt::LeftButton);
        chooseEntry(mouse.right->groupList(), QStringLiteral("Зеркало"));
        clickThumbnail(mouse.right->thumbnails(), bronze);
        mouse.mouse.draw();
        QTest::mouseClick(mouse.right->placementToggle(), Qt::LeftButton);
        mouse.mouse.click(centre(mouse.insert(0, 1).rect));
        clickThumbnail(mouse.right->thumbnails(), graphite);
        DlgZoomMaterial* popup = mouse.right->placementPopup();
        ASSERT_TRUE(popup->isVisible());
        chooseEntry(popup->toList(), QStringLiteral("2"));
        QTest::mouseClick(popup->doorsButton(), Qt::LeftButton);
        ASSERT_FALSE(popup->isVisible());
        ASSERT_NE(mouse.insert(0, 1).material, nullptr);
        ASSERT_TRUE(mouse.insert(0, 1).spanDoors);
        ASSERT_EQ(mouse.insert(0, 1).spanLastDoor, 1);
        mouseBill = billText(*mouse.world.project);
    }

    Shop keys;
    keys.window->topPanel()->systemButton()->setFocus(Qt::TabFocusReason);
    // Tab to the sketch, to the middle door, Space chooses its insert.
    ASSERT_TRUE(tabTo(keys.sketch));
    press(Qt::Key_Right);
    ASSERT_EQ(keys.sketch->keyboardElement(), (SketchElementRef{SketchElementKind::Insert, 1, 1}));
    press(Qt::Key_Space);
    ASSERT_EQ(keys.mouse.door(1).materialTarget, &keys.insert(1, 1));
    // Tab to the page "Наполнение", Space; Tab to the groups, the arrows; Tab to the grid.
    ASSERT_TRUE(tabTo(keys.right->pageButton(RightPanelDlg::FillingPage)));
    press(Qt::Key_Space);
    ASSERT_EQ(keys.right->page(), RightPanelDlg::FillingPage);
    ASSERT_TRUE(tabTo(keys.right->groupList()));
    chooseEntry(keys.right->groupList(), QStringLiteral("Зеркало"));
    CThumbListCtrl* thumbs = keys.right->thumbnails();
    ASSERT_TRUE(tabTo(thumbs));
    arrowToThumbnail(thumbs, bronze);
    press(Qt::Key_Return);
    ASSERT_NE(keys.insert(1, 1).material, nullptr);
    EXPECT_EQ(QString::fromStdString(keys.insert(1, 1).material->pictureKey()), bronze);

    // The placement popup: Space on the toggle; back on the sketch the first door's insert.
    ASSERT_TRUE(tabTo(keys.right->placementToggle()));
    press(Qt::Key_Space);
    ASSERT_TRUE(keys.world.project->placementOnPick);
    ASSERT_TRUE(tabTo(keys.sketch));
    press(Qt::Key_Left);
    ASSERT_EQ(keys.sketch->keyboardElement(), (SketchElementRef{SketchElementKind::Insert, 0, 1}));
    press(Qt::Key_Space);
    ASSERT_TRUE(tabTo(thumbs));
    arrowToThumbnail(thumbs, graphite);
    // Escape closes the popup and changes nothing.
    const std::string before = billText(*keys.world.project);
    press(Qt::Key_Space);
    DlgZoomMaterial* popup = keys.right->placementPopup();
    ASSERT_TRUE(popup->isVisible());
    ASSERT_EQ(QApplication::focusWidget(), popup->insertButton());
    ASSERT_TRUE(tabTo(popup->doorsButton()));
    press(Qt::Key_Escape);
    EXPECT_FALSE(popup->isVisible());
    EXPECT_TRUE(keys.right->isEnabled());
    EXPECT_EQ(billText(*keys.world.project), before);
    // Again: Shift+Tab from "По размеру вставки" to "по", the arrows, and Enter spreads it.
    QApplication::setActiveWindow(keys.window.get());
    thumbs->setFocus(Qt::ActiveWindowFocusReason);
    press(Qt::Key_Enter);
    ASSERT_TRUE(popup->isVisible());
    ASSERT_EQ(QApplication::focusWidget(), popup->insertButton());
    press(Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_EQ(QApplication::focusWidget(), popup->toList());
    chooseEntry(popup->toList(), QStringLiteral("2"));
    press(Qt::Key_Return);
    EXPECT_FALSE(popup->isVisible());
    EXPECT_TRUE(keys.right->isEnabled());
    ASSERT_NE(keys.insert(0, 1).material, nullptr);
    EXPECT_EQ(QString::fromStdString(keys.insert(0, 1).material->pictureKey()), graphite);
    EXPECT_TRUE(keys.insert(0, 1).spanDoors);
    EXPECT_EQ(keys.insert(0, 1).spanFirstDoor, 0);
    EXPECT_EQ(keys.insert(0, 1).spanLastDoor, 1);

    EXPECT_EQ(billText(*keys.world.project), mouseBill);
    EXPECT_NE(keys.world.project->result.fillings.size(), 0u);
}

// Every command of the page "Система" from the keyboard, Tab going from the top left to the
// bottom right: the door widths dialog, the splitter profile popup and the splitter tools.
TEST(MaterialsKeyboardTest, TheSystemPageIsWorkedWithTabSpaceAndEscape) {
    Shop keys;
    RightPanelDlg* right = keys.right;
    Project& project = *keys.world.project;
    ASSERT_GE(project.system->splitterProfiles.size(), 2u);
    keys.window->topPanel()->systemButton()->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(tabTo(right->pageButton(RightPanelDlg::FillingPage)));
    std::vector<QWidget*> stops;
    do {
        stops.push_back(QApplication::focusWidget());
        press(Qt::Key_Tab);
    } while (right->isAncestorOf(QApplication::focusWidget()));
    for (QWidget* w :
         {static_cast<QWidget*>(right->doorSizeButton()),
          static_cast<QWidget*>(right->rollerList()),
          static_cast<QWidget*>(right->dimensionsToggle()),
          static_cast<QWidget*>(right->splitterButton()),
          static_cast<QWidget*>(right->placeButton()), static_cast<QWidget*>(right->clearButton())})
        EXPECT_NE(std::find(stops.begin(), stops.end(), w), stops.end())
            << w->accessibleName().toStdString();
    for (size_t k = 1; k < stops.size(); ++k) {
        const QPoint a = stops[k - 1]->geometry().topLeft();
        const QPoint b = stops[k]->geometry().topLeft();
        EXPECT_TRUE(a.y() < b.y() || (a.y() == b.y() && a.x() < b.x()))
            << stops[k - 1]->accessibleName().toStdString() << " before "
            << stops[k]->accessibleName().toStdString();
    }

    // The door widths dialog opens with its first field focused; Escape closes it.
    ASSERT_TRUE(tabTo(right->doorSizeButton()));
    press(Qt::Key_Space);
    ASSERT_TRUE(right->doorSizeDialog()->isVisible());
    EXPECT_TRUE(right->doorSizeDialog()->isAncestorOf(QApplication::focusWidget()));
    press(Qt::Key_Escape);
    EXPECT_FALSE(right->doorSizeDialog()->isVisible());
    EXPECT_TRUE(right->isEnabled());

    // The splitter profile popup takes the focus; Tab and Space choose another profile, and the
    // focus comes back to the button.
    QApplication::setActiveWindow(keys.window.get());
    ASSERT_TRUE(tabTo(right->splitterButton()));
    press(Qt::Key_Space);
    DlgSplitter* profiles = right->splitterPopup();
    ASSERT_TRUE(profiles->isVisible());
    ASSERT_TRUE(profiles->isAncestorOf(QApplication::focusWidget()));
    const SplitterProfile* first = project.splitterProfile;
    press(Qt::Key_Tab);
    press(Qt::Key_Space);
    EXPECT_FALSE(profiles->isVisible());
    EXPECT_NE(project.splitterProfile, first);
    EXPECT_EQ(QApplication::focusWidget(), right->splitterButton());
    press(Qt::Key_Space);
    ASSERT_TRUE(profiles->isVisible());
    press(Qt::Key_Escape);
    EXPECT_FALSE(profiles->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), right->splitterButton());

    // "Установить" from the keyboard turns the splitter mode on.
    ASSERT_TRUE(tabTo(right->placeButton()));
    press(Qt::Key_Space);
    EXPECT_TRUE(project.splitterMode);
}

} // namespace
