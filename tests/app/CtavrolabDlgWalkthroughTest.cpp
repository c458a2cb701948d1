// A whole order made with the mouse and the keyboard only, as a salesperson makes it: sizes,
// splitters, a mirror, a board spread across all doors, the height offset; saved, exported for
// the accounting program, and checked against the command-line tool reading the saved file.
#include "ui/ComboDriver.h"
#include "ui/ShellTestSupport.h"
#include "ui/SketchDriver.h"
#include "ui/ThumbnailDriver.h"

#include "app/CtavrolabDlg.h"
#include "text/Encoding.h"
#include "ui/materials/CThumbListCtrl.h"
#include "ui/materials/DlgZoomMaterial.h"
#include "ui/materials/RightPanelDlg.h"
#include "ui/printing/DlgPrint.h"
#include "ui/results/InfoPanelDlg.h"
#include "ui/results/SumDlg.h"
#include "ui/toppanel/TopPanelDlg.h"

#include <QComboBox>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace shelltest;
using namespace sketchtest;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct Walkthrough : ::testing::Test {
    World world{true};
    ScriptedDialogs scripted;
    std::unique_ptr<CtavrolabDlg> window;
    SketchDriver mouse;
    RightPanelDlg* right = nullptr;
    TopPanelDlg* top = nullptr;

    void SetUp() override {
        // At the window's first size, the one a user meets.
        window = std::make_unique<CtavrolabDlg>(*world.project);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->activateWindow();
        right = window->materialsPanel();
        top = window->topPanel();
        mouse = SketchDriver{static_cast<DraftDlg*>(window->sketch()), world.project.get()};
        mouse.draw();
    }

    static void type(QLineEdit* edit, const QString& text) {
        QTest::mouseClick(edit, Qt::LeftButton);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Tab);
    }
    void clickThumbnail(const QString& key) { shelltest::clickThumbnail(right->thumbnails(), key); }
    // With "Масштабирование изображения" on: the insert under a point of door d gets the 10 mm
    // beech board, its picture spread over doors 1 to 3.
    void boardAcrossDoors(int d, double fx, double fy) {
        clickDoor(d, fx, fy);
        clickThumbnail(QStringLiteral("бук.jpg"));
        DlgZoomMaterial* popup = right->placementPopup();
        ASSERT_TRUE(popup->isVisible());
        if (d == 2)
            saveScreenshot(popup, QStringLiteral("walkthrough_placement_popup.png"));
        chooseEntry(popup->fromList(), QStringLiteral("1"));
        chooseEntry(popup->toList(), QStringLiteral("3"));
        QTest::mouseClick(popup->doorsButton(), Qt::LeftButton);
        EXPECT_FALSE(popup->isVisible());
        EXPECT_TRUE(right->isEnabled());
        mouse.draw();
    }
    // A click on the sketch at a fraction of door d, as the door is drawn now.
    void clickDoor(int d, double fx, double fy) {
        const ScreenRect& r = mouse.door(d).rect;
        mouse.click(QPoint(r.left + static_cast<int>(fx * r.width()),
                           r.top + static_cast<int>(fy * r.height())));
    }
    void closeSizePopup() {
        ASSERT_NE(mouse.sketch->sizePopup(), nullptr);
        ASSERT_TRUE(mouse.sketch->sizePopup()->isVisible());
        QTest::mouseClick(mouse.sketch->sizePopup()->cancelButton(), Qt::LeftButton);
        mouse.draw();
    }
};

