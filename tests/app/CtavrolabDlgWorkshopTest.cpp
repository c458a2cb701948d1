// The workshop window in the main window: "Производство" of the top panel opens it by a click
// and by Ctrl+R, and what was typed into it is there when it is opened again.
#include "ui/CutListDriver.h"
#include "ui/ShellTestSupport.h"

#include "app/CtavrolabDlg.h"
#include "ui/shared/PictureButton.h"
#include "ui/toppanel/TopPanelDlg.h"
#include "ui/workshop/DlgWorkshop.h"

#include <QTabWidget>

#include <gtest/gtest.h>

using namespace shelltest;

TEST(WorkshopWindow, OpensByClickAndByShortcutAndKeepsItsListBetweenOpenings) {
    World world;
    ScriptedDialogs dialogs;
    CtavrolabDlg window(*world.project);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_EQ(window.workshopWindow(), nullptr); // made when first asked for

    QTest::mouseClick(window.topPanel()->workshopButton(), Qt::LeftButton);
    DlgWorkshop* workshop = window.workshopWindow();
    ASSERT_NE(workshop, nullptr);
    EXPECT_TRUE(workshop->isVisible());
    EXPECT_TRUE(workshop->isWindow());
    EXPECT_EQ(workshop->windowTitle(), QStringLiteral("Производство"));
    EXPECT_EQ(workshop->pages()->tabText(workshop->pages()->currentIndex()),
              QStringLiteral("Раскрой по списку"));
    ASSERT_TRUE(QTest::qWaitForWindowActive(workshop));
    CutListPage* page = workshop->cutListPage();
    cutlisttest::typeRow(page->piecesBox(), {"Брус", "Стойка", "2000"});
    const auto typed = cutlisttest::cells(page->piecesBox()->table());
    ASSERT_EQ(typed.size(), 1u);

    workshop->close();
    EXPECT_FALSE(workshop->isVisible());
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(window.workshopWindow(), workshop);
    EXPECT_TRUE(workshop->isVisible());
    EXPECT_EQ(cutlisttest::cells(page->piecesBox()->table()), typed);
}
