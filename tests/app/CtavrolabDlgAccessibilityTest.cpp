// The main window as a screen reader and a keyboard-only user meet it: names of every control
// through QAccessible, the totals read with their meaning, the Tab order and Escape.
#include "ui/ComboDriver.h"
#include "ui/ShellTestSupport.h"
#include "ui/SketchDriver.h"

#include "app/CtavrolabDlg.h"
#include "catalog/Catalog.h"
#include "catalog/MaterialGroup.h"
#include "catalog/SplitterProfile.h"
#include "ui/materials/CThumbListCtrl.h"
#include "ui/materials/DlgDoorSize.h"
#include "ui/materials/DlgSplitter.h"
#include "ui/materials/DlgZoomMaterial.h"
#include "ui/materials/RightPanelDlg.h"
#include "ui/ordercard/DlgOrder.h"
#include "ui/results/DlgPlan.h"
#include "ui/results/DlgTabs.h"
#include "ui/results/SumDlg.h"
#include "ui/shared/PictureButton.h"
#include "ui/sketch/SizeDlg.h"
#include "ui/toppanel/DlgColors.h"
#include "ui/toppanel/DlgHands.h"
#include "ui/toppanel/DlgSystems.h"
#include "ui/toppanel/TopPanelDlg.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace shelltest;
using namespace sketchtest;

// Readable failure messages for texts.
void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

QString accessibleName(QObject* o) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(o);
    return iface ? iface->text(QAccessible::Name) : QString();
}

// A control a user works with: anything that takes the focus or is clicked. The inner parts of
// compound controls (the editor of a date picker, the list of a drop-down) are reached through
// their owner and are not counted.
bool isInteractive(const QWidget* w) {
    for (const QWidget* up = w->parentWidget(); up; up = up->parentWidget())
        if (qobject_cast<const QComboBox*>(up) || qobject_cast<const QAbstractSpinBox*>(up))
            return false;
    return w->focusPolicy() != Qt::NoFocus || qobject_cast<const QAbstractButton*>(w);
}

// What a screen reader says a control is. A drop-down list's name on this platform is its
// current entry, which says nothing of what is chosen there: it is named by its label (a buddy).
QString spokenName(QWidget* w) {
    if (qobject_cast<QComboBox*>(w)) {
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
        const auto labels = iface->relations(QAccessible::Label);
        return labels.isEmpty() ? QString() : labels.front().first->text(QAccessible::Name);
    }
    return accessibleName(w);
}

// Every interactive widget under root without an accessible name, described for the message.
QStringList unnamedControls(QWidget* root) {
    QStringList unnamed;
    QList<QWidget*> all = root->findChildren<QWidget*>();
    all.prepend(root);
    for (QWidget* w : all)
        if (isInteractive(w) && spokenName(w).trimmed().isEmpty())
            unnamed << QString::fromUtf8(w->metaObject()->className()) + QLatin1Char(' ') +
                           w->objectName() + QLatin1Char(' ') +
                           QString::fromUtf8(w->parentWidget()
                                                 ? w->parentWidget()->metaObject()->className()
                                                 : "");
    return unnamed;
}

struct AccessibilityFixture : ::testing::Test {
    World world{true};
    std::unique_ptr<CtavrolabDlg> window;

    void SetUp() override {
        window = std::make_unique<CtavrolabDlg>(*world.project);
        window->show();
        QApplication::setActiveWindow(window.get());
        QApplication::processEvents();
    }

    void pressKey(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget();
        QTest::keyClick(target ? target : window.get(), key, mods);
        QApplication::processEvents();
    }
};

