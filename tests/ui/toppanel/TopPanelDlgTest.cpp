// The top panel and its selection popups, driven as a user drives them.
#include "ui/ShellTestSupport.h"

#include "calc/DSSystem.h"
#include "calc/systems/DSSystemMeloza.h"
#include "ui/results/DlgTabs.h"
#include "ui/shared/PictureButton.h"
#include "ui/toppanel/DlgColors.h"
#include "ui/toppanel/DlgHands.h"
#include "ui/toppanel/DlgSystems.h"
#include "ui/toppanel/TopPanelDlg.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace shelltest;

namespace {

// A top panel inside a host window, with a hub that hands the catalog-selection notification
// back to the panel as the main window does.
struct PanelFixture : ::testing::Test {
    World world;
    RecordingHub hub;
    QWidget host;
    std::unique_ptr<TopPanelDlg> top;

    void SetUp() override {
        host.resize(1204, 768);
        top = std::make_unique<TopPanelDlg>(*world.project, hub, &host);
        hub.forward = [this](Notify n) {
            if (n == Notify::CatalogSelection)
                top->receive(n);
        };
        host.show();
        hub.sent.clear();
    }

    Project& project() { return *world.project; }

    PictureButton* choiceFor(SelectionPopup* popup, const std::string& caption) {
        for (PictureButton* b : popup->choiceButtons())
            if (b->text().toStdString() == caption)
                return b;
        return nullptr;
    }

    void chooseSystem(const char* name) {
        QTest::mouseClick(top->systemButton(), Qt::LeftButton);
        PictureButton* b = choiceFor(top->systemsPopup(), name);
        ASSERT_NE(b, nullptr) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    }