TEST_F(Walkthrough, ThreeDoorLovenOrderBilledLikeTheCommandLineToolBillsItsFile) {
    type(top->widthEdit(), QStringLiteral("2400"));
    type(top->heightEdit(), QStringLiteral("2600"));
    EXPECT_EQ(top->doorCountList()->currentText(), QStringLiteral("3"));
    mouse.draw();

    // "Система": no pivot mechanism for three doors; the -33 offset.
    EXPECT_EQ(right->rollerList()->findText(RightPanelDlg::pivotEntry()), -1);
    chooseEntry(right->heightList(), QStringLiteral("-33"));

    // Door 2 split twice across, each time closing the insert size popup unchanged.
    QTest::mouseClick(right->orientationButton(), Qt::LeftButton);
    EXPECT_EQ(right->orientationButton()->text(), QStringLiteral("горизонтальный"));
    QTest::mouseClick(right->placeButton(), Qt::LeftButton);
    clickDoor(1, 0.5, 0.33);
    closeSizePopup();
    clickDoor(1, 0.5, 0.8);
    closeSizePopup();
    QTest::mouseClick(right->placeButton(), Qt::LeftButton);
    EXPECT_EQ(mouse.door(1).splitters.size(), 2u);

    // A mirror on the middle insert of door 2.
    clickDoor(1, 0.5, 0.55);
    QTest::mouseClick(right->pageButton(RightPanelDlg::FillingPage), Qt::LeftButton);
    chooseEntry(right->groupList(), QStringLiteral("Зеркало"));
    clickThumbnail(QStringLiteral("serebro.jpg"));
    mouse.draw();

    // Every other insert gets a board whose picture runs across all three doors. The board is
    // 10 mm thick: Ловен holds no 16 mm chipboard, which the bill would flag as an error.
    QTest::mouseClick(right->placementToggle(), Qt::LeftButton);
    chooseEntry(right->groupList(), QStringLiteral("ДСП"));
    boardAcrossDoors(0, 0.5, 0.5);
    boardAcrossDoors(1, 0.5, 0.15);
    boardAcrossDoors(1, 0.5, 0.9);
    boardAcrossDoors(2, 0.5, 0.5);
    // The strip under the sketch tells the insert under the mouse by its new material at once.
    const auto* info = qobject_cast<InfoPanelDlg*>(window->infoPanel());
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(info->firstLine().startsWith(QStringLiteral("Материал: ")))
        << info->firstLine().toStdString();
    saveScreenshot(window.get(), QStringLiteral("walkthrough_filling.png"));
    QTest::mouseClick(right->pageButton(RightPanelDlg::SystemPage), Qt::LeftButton);
    saveScreenshot(window.get(), QStringLiteral("walkthrough_system.png"));

    // Save (Ctrl+S), then the workbook with the accounting file from "Сохранить в xml".
    const QString tav = world.path(QStringLiteral("заказ.tav"));
    scripted.saveAnswers.push_back(tav);
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    ASSERT_TRUE(QFile::exists(tav));
    QTest::mouseClick(top->commandButton(2), Qt::LeftButton);
    DlgPrint* save = top->saveDialog();
    ASSERT_TRUE(save->isVisible());
    if (!save->flag(4))
        QTest::mouseClick(save->toggle(4), Qt::LeftButton);
    const QString xml = world.path(QStringLiteral("заказ.xml"));
    scripted.saveAnswers.push_back(xml);
    QTest::mouseClick(save->okButton(), Qt::LeftButton);
    EXPECT_TRUE(scripted.errors.isEmpty()) << scripted.errors.join(';').toStdString();
    const QByteArray programCsv = readAll(world.path(QStringLiteral("заказ.csv")));
    ASSERT_FALSE(programCsv.isEmpty());

    // The command-line tool reads the saved file with the same data folder.
    const QString cliCsv = world.path(QStringLiteral("cli.csv"));
    QProcess cli;
    cli.start(QStringLiteral(TAV_BIN_DIR "/tavrolab-cli"),
              {QStringLiteral("--data"), world.folder.path(), tav, QStringLiteral("--csv"), cliCsv,
               QStringLiteral("--json"), QStringLiteral("-")});
    ASSERT_TRUE(cli.waitForFinished(60000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    EXPECT_EQ(readAll(cliCsv), programCsv);
    const QJsonObject bill = QJsonDocument::fromJson(cli.readAllStandardOutput()).object();

    // A bill without an error row: every insert has a filling that suits the system.
    QStringList faults;
    for (const char* rows : {"articles", "fillings"})
        for (const QJsonValue& row : bill.value(QString::fromUtf8(rows)).toArray()) {
            const QJsonObject r = row.toObject();
            if (!r.value("error").toString().isEmpty() ||
                r.value("code").toString() == QStringLiteral("ВНИМАНИЕ"))
                faults << r.value("code").toString() + QLatin1Char(' ') +
                              r.value("name").toString() + QLatin1Char(' ') +
                              r.value("error").toString();
        }
    EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
    // The "-33" offset: doors 2600 - 33 mm high, the end brush runs twice along each door.
    for (const QJsonValue& row : bill.value("articles").toArray()) {
        if (row.toObject().value("code").toString() == QStringLiteral("KL13")) {
            EXPECT_EQ(row.toObject().value("quantity").toInt(), 3 * 2 * (26000 - 330));
        }
    }
    const QJsonObject totals = bill.value("totals").toObject();
    EXPECT_GT(totals.value("total").toInteger(), 0);

    // The totals panel shows the grand total the accounting file ends with.
    const QStringList csvLines =
        QString::fromStdString(text::cp1251ToUtf8(programCsv.toStdString()))
            .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_FALSE(csvLines.isEmpty());
    ASSERT_TRUE(csvLines.back().startsWith(QStringLiteral("Итого;")))
        << csvLines.back().toStdString();
    const QString grandTotal = csvLines.back().section(QLatin1Char(';'), 1);
    EXPECT_NE(grandTotal, QStringLiteral("0,00"));
    EXPECT_EQ(window->sumPanel()->totalLabel()->text().trimmed(),
              grandTotal + QStringLiteral(" руб."));
    EXPECT_EQ(window->sumPanel()->totalLabel()->text(), totals.value("grandTotalText").toString());
}

} // namespace