TEST_F(AccessibilityFixture, EveryControlOfEveryTabAndPopupHasAName) {
    // The hidden popups count too: their entries are named before they are ever shown.
    EXPECT_EQ(unnamedControls(window.get()).join(QStringLiteral("; ")).toStdString(), "");
    TopPanelDlg* top = window->topPanel();
    for (SelectionPopup* popup : std::initializer_list<SelectionPopup*>{
             top->systemsPopup(), top->handsPopup(), top->colorsPopup()}) {
        EXPECT_FALSE(accessibleName(popup).isEmpty());
        ASSERT_FALSE(popup->choiceButtons().empty());
        EXPECT_EQ(accessibleName(popup->choiceButtons().front()),
                  popup->choiceButtons().front()->text());
        EXPECT_EQ(accessibleName(popup->cancelButton()), QStringLiteral("Закрыть"));
    }
    // Fields are named by their labels with the unit, as they are read on screen.
    EXPECT_EQ(accessibleName(top->widthEdit()), QStringLiteral("Ширина проема, мм"));
    EXPECT_EQ(accessibleName(top->heightEdit()), QStringLiteral("Высота проема, мм"));
    // A drop-down's name is its current entry on this platform; its label comes as a relation.
    QAccessibleInterface* count = QAccessible::queryAccessibleInterface(top->doorCountList());
    const auto labels = count->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels.front().first->text(QAccessible::Name), QStringLiteral("Кол-во дверей"));
    EXPECT_EQ(accessibleName(window->sumPanel()->discountEdit()), QStringLiteral("Скидка, %"));
    EXPECT_EQ(accessibleName(window->orderCard()->nameEdit()), QStringLiteral("ФИО"));
    EXPECT_EQ(accessibleName(top->systemButton()),
              QStringLiteral("Система: ") + QString::fromStdString(world.project->system->code));

    // A system in cabinet mode renames the height field, and the name follows.
    QTest::mouseClick(top->systemButton(), Qt::LeftButton);
    for (PictureButton* b : top->systemsPopup()->choiceButtons())
        if (b->text() == QStringLiteral("Тавро"))
            QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_EQ(accessibleName(top->heightEdit()), QStringLiteral("Высота шкафа, мм"));
    EXPECT_EQ(accessibleName(top->systemButton()), QStringLiteral("Система: Тавро"));
    EXPECT_EQ(unnamedControls(window.get()).join(QStringLiteral("; ")).toStdString(), "");
}

TEST_F(AccessibilityFixture, TheGrandTotalIsReadWithItsMeaningAndFollowsChanges) {
    QLabel* total = window->sumPanel()->totalLabel();
    const QString before = accessibleName(total);
    EXPECT_EQ(before, QStringLiteral("Итого: ") +
                          QString::fromStdString(world.project->grandTotalText()).trimmed());
    window->sumPanel()->discountEdit()->setText(QStringLiteral("10"));
    const QString after = accessibleName(total);
    EXPECT_NE(after, before);
    EXPECT_EQ(after, QStringLiteral("Итого: ") +
                         QString::fromStdString(world.project->grandTotalText()).trimmed());
}

TEST_F(AccessibilityFixture, TabFollowsThePanelsFromTheTopLeft) {
    TopPanelDlg* top = window->topPanel();
    top->systemButton()->setFocus(Qt::TabFocusReason);
    // The panel each focus stop belongs to, in the order Tab visits them.
    const std::vector<QWidget*> panels{top, window->sumPanel(), window->tabStrip(),
                                       window->sketch(), window->materialsPanel()};
    auto panelOf = [&panels](QWidget* w) {
        for (size_t k = 0; k < panels.size(); ++k)
            if (w == panels[k] || panels[k]->isAncestorOf(w))
                return static_cast<int>(k);
        return -1;
    };
    std::vector<QWidget*> visited{QApplication::focusWidget()};
    for (int step = 0; step < 40; ++step) {
        pressKey(Qt::Key_Tab);
        QWidget* now = QApplication::focusWidget();
        if (now == visited.front())
            break;
        visited.push_back(now);
    }
    ASSERT_EQ(QApplication::focusWidget(), top->systemButton()) << "Tab must come round again";
    int last = 0;
    for (QWidget* w : visited) {
        const int panel = panelOf(w);
        ASSERT_GE(panel, 0) << w->metaObject()->className();
        EXPECT_GE(panel, last) << w->metaObject()->className();
        last = panel;
    }
    // Within the top panel: selections, sizes, then the project commands.
    auto at = [&visited](QWidget* w) {
        return std::find(visited.begin(), visited.end(), w) - visited.begin();
    };
    EXPECT_LT(at(top->colorButton()), at(top->widthEdit()));
    EXPECT_LT(at(top->widthEdit()), at(top->heightEdit()));
    EXPECT_LT(at(top->doorCountList()), at(top->commandButton(0)));
    EXPECT_LT(at(top->commandButton(3)), at(window->sumPanel()->discountEdit()));
    EXPECT_LT(at(window->sumPanel()->discountEdit()), at(window->tabStrip()));
    EXPECT_LT(at(window->tabStrip()), static_cast<long>(visited.size()));
}