    // Types text into a field as the user does: select all, then type.
    static void typeInto(QLineEdit* edit, const QString& text) {
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    static void leave(QLineEdit* edit) {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(edit, &out);
    }
};

// Room a picture button needs for its caption on one line: the margins its painting leaves.
int captionRoom(const PictureButton* b) {
    const int left = 6 + (b->picture().isNull() ? 0 : b->picture().width() + 6);
    return b->width() - left - 4;
}

TEST_F(PanelFixture, ProjectGroupShowsEveryButtonWholeWithRoomForOneMore) {
    const QRect group = TopPanelDlg::projectGroup();
    // The commands, the drop-down of "Открыть" and the buttons of the other windows.
    std::vector<QWidget*> buttons = {top->projectMenuButton()};
    for (int k = 0; k < 4; ++k)
        buttons.push_back(top->commandButton(k));
    buttons.push_back(top->journalButton());
    buttons.push_back(top->workshopButton());
    for (QSize size : {QSize(1204, 768), QSize(1600, 1000)}) { // the smallest and a usual size
        host.resize(size);
        QApplication::processEvents();
        for (QWidget* b : buttons) {
            const std::string name = b->accessibleName().isEmpty()
                                         ? static_cast<QAbstractButton*>(b)->text().toStdString()
                                         : b->accessibleName().toStdString();
            EXPECT_TRUE(group.contains(b->geometry())) << name;
            EXPECT_GE(b->height(), b->sizeHint().height()) << name;
            if (auto* p = qobject_cast<PictureButton*>(b)) {
                EXPECT_GE(captionRoom(p), QFontMetrics(p->font()).horizontalAdvance(p->text()))
                    << name;
            }
            for (QWidget* other : buttons)
                EXPECT_TRUE(other == b || !other->geometry().intersects(b->geometry())) << name;
        }
    }
    // Another window's button ("Цены") fits beside them in the same row.
    const QFontMetrics fm(top->workshopButton()->font());
    EXPECT_GE(group.right() - top->workshopButton()->geometry().right() - 4,
              fm.horizontalAdvance(QStringLiteral("Цены")) + 10);
    EXPECT_EQ(top->workshopButton()->y(), top->journalButton()->y());
    EXPECT_EQ(top->workshopButton()->accessibleName(), QStringLiteral("Производство"));
    EXPECT_TRUE(top->workshopButton()->focusPolicy() & Qt::TabFocus);
    EXPECT_TRUE(top->grab().save(screenshotPath(QStringLiteral("top_panel.png"))));

    // Ctrl+R and a click ask for the workshop window, Ctrl+J for the journal.
    int workshop = 0, journal = 0;
    QObject::connect(top.get(), &TopPanelDlg::workshopRequested, [&] { ++workshop; });
    QObject::connect(top.get(), &TopPanelDlg::journalRequested, [&] { ++journal; });
    QTest::mouseClick(top->workshopButton(), Qt::LeftButton);
    QTest::keyClick(&host, Qt::Key_R, Qt::ControlModifier);
    QTest::keyClick(&host, Qt::Key_J, Qt::ControlModifier);
    EXPECT_EQ(workshop, 2);
    EXPECT_EQ(journal, 1);
}

TEST_F(PanelFixture, SystemPopupListsTheNineSystemsInCatalogOrder) {
    DlgSystems* popup = top->systemsPopup();
    const auto& systems = world.catalog->systems();
    ASSERT_EQ(popup->choiceButtons().size(), systems.size());
    for (size_t k = 0; k < systems.size(); ++k) {
        PictureButton* b = popup->choiceButtons()[k];
        EXPECT_EQ(b->text().toStdString(), systems[k]->code);
        EXPECT_EQ(b->commandId(), 501 + static_cast<int>(k));
        EXPECT_EQ(b->x(), static_cast<int>(k) * DlgSystems::kButtonWidth);
        EXPECT_EQ(b->width(), DlgSystems::kButtonWidth);
        EXPECT_FALSE(b->picture().isNull());
    }
    EXPECT_EQ(popup->choiceButtons().front()->text(), QStringLiteral("Ловен"));
    EXPECT_EQ(popup->choiceButtons().back()->text(), QStringLiteral("Норсия"));
    EXPECT_EQ(popup->cancelButton()->commandId(), 500);
    EXPECT_EQ(popup->cancelButton()->x(), 9 * DlgSystems::kButtonWidth);
    EXPECT_EQ(popup->width(), 10 * DlgSystems::kButtonWidth);
    EXPECT_EQ(popup->height(), 100);
}

TEST_F(PanelFixture, SystemButtonShowsAndHidesThePopupBelowThePanel) {
    DlgSystems* popup = top->systemsPopup();
    EXPECT_FALSE(popup->isVisible());
    QTest::mouseClick(top->systemButton(), Qt::LeftButton);
    EXPECT_TRUE(popup->isVisible());
    EXPECT_EQ(popup->pos(), QPoint(0, top->height()));
    // Showing another popup hides this one; clicking the same button again hides it.
    QTest::mouseClick(top->colorButton(), Qt::LeftButton);
    EXPECT_FALSE(popup->isVisible());
    EXPECT_TRUE(top->colorsPopup()->isVisible());
    QTest::mouseClick(top->colorButton(), Qt::LeftButton);
    EXPECT_FALSE(top->colorsPopup()->isVisible());
    // The cancel button only hides.
    QTest::mouseClick(top->systemButton(), Qt::LeftButton);
    DSSystem* before = project().system;
    QTest::mouseClick(popup->cancelButton(), Qt::LeftButton);
    EXPECT_FALSE(popup->isVisible());
    EXPECT_EQ(project().system, before);
    EXPECT_TRUE(hub.sent.empty());
}

TEST_F(PanelFixture, ChoosingASystemChangesTheProjectResetsTheDoorsAndRefreshesThePanel) {
    // A splitter in door 0 shows whether the doors were reset.
    project().doors->doors[0].splitters[99] = Splitter{};
    project().plinthHeight = 3000;
    chooseSystem("Тавро");
    DSSystem* tavro = world.system("Тавро");
    EXPECT_EQ(project().system, tavro);
    EXPECT_TRUE(project().doors->doors[0].splitters.empty());
    EXPECT_EQ(project().plinthHeight, tavro->minPlinthHeight());
    EXPECT_FALSE(top->systemsPopup()->isVisible());
    EXPECT_EQ(hub.count(Notify::CatalogSelection), 1);
    EXPECT_EQ(hub.count(Notify::ProjectChanged), 1);
    // The panel re-read the project: the system button, cabinet-mode fields and labels.
    EXPECT_EQ(top->systemButton()->text(), QStringLiteral("Тавро"));
    EXPECT_EQ(top->heightLabel()->text(), QStringLiteral("Высота шкафа"));
    EXPECT_TRUE(top->plinthEdit()->isEnabled());
    EXPECT_EQ(top->plinthEdit()->text(), QString::number(tavro->minPlinthHeight() / 10));
    EXPECT_EQ(top->thicknessEdit()->text(), QString::number(project().chipboardThickness / 10));
    ASSERT_NE(project().handleProfile, nullptr);
    EXPECT_EQ(top->handleButton()->text().toStdString(), project().handleProfile->code);
    EXPECT_TRUE(top->optionButton()->isVisible());
    EXPECT_EQ(top->optionButton()->text(), QStringLiteral("По краям TL13"));

    // Back to a system without cabinet: the cabinet fields are cleared and disabled.
    chooseSystem("Ловен");
    EXPECT_EQ(top->heightLabel()->text(), QStringLiteral("Высота проема"));
    EXPECT_FALSE(top->plinthEdit()->isEnabled());
    EXPECT_TRUE(top->plinthEdit()->text().isEmpty());
    EXPECT_FALSE(top->optionButton()->isVisible());
}

TEST_F(PanelFixture, ChoosingTheCurrentSystemKeepsTheDoors) {
    project().doors->doors[0].splitters[99] = Splitter{};
    chooseSystem(project().system->code.c_str());
    EXPECT_EQ(project().doors->doors[0].splitters.size(), 1u);
    EXPECT_EQ(hub.count(Notify::CatalogSelection), 1);
    EXPECT_EQ(hub.count(Notify::ProjectChanged), 1);
}

TEST_F(PanelFixture, HandlePopupFollowsTheSystemAndIsEmptyWithoutHandleProfiles) {
    std::vector<HandleProfile*> offered;
    project().system->listHandleProfiles(offered);
    ASSERT_EQ(top->handsPopup()->choiceButtons().size(), offered.size());

    chooseSystem("Гартис");
    EXPECT_EQ(project().handleProfile, nullptr);
    EXPECT_TRUE(top->handsPopup()->choiceButtons().empty());
    EXPECT_EQ(top->handsPopup()->cancelButton()->x(), 0);
    EXPECT_EQ(top->handleButton()->text(), QStringLiteral("Нет"));
    EXPECT_EQ(top->colorButton()->text(), QStringLiteral("Нет"));
    // Without a handle profile the handle button shows no popup at all.
    QTest::mouseClick(top->handleButton(), Qt::LeftButton);
    EXPECT_FALSE(top->handsPopup()->isVisible());
    QTest::mouseClick(top->colorButton(), Qt::LeftButton);
    EXPECT_FALSE(top->colorsPopup()->isVisible());

    chooseSystem("Стенвик");
    offered.clear();
    project().system->listHandleProfiles(offered);
    ASSERT_FALSE(offered.empty());
    ASSERT_EQ(top->handsPopup()->choiceButtons().size(), offered.size());
    for (size_t k = 0; k < offered.size(); ++k)
        EXPECT_EQ(top->handsPopup()->choiceButtons()[k]->text().toStdString(), offered[k]->code);
}

TEST_F(PanelFixture, ChoosingAHandleProfileAndAColourChangesTheProject) {
    std::vector<HandleProfile*> offered;
    project().system->listHandleProfiles(offered);
    ASSERT_GE(offered.size(), 2u);
    HandleProfile* second = offered[1];
    QTest::mouseClick(top->handleButton(), Qt::LeftButton);
    QTest::mouseClick(top->handsPopup()->choiceButtons()[1], Qt::LeftButton);
    EXPECT_EQ(project().handleProfile, second);
    EXPECT_FALSE(top->handsPopup()->isVisible());
    EXPECT_EQ(top->handleButton()->text().toStdString(), second->code);

    // The colour popup was rebuilt for the new profile; pick its last colour.
    DlgColors* colors = top->colorsPopup();
    ASSERT_EQ(colors->choiceButtons().size(), second->colorChoices.size());
    hub.sent.clear();
    QTest::mouseClick(top->colorButton(), Qt::LeftButton);
    PictureButton* last = colors->choiceButtons().back();
    QTest::mouseClick(last, Qt::LeftButton);
    ASSERT_NE(project().color, nullptr);
    EXPECT_EQ(project().color->index, last->recordIndex());
    EXPECT_EQ(top->colorButton()->text().toStdString(), project().color->code);
    EXPECT_FALSE(colors->isVisible());
    EXPECT_EQ(hub.count(Notify::CatalogSelection), 1);
    EXPECT_EQ(hub.count(Notify::ProjectChanged), 1);
}

// Expected colour popup geometry for r regular and o on-order colours.
struct ColourLayout {
    int regular = 0;
    int onOrder = 0;
};

ColourLayout countColours(const HandleProfile& h) {
    ColourLayout c;
    for (const ColorChoice& choice : h.colorChoices)
        (choice.onOrder ? c.onOrder : c.regular)++;
    return c;
}

TEST_F(PanelFixture, ColourPopupPutsOnOrderColoursUnderTheirOwnLabel) {
    HandleProfile* kl01 = world.catalog->handleByCode("KL01");
    ASSERT_NE(kl01, nullptr);
    const ColourLayout n = countColours(*kl01);
    ASSERT_EQ(n.regular, 33);
    ASSERT_EQ(n.onOrder, 12);
    project().setHandleProfile(kl01);
    DlgColors* colors = top->colorsPopup();
    colors->onCatalogSelection();

    const auto& b = colors->choiceButtons();
    ASSERT_EQ(b.size(), 45u);
    // Regular colours: rows of 11 from the top.
    EXPECT_EQ(b[0]->pos(), QPoint(0, 5));
    EXPECT_EQ(b[10]->pos(), QPoint(10 * 99, 5));
    EXPECT_EQ(b[11]->pos(), QPoint(0, 5 + 96));
    EXPECT_EQ(b[32]->pos(), QPoint(10 * 99, 5 + 2 * 96));
    // On-order colours start a new row 30 pixels lower, under the label.
    const int onOrderTop = 5 + 3 * 96 + 30;
    EXPECT_EQ(b[33]->pos(), QPoint(0, onOrderTop));
    EXPECT_EQ(b[44]->pos(), QPoint(0, onOrderTop + 96));
    EXPECT_TRUE(colors->onOrderLabel()->isVisibleTo(colors));
    EXPECT_EQ(colors->onOrderLabel()->text(), QStringLiteral("Под заказ"));
    EXPECT_GT(colors->onOrderLabel()->y(), b[32]->geometry().bottom());
    EXPECT_LT(colors->onOrderLabel()->geometry().bottom(), onOrderTop);
    EXPECT_EQ(colors->cancelButton()->pos(), QPoint(11 * 99, 5));
    EXPECT_EQ(colors->width(), 1188);
    EXPECT_GE(colors->height(), onOrderTop + 96 + 91);
    // The buttons show the colours by name with their swatches.
    EXPECT_EQ(b[0]->text().toStdString(), kl01->colorChoices[0].color->code);
    EXPECT_EQ(b[33]->recordIndex(), kl01->colorChoices[33].color->index);
}

TEST_F(PanelFixture, ColourPopupOfASmallListIsAsWideAsItsRowAndOneButton) {
    HandleProfile* tl02 = world.catalog->handleByCode("TL02");
    ASSERT_NE(tl02, nullptr);
    const ColourLayout n = countColours(*tl02);
    project().setHandleProfile(tl02);
    top->colorsPopup()->onCatalogSelection();
    EXPECT_EQ(top->colorsPopup()->width(), (std::max(n.regular, n.onOrder) + 1) * 99);
    EXPECT_EQ(top->colorsPopup()->width(), 396);
    EXPECT_EQ(top->colorsPopup()->cancelButton()->pos(), QPoint(3 * 99, 5));

    // A profile without on-order colours has no label.
    HandleProfile* kl100 = world.catalog->handleByCode("KL100");
    ASSERT_NE(kl100, nullptr);
    project().setHandleProfile(kl100);
    top->colorsPopup()->onCatalogSelection();
    EXPECT_FALSE(top->colorsPopup()->onOrderLabel()->isVisibleTo(top->colorsPopup()));
    EXPECT_EQ(top->colorsPopup()->height(), 100);
}

TEST_F(PanelFixture, MelozaOffersOneTwoOrFourDoorsAndTwoWhenMountedInside) {
    chooseSystem("Мелоза");
    auto* meloza = dynamic_cast<DSSystemMeloza*>(project().system);
    ASSERT_NE(meloza, nullptr);
    ASSERT_EQ(meloza->mountingMode, 1);
    QComboBox* list = top->doorCountList();
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->itemText(0), QStringLiteral("1"));
    EXPECT_EQ(list->itemText(1), QStringLiteral("2"));
    EXPECT_EQ(list->itemText(2), QStringLiteral("4"));
    EXPECT_EQ(project().doorCount, 4); // three doors become four in this mounting
    EXPECT_EQ(list->currentText(), QStringLiteral("4"));
    EXPECT_EQ(top->optionButton()->text(), QStringLiteral("Монтаж внутри"));

