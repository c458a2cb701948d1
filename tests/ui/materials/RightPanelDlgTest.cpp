// The materials panel, its door widths dialog, splitter profile popup and placement popup, driven
// on the real widgets as a user drives them.
#include "ui/ComboDriver.h"
#include "ui/ShellTestSupport.h"

#include "calc/SystemFactory.h"
#include "calc/systems/DSSystemLoven.h"
#include "catalog/HandleProfile.h"
#include "catalog/MaterialGroup.h"
#include "catalog/SplitterProfile.h"
#include "text/Encoding.h"
#include "ui/materials/CThumbListCtrl.h"
#include "ui/materials/DlgDoorSize.h"
#include "ui/materials/DlgSplitter.h"
#include "ui/materials/DlgZoomMaterial.h"
#include "ui/materials/RightPanelDlg.h"
#include "ui/shared/PictureButton.h"
#include "ui/shared/Pictures.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace shelltest;

namespace {

struct RightPanelFixture : ::testing::Test {
    World world{true};
    RecordingHub hub;
    QWidget host;
    std::unique_ptr<RightPanelDlg> panel;

    void SetUp() override {
        host.resize(1204, 768);
        panel = std::make_unique<RightPanelDlg>(*world.project, hub, &host);
        panel->setGeometry(1204 - 280, 112, 280, 768 - 112);
        // The hub hands the panel what the main window would.
        hub.forward = [this](Notify n) {
            if (n == Notify::CatalogSelection || n == Notify::ProjectChanged ||
                n == Notify::PopupOpened || n == Notify::PopupClosed)
                panel->receive(n);
        };
        host.show();
        hub.sent.clear();
    }

    Project& project() { return *world.project; }

    static QStringList entries(QComboBox* list) {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->itemText(i);
        return out;
    }

    const ArticleRow* row(const char* code) const {
        for (const ArticleRow& r : world.project->result.articles)
            if (r.code == code)
                return &r;
        return nullptr;
    }

    void setDoorCount(int n) {
        project().setDoorCount(n);
        panel->receive(Notify::ProjectChanged);
    }

    void setSystem(const char* name) {
        project().setSystem(world.system(name));
        panel->receive(Notify::CatalogSelection);
        panel->receive(Notify::ProjectChanged);
    }