TEST_F(AccessibilityFixture, PopupsAndTabsWorkFromTheKeyboard) {
    TopPanelDlg* top = window->topPanel();
    // Space on the system button opens its popup with the current system focused; Escape
    // closes it and gives the focus back.
    top->systemButton()->setFocus(Qt::TabFocusReason);
    pressKey(Qt::Key_Space);
    ASSERT_TRUE(top->systemsPopup()->isVisible());
    ASSERT_TRUE(top->systemsPopup()->isAncestorOf(QApplication::focusWidget()));
    pressKey(Qt::Key_Escape);
    EXPECT_FALSE(top->systemsPopup()->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), top->systemButton());

    // Choosing with the keyboard: Tab to another system, Space.
    pressKey(Qt::Key_Space);
    pressKey(Qt::Key_Tab);
    auto* chosen = qobject_cast<PictureButton*>(QApplication::focusWidget());
    ASSERT_NE(chosen, nullptr);
    const QString name = chosen->text();
    pressKey(Qt::Key_Space);
    EXPECT_FALSE(top->systemsPopup()->isVisible());
    EXPECT_EQ(QString::fromStdString(world.project->system->code), name);

    // Escape from elsewhere in the window closes an open popup too.
    QTest::mouseClick(top->colorButton(), Qt::LeftButton);
    ASSERT_TRUE(top->colorsPopup()->isVisible());
    window->sumPanel()->discountEdit()->setFocus();
    pressKey(Qt::Key_Escape);
    EXPECT_FALSE(top->colorsPopup()->isVisible());

    // The tab strip: arrows choose the tab, its name says which.
    DlgTabs* tabs = window->tabStrip();
    tabs->setFocus(Qt::TabFocusReason);
    pressKey(Qt::Key_Down);
    pressKey(Qt::Key_Down);
    EXPECT_EQ(tabs->selectedTab(), 2);
    EXPECT_TRUE(window->orderCard()->isVisible());
    EXPECT_EQ(accessibleName(tabs), QStringLiteral("Вкладка: Заказ"));
    pressKey(Qt::Key_Home);
    EXPECT_EQ(tabs->selectedTab(), 0);
    EXPECT_TRUE(window->sketch()->isVisible());
}