    list->setCurrentIndex(1);
    EXPECT_EQ(project().doorCount, 2);
    list->setCurrentIndex(2);
    EXPECT_EQ(project().doorCount, 4);

    hub.sent.clear();
    QTest::mouseClick(top->optionButton(), Qt::LeftButton);
    EXPECT_EQ(meloza->mountingMode, 0);
    EXPECT_EQ(hub.count(Notify::CatalogSelection), 1);
    EXPECT_EQ(hub.count(Notify::ProjectChanged), 1);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->itemText(1), QStringLiteral("2"));
    EXPECT_EQ(project().doorCount, 2);
    EXPECT_EQ(list->currentText(), QStringLiteral("2"));

    QTest::mouseClick(top->optionButton(), Qt::LeftButton);
    EXPECT_EQ(meloza->mountingMode, 1);
    EXPECT_EQ(list->count(), 3);
}

TEST_F(PanelFixture, DoorCountListOffersOneToTheSystemsMaximum) {
    QComboBox* list = top->doorCountList();
    ASSERT_EQ(list->count(), project().system->maxDoors());
    EXPECT_EQ(list->currentText(), QString::number(project().doorCount));
    list->setCurrentIndex(4);
    EXPECT_EQ(project().doorCount, 5);
    EXPECT_EQ(hub.count(Notify::ProjectChanged), 1);
}