    // The insert chosen on the sketch for a material.
    void targetDoor(int door) {
        Door& d = project().doors->doors[static_cast<size_t>(door)];
        d.materialTarget = &d.inserts.begin()->second;
    }
};

TEST_F(RightPanelFixture, PivotEntryOnlyForLovenWithAtMostTwoDoorsAndItSwitchesTracksAndBill) {
    auto* loven = dynamic_cast<DSSystemLoven*>(project().system);
    ASSERT_NE(loven, nullptr);
    ASSERT_EQ(project().doorCount, 3);
    EXPECT_FALSE(entries(panel->rollerList()).contains(RightPanelDlg::pivotEntry()));
    EXPECT_TRUE(panel->heightList()->isVisible());

    setDoorCount(2);
    ASSERT_TRUE(entries(panel->rollerList()).contains(RightPanelDlg::pivotEntry()));
    // Every list is wide enough for its longest entry.
    for (QComboBox* list :
         {panel->zoomList(), panel->stockList(), panel->rollerList(), panel->heightList()}) {
        QComboBox fitting;
        fitting.setFont(list->font());
        fitting.addItems(entries(list));
        EXPECT_GE(list->width(), fitting.sizeHint().width()) << list->currentText().toStdString();
    }
    EXPECT_EQ(project().doors->doors[1].track, 1);
    ASSERT_NE(row("KL02"), nullptr); // the opening's tracks
    const QString kit = panel->rollerList()->currentText();

    chooseEntry(panel->rollerList(), RightPanelDlg::pivotEntry());
    EXPECT_EQ(loven->pivotMode, 1);
    EXPECT_EQ(project().doors->doors[1].track, 0) << "pivot doors share one track";
    EXPECT_FALSE(panel->heightList()->isVisible());
    EXPECT_FALSE(panel->heightLabel()->isVisible());
    ASSERT_NE(row("KL16"), nullptr) << "the pivot mechanism is billed";
    ASSERT_NE(row("KL04"), nullptr);
    EXPECT_EQ(row("KL02"), nullptr);
    EXPECT_EQ(hub.count(Notify::ProjectChanged), 1);
    EXPECT_EQ(panel->rollerList()->currentText(), RightPanelDlg::pivotEntry());

    // Back to the kit: pivot off, the kit chosen before is still selected.
    chooseEntry(panel->rollerList(), kit);
    EXPECT_EQ(loven->pivotMode, 0);
    EXPECT_EQ(project().doors->doors[1].track, 1);
    EXPECT_EQ(row("KL16"), nullptr);
    EXPECT_EQ(QString::fromStdString(loven->selectedRollerKitCode()),
              kit == RightPanelDlg::standardEntry() ? QString() : kit);
    EXPECT_TRUE(panel->heightList()->isVisible());

    // The -33 offset makes the doors 7 mm taller.
    const int32_t before = project().doors->doors[0].height;
    chooseEntry(panel->heightList(), QStringLiteral("-33"));
    EXPECT_EQ(loven->heightAdjust, -33);
    EXPECT_EQ(project().doors->doors[0].height, before + 70);
}

TEST_F(RightPanelFixture, HandleStockLengthListAndChoiceChangeTheBarRows) {
    const HandleProfile* kl01 = world.catalog->handleByCode("KL01");
    ASSERT_NE(kl01, nullptr);
    project().setHandleProfile(kl01);
    panel->receive(Notify::ProjectChanged);
    EXPECT_EQ(
        entries(panel->stockList()),
        QStringList({QStringLiteral("5,5 м"), QStringLiteral("4,8 м"), QStringLiteral("4,5 м")}));
    EXPECT_EQ(panel->stockList()->currentIndex(), 0);
    ASSERT_NE(row("KL01"), nullptr);
    EXPECT_EQ(row("KL01")->stockLength, 55000);

    chooseEntry(panel->stockList(), QStringLiteral("4,5 м"));
    EXPECT_EQ(kl01->stockChoice, 3);
    ASSERT_NE(row("KL01"), nullptr);
    EXPECT_EQ(row("KL01")->stockLength, 45000) << "the bill is recalculated";
    EXPECT_EQ(panel->stockList()->currentIndex(), 2);

    // A profile with one stock length offers one entry; without a profile one entry of 0 m,
    // none selected.
    project().setHandleProfile(world.catalog->handleByCode("KL100"));
    panel->receive(Notify::ProjectChanged);
    EXPECT_EQ(entries(panel->stockList()), QStringList({QStringLiteral("5,5 м")}));
    setSystem("Гартис");
    EXPECT_EQ(entries(panel->stockList()), QStringList({QStringLiteral("0,0 м")}));
    EXPECT_EQ(panel->stockList()->currentIndex(), -1);
    EXPECT_FALSE(project().setStockChoice(2));
}

TEST_F(RightPanelFixture, SplitterProfileTypeDecidesTheOrientation) {
    DSSystem* tavro = world.system("Тавро");
    // An all-purpose profile (type 2) offered beside the chipboard/glass one (type 1).
    tavro->splitterProfiles.push_back(world.catalog->splitterByCode("KI05"));
    setSystem("Тавро");
    PictureButton* button = panel->splitterButton();
    ASSERT_TRUE(button->isVisible());
    DlgSplitter* popup = panel->splitterPopup();

    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_TRUE(popup->isVisible());
    EXPECT_EQ(popup->width(), 4 * 101);
    EXPECT_EQ(popup->geometry().topRight().x() + 1, panel->x());
    EXPECT_EQ(popup->y(), panel->y() + 175);
    QStringList captions;
    for (PictureButton* b : popup->choiceButtons())
        captions << b->text();
    EXPECT_EQ(captions,
              QStringList({QStringLiteral("TL13 (ДСП-ДСП)"), QStringLiteral("TL08 (ДСП-Стекло)"),
                           QStringLiteral("KI05 (Универсальный)")}));

    QTest::mouseClick(popup->choiceButtons()[2], Qt::LeftButton);
    EXPECT_FALSE(popup->isVisible());
    EXPECT_EQ(project().splitterProfile->code, "KI05");
    EXPECT_EQ(button->text(), QStringLiteral("KI05"));
    EXPECT_TRUE(project().splitterVertical);
    QTest::mouseClick(panel->orientationButton(), Qt::LeftButton);
    EXPECT_TRUE(project().splitterVertical) << "type 2 stays vertical";

    QTest::mouseClick(button, Qt::LeftButton);
    QTest::mouseClick(popup->choiceButtons()[1], Qt::LeftButton);
    EXPECT_EQ(project().splitterProfile->code, "TL08");
    EXPECT_FALSE(project().splitterVertical) << "type 1 forces horizontal splitters";
    QTest::mouseClick(panel->orientationButton(), Qt::LeftButton);
    EXPECT_FALSE(project().splitterVertical);

    QTest::mouseClick(button, Qt::LeftButton);
    QTest::mouseClick(popup->choiceButtons()[0], Qt::LeftButton);
    QTest::mouseClick(panel->orientationButton(), Qt::LeftButton);
    EXPECT_TRUE(project().splitterVertical) << "type 0 toggles";
    QTest::mouseClick(panel->orientationButton(), Qt::LeftButton);
    EXPECT_FALSE(project().splitterVertical);

    // The closing button only closes.
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::mouseClick(popup->cancelButton(), Qt::LeftButton);
    EXPECT_FALSE(popup->isVisible());
    EXPECT_EQ(project().splitterProfile->code, "TL13");

    // Гартис has no splitter tools but its two variant buttons.
    setSystem("Гартис");
    targetDoor(0);
    project().assignMaterial(&world.catalog->materialGroups().front()->materials[0]);
    ASSERT_FALSE(project().result.elements.empty());
    EXPECT_FALSE(button->isVisible());
    EXPECT_FALSE(panel->placeButton()->isVisible());
    EXPECT_TRUE(panel->railButton()->isVisible());
    EXPECT_EQ(panel->railButton()->text(), QStringLiteral("KG01"));
    EXPECT_EQ(panel->frameButton()->text(), QStringLiteral("KG04"));
    // The inset frame KG04 takes 45 mm of the opening's height, the overlay KG03 16 mm.
    const int32_t height = project().doors->doors[0].height;
    QTest::mouseClick(panel->frameButton(), Qt::LeftButton);
    EXPECT_EQ(panel->frameButton()->text(), QStringLiteral("KG03"));
    EXPECT_EQ(project().doors->doors[0].height, height + 290);
    QTest::mouseClick(panel->railButton(), Qt::LeftButton);
    EXPECT_EQ(panel->railButton()->text(), QStringLiteral("KG02"));
    EXPECT_EQ(panel->frameButton()->text(), QStringLiteral("KG04"));
    EXPECT_EQ(project().doors->doors[0].height, height);
    EXPECT_FALSE(project().result.elements.empty()) << "the element list stays filled";
}

TEST_F(RightPanelFixture, PlacementPopupDoorRangesAndShowAllDoors) {
    setDoorCount(4);
    const MaterialGroup* group = world.catalog->materialGroups().front();
    ASSERT_FALSE(group->materials.empty());
    const Material* m = &group->materials.front();
    DlgZoomMaterial* popup = panel->placementPopup();

    // Without a target the popup closes at once and gives the minimize box back.
    EXPECT_FALSE(popup->open(m));
    EXPECT_EQ(hub.count(Notify::PopupClosed), 1);

    targetDoor(2);
    ASSERT_TRUE(popup->open(m));
    EXPECT_EQ(entries(popup->fromList()),
              QStringList({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
    EXPECT_EQ(entries(popup->toList()), QStringList({QStringLiteral("3"), QStringLiteral("4")}));
    EXPECT_EQ(popup->fromList()->currentIndex(), 0);
    EXPECT_EQ(popup->toList()->currentIndex(), 0);
    chooseEntry(popup->fromList(), QStringLiteral("2"));
    chooseEntry(popup->toList(), QStringLiteral("4"));
    QTest::mouseClick(popup->doorsButton(), Qt::LeftButton);
    EXPECT_FALSE(popup->isVisible());
    const Insert& insert = project().doors->doors[2].inserts.begin()->second;
    EXPECT_EQ(insert.material, m);
    EXPECT_TRUE(insert.spanDoors);
    EXPECT_EQ(insert.spanFirstDoor, 1);
    EXPECT_EQ(insert.spanLastDoor, 3);
    EXPECT_EQ(hub.count(Notify::PopupClosed), 2);

    // Next time the numbers used last are offered again where the lists hold them.
    targetDoor(0);
    ASSERT_TRUE(popup->open(m));
    EXPECT_EQ(popup->fromList()->currentText(), QStringLiteral("1"));
    EXPECT_EQ(popup->toList()->currentText(), QStringLiteral("4"));
    QTest::mouseClick(popup->insertButton(), Qt::LeftButton);
    const Insert& first = project().doors->doors[0].inserts.begin()->second;
    EXPECT_EQ(first.material, m);
    EXPECT_FALSE(first.spanDoors);

    // "Показать двери": door 2 alone, then "Все" again; choosing "Все" when all doors are shown
    // changes and sends nothing.
    EXPECT_EQ(entries(panel->zoomList()),
              QStringList({QStringLiteral("Все"), QStringLiteral("1"), QStringLiteral("2"),
                           QStringLiteral("3"), QStringLiteral("4")}));
    chooseEntry(panel->zoomList(), QStringLiteral("2"));
    EXPECT_EQ(project().doors->zoomDoor, 1);
    EXPECT_EQ(project().doors->doors[0].materialTarget, nullptr);
    chooseEntry(panel->zoomList(), QStringLiteral("Все"));
    EXPECT_EQ(project().doors->zoomDoor, -1);
    hub.sent.clear();
    emit panel->zoomList()->activated(0);
    EXPECT_TRUE(hub.sent.empty());
}

TEST_F(RightPanelFixture, ClearAsksFirstAndOnOkLeavesNoSplitterAndNoMaterial) {
    Door& d = project().doors->doors[1];
    // The door drawn at scale 1 at the origin, split in the middle.
    d.rect = {0, 0, d.width, d.height};
    d.inserts.begin()->second.rect = d.rect;
    ASSERT_NE(d.splitAtPoint({d.width / 2, d.height / 2}, project().splitterProfile, true, 1.0),
              nullptr);
    d.inserts.begin()->second.material = &world.catalog->materialGroups().front()->materials[0];
    project().recalculate(true);

    QStringList asked;
    bool answer = false;
    dialogs::hooks().confirm = [&](QWidget*, const QString& caption, const QString& text) {
        asked << caption + QStringLiteral(": ") + text;
        return answer;
    };
    QTest::mouseClick(panel->clearButton(), Qt::LeftButton);
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0],
              QStringLiteral("Подтверждение: Очистить эскиз, удалив все разделители и материалы?"));
    EXPECT_EQ(project().doors->doors[1].splitters.size(), 1u) << "Cancel keeps the sketch";

    answer = true;
    QTest::mouseClick(panel->clearButton(), Qt::LeftButton);
    dialogs::resetHooks();
    for (const Door& door : project().doors->doors) {
        EXPECT_TRUE(door.splitters.empty());
        for (const auto& [id, insert] : door.inserts)
            EXPECT_EQ(insert.material, nullptr);
    }
    EXPECT_TRUE(project().result.fillingPieces.empty());
    EXPECT_EQ(hub.count(Notify::ProjectChanged), 1);
}

TEST_F(RightPanelFixture, DoorWidthsDialogMessagesWidthsAndTracks) {
    ScriptedDialogs scripted;
    QStringList questions;
    bool answer = false;
    dialogs::hooks().confirm = [&](QWidget*, const QString& caption, const QString& text) {
        questions << caption + QStringLiteral(": ") + text;
        return answer;
    };
    DlgDoorSize* dlg = panel->doorSizeDialog();
    QTest::mouseClick(panel->doorSizeButton(), Qt::LeftButton);
    ASSERT_TRUE(dlg->isVisible());
    EXPECT_EQ(hub.count(Notify::PopupOpened), 1);
    EXPECT_FALSE(panel->isEnabled());
    EXPECT_GE(dlg->width(), 286);
    EXPECT_EQ(dlg->height(), 25 * 3 + 140);
    // Each track list shows its whole text ("первый ряд", "второй ряд") inside the dialog.
    for (int i = 0; i < 3; ++i) {
        QComboBox* track = dlg->trackList(i);
        EXPECT_GE(track->width(), track->sizeHint().width()) << i;
        EXPECT_LE(track->geometry().right(), dlg->width()) << i;
    }
    EXPECT_FALSE(dlg->widthEdit(3)->isVisible());
    const int w0 = project().doors->doors[0].width / 10;
    const int w1 = project().doors->doors[1].width / 10;
    EXPECT_EQ(dlg->widthEdit(0)->text().toInt(), w0);
    const int nominal = project().doors->doorsNominalWidth / 10;

    auto type = [](QLineEdit* e, int mm) {
        e->selectAll();
        QTest::keyClicks(e, QString::number(mm));
    };
    // 30 mm left uncovered: the question with 30; Cancel keeps the dialog open.
    type(dlg->widthEdit(0), w0 - 30);
    EXPECT_EQ(dlg->remainderEdit()->text().toInt(),
              nominal - (w0 - 30) - w1 - dlg->widthEdit(2)->text().toInt());
    QTest::mouseClick(dlg->okButton(), Qt::LeftButton);
    ASSERT_EQ(questions.size(), 1);
    EXPECT_EQ(questions[0].toStdString(),
              "Ошибка: Суммарная ширина дверей меньше ширины проема на 30 мм. Останется пустое "
              "пространсто, продолжить?");
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(project().doors->doors[0].width / 10, w0);

    // Overfull by a single millimetre: the error, the dialog stays.
    type(dlg->widthEdit(0), w0 + 1);
    QTest::mouseClick(dlg->okButton(), Qt::LeftButton);
    ASSERT_EQ(scripted.errors.size(), 1);
    EXPECT_EQ(scripted.errors[0].toStdString(),
              "Суммарная ширина дверей больше ширины проема на 1 мм. Уменьшите общую ширину "
              "дверей на это значение.");
    EXPECT_EQ(scripted.errorCaptions[0], QStringLiteral("Ошибка"));

    // A door under 100 mm.
    type(dlg->widthEdit(0), 99);
    type(dlg->widthEdit(1), w1 + w0 - 99);
    QTest::mouseClick(dlg->okButton(), Qt::LeftButton);
    ASSERT_EQ(scripted.errors.size(), 2);
    EXPECT_EQ(scripted.errors[1].toStdString(), "Ширина двери не должна быть меньше 100 мм.");
    EXPECT_TRUE(dlg->isVisible());
    // Exactly 100 mm is a door.
    type(dlg->widthEdit(0), 100);
    type(dlg->widthEdit(1), w1 + w0 - 100);
    QTest::mouseClick(dlg->okButton(), Qt::LeftButton);
    EXPECT_EQ(scripted.errors.size(), 2);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(project().doors->doors[0].width, 1000);
    QTest::mouseClick(panel->doorSizeButton(), Qt::LeftButton);

    // Confirmed gap of 30 mm: applied, kept by the calculation.
    answer = true;
    type(dlg->widthEdit(0), w0 - 30);
    type(dlg->widthEdit(1), w1);
    QTest::mouseClick(dlg->okButton(), Qt::LeftButton);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_TRUE(panel->isEnabled());
    EXPECT_EQ(project().doors->doors[0].width, (w0 - 30) * 10);
    EXPECT_EQ(project().doors->doors[1].width, w1 * 10);
    EXPECT_EQ(hub.count(Notify::PopupClosed), 2);

    // A changed track discards the typed widths: every door returns to the standard width.
    QTest::mouseClick(panel->doorSizeButton(), Qt::LeftButton);
    type(dlg->widthEdit(1), 500);
    chooseEntry(dlg->trackList(2), QStringLiteral("второй ряд"));
    QTest::mouseClick(dlg->okButton(), Qt::LeftButton);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(project().doors->doors[2].track, 1);
    EXPECT_EQ(project().doors->doors[0].width, project().doors->doors[1].width);
    EXPECT_NE(project().doors->doors[1].width, 5000);

    // Escape closes like Cancel.
    QTest::mouseClick(panel->doorSizeButton(), Qt::LeftButton);
    QTest::keyClick(dlg, Qt::Key_Escape);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(hub.count(Notify::PopupOpened), hub.count(Notify::PopupClosed));
}

TEST_F(RightPanelFixture, ThumbnailsOfTheGroupAndAClickGivesTheMaterial) {
    QTest::mouseClick(panel->pageButton(RightPanelDlg::FillingPage), Qt::LeftButton);
    EXPECT_FALSE(panel->zoomList()->isVisible());
    EXPECT_TRUE(panel->thumbnails()->isVisible());
    const MaterialGroup* group = world.catalog->materialGroups().front();
    EXPECT_EQ(panel->groupList()->currentText().toStdString(), group->name);
    CThumbListCtrl* thumbs = panel->thumbnails();
    ASSERT_EQ(thumbs->count(), static_cast<int>(group->materials.size()));
    ASSERT_TRUE(thumbs->waitForThumbnails(5000));
    for (int i = 0; i < thumbs->count(); ++i) {
        EXPECT_EQ(thumbs->label(i).toStdString(),
                  group->materials[static_cast<size_t>(i)].pictureKey());
        EXPECT_EQ(thumbs->thumbnail(i).size(), QSize(62, 62));
    }

    // The grid fills the panel's width: three thumbnails to a row.
    ASSERT_GE(thumbs->count(), 4);
    const QRect first = thumbs->visualItemRect(thumbs->item(0));
    EXPECT_EQ(thumbs->visualItemRect(thumbs->item(2)).top(), first.top());
    EXPECT_GT(thumbs->visualItemRect(thumbs->item(3)).top(), first.top());

    // A click without a chosen insert does nothing.
    QTest::mouseClick(thumbs->viewport(), Qt::LeftButton, {}, first.center());
    EXPECT_TRUE(hub.sent.empty());

    targetDoor(1);
    QTest::mouseClick(thumbs->viewport(), Qt::LeftButton, {}, first.center());
    EXPECT_EQ(project().doors->doors[1].inserts.begin()->second.material, &group->materials[0]);
    EXPECT_EQ(hub.count(Notify::ProjectChanged), 1);
    EXPECT_EQ(hub.count(Notify::TotalsChanged), 1);
    EXPECT_FALSE(project().result.fillings.empty());

    // With "Масштабирование изображения" the placement popup opens instead.
    QTest::mouseClick(panel->placementToggle(), Qt::LeftButton);
    EXPECT_TRUE(project().placementOnPick);
    QTest::mouseClick(thumbs->viewport(), Qt::LeftButton, {}, first.center());
    EXPECT_TRUE(panel->placementPopup()->isVisible());
    EXPECT_EQ(hub.count(Notify::PopupOpened), 1);
    EXPECT_FALSE(panel->isEnabled());
    saveScreenshot(panel->placementPopup(), QStringLiteral("placement_popup.png"));
    panel->placementPopup()->close();
    EXPECT_EQ(hub.count(Notify::PopupClosed), 1);
    EXPECT_TRUE(panel->isEnabled());

    saveScreenshot(panel.get(), QStringLiteral("right_panel_filling.png"));
    QTest::mouseClick(panel->pageButton(RightPanelDlg::SystemPage), Qt::LeftButton);
    saveScreenshot(panel.get(), QStringLiteral("right_panel_system.png"));
}

TEST(ThumbnailTest, ExactSizeKeptOthersStretchedOverWhiteUnreadableMarked) {
    ensureApp();
    QTemporaryDir dir;
    QImage exact(62, 62, QImage::Format_RGB32);
    exact.fill(Qt::white);
    exact.setPixel(0, 0, qRgb(255, 0, 0));
    exact.setPixel(61, 61, qRgb(0, 0, 255));
    ASSERT_TRUE(exact.save(dir.filePath(QStringLiteral("exact.png"))));
    // A wide picture, left half black and right half transparent: stretched, not letterboxed.
    QImage wide(400, 100, QImage::Format_ARGB32);
    wide.fill(Qt::transparent);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x)
            wide.setPixel(x, y, qRgb(0, 0, 0));
    ASSERT_TRUE(wide.save(dir.filePath(QStringLiteral("wide.png"))));
    QFile broken(dir.filePath(QStringLiteral("broken.jpg")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a picture");
    broken.close();

    const QImage a = CThumbListCtrl::makeThumbnail(dir.filePath(QStringLiteral("exact.png")));
    EXPECT_EQ(a.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(a.pixel(61, 61), qRgb(0, 0, 255));
    const QImage b = CThumbListCtrl::makeThumbnail(dir.filePath(QStringLiteral("wide.png")));
    ASSERT_EQ(b.size(), QSize(62, 62));
    EXPECT_EQ(qGray(b.pixel(5, 0)), 0);
    EXPECT_EQ(qGray(b.pixel(5, 61)), 0) << "black down to the bottom: stretched";
    EXPECT_EQ(b.pixel(56, 30), qRgb(255, 255, 255)) << "transparent parts over white";
    const QImage c = CThumbListCtrl::makeThumbnail(dir.filePath(QStringLiteral("broken.jpg")));
    EXPECT_EQ(c.size(), QSize(62, 62));
    EXPECT_NE(c.pixel(31, 31), qRgb(255, 255, 255));

    // A new group while the previous one still loads: only the new group's pictures arrive.
    CThumbListCtrl list;
    list.show(); // a grid on screen loads as soon as it is rebuilt
    QStringList many;
    for (int i = 0; i < 50; ++i)
        many << dir.filePath(QStringLiteral("wide.png"));
    list.rebuild(dir.path(), many);
    list.rebuild(dir.path(), {dir.filePath(QStringLiteral("exact.png"))});
    ASSERT_TRUE(list.waitForThumbnails(5000));
    QTest::qWait(50);
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.label(0), QStringLiteral("exact.png"));
    EXPECT_EQ(list.thumbnail(0).pixel(0, 0), qRgb(255, 0, 0));
}

// --- faults found taking orders as a salesperson --------------------------------------------

TEST_F(RightPanelFixture, StockLengthAfterAZeroLengthIsChosenByItsOwnNumber) {
    // A profile sold in 5,5 m and 4,5 m bars, with no second length.
    auto* kl01 = const_cast<HandleProfile*>(world.catalog->handleByCode("KL01"));
    ASSERT_NE(kl01, nullptr);
    kl01->stockLength2 = 0;
    project().setHandleProfile(kl01);
    panel->receive(Notify::ProjectChanged);
    EXPECT_EQ(entries(panel->stockList()),
              QStringList({QStringLiteral("5,5 м"), QStringLiteral("4,5 м")}));
    chooseEntry(panel->stockList(), QStringLiteral("4,5 м"));
    EXPECT_EQ(kl01->stockChoice, 3);
    EXPECT_EQ(panel->stockList()->currentText(), QStringLiteral("4,5 м"));
    ASSERT_NE(row("KL01"), nullptr);
    EXPECT_EQ(row("KL01")->stockLength, 45000);
    chooseEntry(panel->stockList(), QStringLiteral("5,5 м"));
    EXPECT_EQ(kl01->stockChoice, 1);
}

TEST_F(RightPanelFixture, LeavingTheSystemPageEndsSplitterModeAndPopupsHideTheSplitterChoice) {
    QTest::mouseClick(panel->placeButton(), Qt::LeftButton);
    ASSERT_TRUE(project().splitterMode);
    QTest::mouseClick(panel->pageButton(RightPanelDlg::FillingPage), Qt::LeftButton);
    EXPECT_FALSE(project().splitterMode) << "a click meant for a material would add a splitter";
    QTest::mouseClick(panel->pageButton(RightPanelDlg::SystemPage), Qt::LeftButton);
    EXPECT_FALSE(project().splitterMode);

    // The splitter profile choice hides when any popup opens (the size popup, the dialogs).
    QTest::mouseClick(panel->splitterButton(), Qt::LeftButton);
    ASSERT_TRUE(panel->splitterPopup()->isVisible());
    hub.notify(Notify::PopupOpened);
    EXPECT_FALSE(panel->splitterPopup()->isVisible());
    hub.notify(Notify::PopupClosed);
}

TEST_F(RightPanelFixture, AMaterialWhosePictureFieldHasASlashIsGivenByItsThumbnail) {
    const MaterialGroup* group = world.catalog->materialGroups().front();
    auto& material = const_cast<Material&>(group->materials.front());
    // The price file names the picture in a subfolder, with a forward slash.
    const QString name = QFileInfo(QString::fromStdString(material.imagePath)).fileName();
    const QString sub = QString::fromStdString(group->imagesFolder) + QStringLiteral("/дуб");
    QDir().mkpath(sub);
    QFile::copy(QString::fromStdString(material.imagePath), sub + QLatin1Char('/') + name);
    material.fileName = "дуб/" + name.toStdString();
    material.imagePath = (sub + QLatin1Char('/') + name).toStdString();
    QTest::mouseClick(panel->pageButton(RightPanelDlg::FillingPage), Qt::LeftButton);
    // The grid of the first group was made at start: show another group, then this one again.
    chooseEntry(panel->groupList(),
                QString::fromStdString(world.catalog->materialGroups().back()->name));
    chooseEntry(panel->groupList(), QString::fromStdString(group->name));
    CThumbListCtrl* thumbs = panel->thumbnails();
    ASSERT_TRUE(thumbs->waitForThumbnails(5000));
    EXPECT_EQ(thumbs->label(0), QStringLiteral("дуб\\") + name);
    targetDoor(1);
    QTest::mouseClick(thumbs->viewport(), Qt::LeftButton, {},
                      thumbs->visualItemRect(thumbs->item(0)).center());
    EXPECT_EQ(project().doors->doors[1].inserts.begin()->second.material, &material);
    EXPECT_EQ(hub.count(Notify::ProjectChanged), 1);
}

TEST_F(RightPanelFixture, ThumbnailsKeepTheirColoursWhenChosenAndNameTheMaterial) {
    QTest::mouseClick(panel->pageButton(RightPanelDlg::FillingPage), Qt::LeftButton);
    const MaterialGroup* group = world.catalog->materialGroups().front();
    CThumbListCtrl* thumbs = panel->thumbnails();
    ASSERT_TRUE(thumbs->waitForThumbnails(5000));
    // The label stays the picture key; the tooltip tells the material, code, thickness, price.
    const Material& m = group->materials.front();
    const QString tip = thumbs->item(0)->toolTip();
    EXPECT_EQ(thumbs->label(0).toStdString(), m.pictureKey());
    EXPECT_TRUE(tip.contains(QStringLiteral("Код: ") + QString::fromStdString(m.code)))
        << tip.toStdString();
    EXPECT_TRUE(tip.contains(QStringLiteral("Толщина: ") + QString::number(m.thickness / 10) +
                             QStringLiteral(",0 мм")))
        << tip.toStdString();
    EXPECT_TRUE(tip.contains(QStringLiteral("Цена: ") + QString::number(m.price / 100) +
                             QStringLiteral(",00 руб./м²")))
        << tip.toStdString();

    const QRect cell = thumbs->visualItemRect(thumbs->item(0));
    const QPoint inside(cell.center().x(), cell.top() + 30);
    const QColor before = thumbs->viewport()->grab().toImage().pixelColor(inside);
    QTest::mouseClick(thumbs->viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_TRUE(thumbs->item(0)->isSelected());
    const QImage chosen = thumbs->viewport()->grab().toImage();
    EXPECT_EQ(chosen.pixelColor(inside), before) << "the picture is not tinted";
    EXPECT_EQ(chosen.pixelColor(cell.left() + 1, cell.center().y()), CThumbListCtrl::kChosenFrame)
        << "a frame marks the choice";
    saveScreenshot(thumbs, QStringLiteral("thumbnail_chosen.png"));
}

TEST_F(RightPanelFixture, TogglesAreTickedAndPlacementPopupListsAreClickable) {
    // On is a tick (green), never the red cross of "Очистить".
    const QImage on = pictures::checkBoxPicture(true).toImage();
    int red = 0;
    int green = 0;
    for (int y = 0; y < on.height(); ++y)
        for (int x = 0; x < on.width(); ++x) {
            const QColor c = on.pixelColor(x, y);
            red += c.alpha() > 128 && c.red() > 150 && c.green() < 90;
            green += c.alpha() > 128 && c.green() > c.red() + 40;
        }
    EXPECT_EQ(red, 0);
    EXPECT_GT(green, 5);

    // Every label of the placement popup ends before its list, so a click on the number a
    // list shows reaches the list.
    targetDoor(1);
    const MaterialGroup* group = world.catalog->materialGroups().front();
    hub.notify(Notify::PopupOpened);
    DlgZoomMaterial* zoom = panel->placementPopup();
    ASSERT_TRUE(zoom->open(&group->materials.front()));
    for (QComboBox* list : {zoom->fromList(), zoom->toList()}) {
        const QPoint number = list->geometry().topLeft() + QPoint(6, list->height() / 2);
        EXPECT_EQ(zoom->childAt(number), list) << list->accessibleName().toStdString();
    }
    saveScreenshot(zoom, QStringLiteral("placement_popup_lists.png"));
    zoom->reject();
}

TEST_F(RightPanelFixture, GartisVariantButtonsSayWhichIsTheRailAndWhichTheFrame) {
    setSystem("Гартис");
    for (QLabel* l : panel->findChildren<QLabel*>()) {
        if (l->text() == QStringLiteral("Разделители")) {
            EXPECT_FALSE(l->isVisible());
        }
    }
    QStringList captions;
    for (QLabel* l : panel->findChildren<QLabel*>())
        if (l->isVisible())
            captions << l->text();
    EXPECT_TRUE(captions.contains(QStringLiteral("Направляющая")))
        << captions.join(',').toStdString();
    EXPECT_TRUE(captions.contains(QStringLiteral("Профиль рамки")));
    EXPECT_TRUE(panel->railButton()->toolTip().startsWith(QStringLiteral("Направляющая: KG")));
    EXPECT_TRUE(panel->frameButton()->toolTip().startsWith(QStringLiteral("Профиль рамки: KG")));
    saveScreenshot(panel.get(), QStringLiteral("right_panel_gartis.png"));
    setSystem("Ловен");
    for (QLabel* l : panel->findChildren<QLabel*>()) {
        if (l->text() == QStringLiteral("Разделители")) {
            EXPECT_TRUE(l->isVisible());
        }
    }
}

// Rules of the panel that a slip could lose without a sound.
TEST_F(RightPanelFixture, TracksDimensionsToggleAndSketchPressFollowTheirRules) {
    // Мелоза's doors all run on one track: the track lists are there but cannot be changed.
    setSystem("Мелоза");
    QTest::mouseClick(panel->doorSizeButton(), Qt::LeftButton);
    DlgDoorSize* dlg = panel->doorSizeDialog();
    ASSERT_TRUE(dlg->isVisible());
    EXPECT_FALSE(dlg->trackList(0)->isEnabled());
    dlg->reject();

    // Elsewhere a track change re-lays the doors and lets go of the insert chosen for a material.
    setSystem("Ловен");
    targetDoor(1);
    QTest::mouseClick(panel->doorSizeButton(), Qt::LeftButton);
    ASSERT_TRUE(dlg->trackList(1)->isEnabled());
    chooseEntry(dlg->trackList(1), dlg->trackList(1)->currentIndex() == 0
                                       ? QStringLiteral("второй ряд")
                                       : QStringLiteral("первый ряд"));
    QTest::mouseClick(dlg->okButton(), Qt::LeftButton);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(project().doors->doors[1].materialTarget, nullptr);

    // "Отображать размеры вставок" switches the sizes on the sketch and redraws it.
    const bool shown = project().showDimensions;
    hub.sent.clear();
    QTest::mouseClick(panel->dimensionsToggle(), Qt::LeftButton);
    EXPECT_EQ(project().showDimensions, !shown);
    EXPECT_TRUE(panel->dimensionsToggle()->isChecked() == !shown);
    EXPECT_EQ(hub.count(Notify::ProjectChanged), 1);

    // A press on the sketch clears the chosen thumbnail.
    QTest::mouseClick(panel->pageButton(RightPanelDlg::FillingPage), Qt::LeftButton);
    CThumbListCtrl* thumbs = panel->thumbnails();
    ASSERT_TRUE(thumbs->waitForThumbnails(5000));
    thumbs->setCurrentRow(0);
    ASSERT_FALSE(thumbs->selectedItems().isEmpty());
    panel->receive(Notify::SketchPress);
    EXPECT_TRUE(thumbs->selectedItems().isEmpty());
    EXPECT_EQ(thumbs->currentItem(), nullptr);
}

// The roller kits of a roller file are offered by code and the chosen one is billed.
TEST(RightPanelData, KitsOfTheRollerFileAreOfferedAndChosenAndNoGroupsLeaveAnEmptyPage) {
    World world(true);
    // Тавро with two kits of its own (Windows-1251, as the shop's file is written).
    const std::string kits =
        QStringLiteral("Система;Код;Название;Тип;Количество\r\n"
                       "Тавро\r\n"
                       "TL12;Комплект роликов симметричный;симметричный;02\r\n"
                       "TL12-1;Комплект роликов асимметричный;асимметричный;02\r\n")
            .toStdString();
    QFile file(world.path(QStringLiteral("profiles/rollers.csv")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QByteArray::fromStdString(text::utf8ToCp1251(kits)));
    file.close();
    // No material groups at all: the materials folder is empty.
    QDir(world.path(QStringLiteral("materials"))).removeRecursively();
    QDir().mkpath(world.path(QStringLiteral("materials")));
    Catalog catalog(world.folder.path().toStdString(), makeAllSystems);
    Project project(catalog);
    project.setSystem(catalog.systemByName("Тавро"));
    RecordingHub hub;
    QWidget host;
    RightPanelDlg panel(project, hub, &host);
    hub.forward = [&panel](Notify n) { panel.receive(n); };
    panel.receive(Notify::CatalogSelection);
    panel.receive(Notify::ProjectChanged);
    EXPECT_EQ(RightPanelFixture::entries(panel.rollerList()),
              QStringList({QStringLiteral("TL12"), QStringLiteral("TL12-1")}));
    EXPECT_EQ(panel.rollerList()->currentText(), QStringLiteral("TL12"));
    chooseEntry(panel.rollerList(), QStringLiteral("TL12-1"));
    ASSERT_NE(project.system->selectedRollerKit, nullptr);
    EXPECT_EQ(project.system->selectedRollerKit->code, "TL12-1");
    bool billed = false;
    for (const ArticleRow& r : project.result.articles)
        billed |= r.code == "TL12-1";
    EXPECT_TRUE(billed);

    EXPECT_EQ(panel.groupList()->count(), 0);
    QTest::mouseClick(panel.pageButton(RightPanelDlg::FillingPage), Qt::LeftButton);
    EXPECT_EQ(panel.thumbnails()->count(), 0);
    QTest::mouseClick(panel.thumbnails()->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(hub.count(Notify::ProjectChanged), 1) << "only the kit choice changed the project";
}

} // namespace