// The panels and dialogs opened as a user opens them: the materials panel's two pages, the door
// widths dialog, the splitter profile popup, the insert size popup, the thumbnails, the
// placement popup and the cutting plan page.
TEST_F(AccessibilityFixture, EveryControlOfTheMaterialsPanelAndItsDialogsHasAName) {
    RightPanelDlg* right = window->materialsPanel();
    for (RightPanelDlg::Page page : {RightPanelDlg::FillingPage, RightPanelDlg::SystemPage}) {
        QTest::mouseClick(right->pageButton(page), Qt::LeftButton);
        EXPECT_EQ(unnamedControls(right).join(QStringLiteral("; ")).toStdString(), "") << page;
    }
    EXPECT_EQ(spokenName(right->rollerList()), QStringLiteral("Выбрать тип:"));
    // Picture buttons that show a choice are read with it, and follow it.
    ASSERT_NE(world.project->splitterProfile, nullptr);
    EXPECT_EQ(accessibleName(right->splitterButton()),
              QStringLiteral("Профиль разделителя: ") +
                  QString::fromStdString(world.project->splitterProfile->code));
    const QString direction = accessibleName(right->orientationButton());
    QTest::mouseClick(right->orientationButton(), Qt::LeftButton);
    EXPECT_NE(accessibleName(right->orientationButton()), direction);
    EXPECT_EQ(accessibleName(right->orientationButton()),
              QStringLiteral("Направление новых разделителей: ") +
                  right->orientationButton()->text());

    QTest::mouseClick(right->doorSizeButton(), Qt::LeftButton);
    DlgDoorSize* widths = right->doorSizeDialog();
    ASSERT_TRUE(widths->isVisible());
    EXPECT_EQ(unnamedControls(widths).join(QStringLiteral("; ")).toStdString(), "");
    EXPECT_EQ(spokenName(widths->trackList(1)), QStringLiteral("Дверь 2"));
    QTest::mouseClick(widths->cancelButton(), Qt::LeftButton);
    ASSERT_FALSE(widths->isVisible());

    QTest::mouseClick(right->splitterButton(), Qt::LeftButton);
    DlgSplitter* profiles = right->splitterPopup();
    ASSERT_TRUE(profiles->isVisible());
    EXPECT_EQ(unnamedControls(profiles).join(QStringLiteral("; ")).toStdString(), "");
    QTest::mouseClick(profiles->cancelButton(), Qt::LeftButton);

    // A split on the sketch opens the insert size popup.
    auto* sketch = static_cast<DraftDlg*>(window->sketch());
    SketchDriver mouse{sketch, world.project.get()};
    mouse.draw();
    mouse.splitClick(0, 0.5, 0.5, true);
    SizeDlg* size = sketch->sizePopup();
    ASSERT_NE(size, nullptr);
    ASSERT_TRUE(size->isVisible());
    EXPECT_EQ(unnamedControls(size).join(QStringLiteral("; ")).toStdString(), "");
    EXPECT_EQ(accessibleName(size->sizeField()), QStringLiteral("Ширина левой вставки, мм"));
    chooseEntry(size->sideList(), QStringLiteral("правой"));
    EXPECT_EQ(accessibleName(size->sizeField()), QStringLiteral("Ширина правой вставки, мм"));
    QTest::mouseClick(size->cancelButton(), Qt::LeftButton);
    mouse.draw();

    // Each thumbnail is read as its material, not as its file name.
    QTest::mouseClick(right->pageButton(RightPanelDlg::FillingPage), Qt::LeftButton);
    chooseEntry(right->groupList(), QStringLiteral("Зеркало"));
    CThumbListCtrl* thumbs = right->thumbnails();
    const MaterialGroup* mirrors = world.catalog->materialGroupByName("Зеркало");
    ASSERT_NE(mirrors, nullptr);
    ASSERT_EQ(thumbs->count(), static_cast<int>(mirrors->materials.size()));
    QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(thumbs);
    ASSERT_EQ(grid->childCount(), thumbs->count());
    for (int i = 0; i < grid->childCount(); ++i) {
        const Material& m = mirrors->materials[static_cast<size_t>(i)];
        EXPECT_EQ(grid->child(i)->text(QAccessible::Name).toStdString(), m.name + ", " + m.code);
    }

    // The placement popup, opened for a mirror on the left part of door 1.
    mouse.click(centre(mouse.door(0).inserts.begin()->second.rect));
    // The toggle is read as on or off, as its box shows it.
    QAccessibleInterface* toggle = QAccessible::queryAccessibleInterface(right->placementToggle());
    ASSERT_TRUE(toggle->state().checkable);
    EXPECT_FALSE(toggle->state().checked);
    QTest::mouseClick(right->placementToggle(), Qt::LeftButton);
    EXPECT_TRUE(toggle->state().checked);
    EXPECT_TRUE(world.project->placementOnPick);
    ASSERT_TRUE(thumbs->waitForThumbnails(10000));
    QTest::mouseClick(thumbs->viewport(), Qt::LeftButton, {},
                      thumbs->visualItemRect(thumbs->item(0)).center());
    DlgZoomMaterial* placement = right->placementPopup();
    ASSERT_TRUE(placement->isVisible());
    EXPECT_EQ(unnamedControls(placement).join(QStringLiteral("; ")).toStdString(), "");
    EXPECT_EQ(spokenName(placement->fromList()), QStringLiteral("Дверь с"));
    QTest::mouseClick(placement->insertButton(), Qt::LeftButton);
    ASSERT_FALSE(placement->isVisible());

    // The cutting plan page with a rotation toggle for the mirror.
    QTest::keyClick(window->tabStrip(), Qt::Key_End);
    ASSERT_TRUE(window->planPage()->isVisible());
    EXPECT_EQ(unnamedControls(window->planPage()).join(QStringLiteral("; ")).toStdString(), "");
    EXPECT_EQ(unnamedControls(window.get()).join(QStringLiteral("; ")).toStdString(), "");
}

} // namespace