TEST_F(PanelFixture, SizeFieldIgnoresRejectedValuesAndRestoresThemOnLeaving) {
    QLineEdit* width = top->widthEdit();
    ASSERT_EQ(width->text(), QStringLiteral("3000"));
    typeInto(width, QStringLiteral("12a"));
    EXPECT_EQ(project().openingWidth, 30000);        // 12 mm is below the smallest opening
    EXPECT_EQ(hub.count(Notify::ProjectChanged), 3); // one per keystroke, taken or not
    leave(width);
    EXPECT_EQ(width->text(), QStringLiteral("3000"));

    typeInto(width, QStringLiteral("2500"));
    EXPECT_EQ(project().openingWidth, 25000);
    leave(width);
    EXPECT_EQ(width->text(), QStringLiteral("2500"));

    // Text that is no number reads 0; an absurdly long number does not overflow.
    typeInto(width, QStringLiteral("abc"));
    EXPECT_EQ(project().openingWidth, 25000);
    width->setText(QStringLiteral("99999999")); // pasted: cut to the field's seven digits
    EXPECT_EQ(width->text(), QStringLiteral("9999999"));
    EXPECT_EQ(project().openingWidth, 25000);
    leave(width);
    EXPECT_EQ(width->text(), QStringLiteral("2500"));

    QLineEdit* height = top->heightEdit();
    typeInto(height, QStringLiteral("99"));
    EXPECT_EQ(project().height, 20000);
    typeInto(height, QStringLiteral("2400"));
    EXPECT_EQ(project().height, 24000);
}

TEST_F(PanelFixture, EnterAndEscapeInAFieldAreSwallowedAndRestoreTheValue) {
    QLineEdit* width = top->widthEdit();
    host.activateWindow();
    width->setFocus();
    typeInto(width, QStringLiteral("5"));
    QTest::keyClick(width, Qt::Key_Return);
    EXPECT_EQ(width->text(), QStringLiteral("3000"));
    typeInto(width, QStringLiteral("7"));
    QTest::keyClick(width, Qt::Key_Escape);
    EXPECT_EQ(width->text(), QStringLiteral("3000"));
    EXPECT_TRUE(host.isVisible());
}

TEST_F(PanelFixture, PlinthFieldTakesValuesFrom54MillimetresUpToTheCabinetHeight) {
    chooseSystem("Тавро");
    QLineEdit* plinth = top->plinthEdit();
    const int32_t start = project().plinthHeight;
    ASSERT_EQ(project().height, 20000);
    hub.sent.clear();
    typeInto(plinth, QStringLiteral("53"));
    EXPECT_EQ(project().plinthHeight, start);
    EXPECT_EQ(hub.count(Notify::ProjectChanged), 2); // sent whether taken or not
    typeInto(plinth, QStringLiteral("60"));
    EXPECT_EQ(project().plinthHeight, 600);
    typeInto(plinth, QStringLiteral("54"));
    EXPECT_EQ(project().plinthHeight, 540);
    typeInto(plinth, QStringLiteral("2000"));
    EXPECT_EQ(project().plinthHeight, 20000); // the cabinet is 2000 mm high
    // Pasted at once (typing would pass through 200 mm, which is taken).
    plinth->setText(QStringLiteral("2001"));
    EXPECT_EQ(project().plinthHeight, 20000);
    leave(plinth);
    EXPECT_EQ(plinth->text(), QStringLiteral("2000"));

    // A 1500 mm cabinet on a 2000 mm plinth has no door: refused, and the field shows the
    // height again when it is left.
    typeInto(top->heightEdit(), QStringLiteral("1500"));
    EXPECT_EQ(project().height, 20000);
    leave(top->heightEdit());
    EXPECT_EQ(top->heightEdit()->text(), QStringLiteral("2000"));
    plinth->setText(QStringLiteral("1000"));
    typeInto(top->heightEdit(), QStringLiteral("1500"));
    ASSERT_EQ(project().height, 15000);
    plinth->setText(QStringLiteral("1600"));
    EXPECT_EQ(project().plinthHeight, 10000); // higher than the cabinet: ignored
    plinth->setText(QStringLiteral("1500"));
    EXPECT_EQ(project().plinthHeight, 15000);

    typeInto(top->thicknessEdit(), QStringLiteral("18"));
    EXPECT_EQ(project().chipboardThickness, 180);
}

TEST(DlgTabsTest, ClickingATabSelectsItAndNotifies) {
    ensureApp();
    RecordingHub hub;
    DlgTabs tabs(hub, nullptr);
    tabs.resize(39, 600);
    tabs.show();
    EXPECT_EQ(tabs.selectedTab(), 0);
    EXPECT_EQ(tabs.tabRect(0), QRect(7, 7, 32, 96));
    EXPECT_EQ(tabs.tabRect(3), QRect(12, 7 + 3 * 96, 27, 96));
    QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.tabRect(3).center());
    EXPECT_EQ(tabs.selectedTab(), 3);
    EXPECT_EQ(hub.count(Notify::TabChanged), 1);
    EXPECT_EQ(tabs.tabRect(3).width(), 32);
    EXPECT_EQ(tabs.tabRect(0).width(), 27);
    // A click between the tabs' left edge and the strip's edge selects nothing.
    QTest::mouseClick(&tabs, Qt::LeftButton, {}, QPoint(3, 20));
    EXPECT_EQ(tabs.selectedTab(), 3);
    EXPECT_EQ(hub.count(Notify::TabChanged), 1);
}

} // namespace
