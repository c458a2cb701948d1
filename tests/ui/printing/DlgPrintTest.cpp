// The export and print choice.
#include "ui/ShellTestSupport.h"

#include "model/OrderInfo.h"
#include "model/OrderNumberFile.h"
#include "model/SketchFile.h"
#include "output/AccountingCsv.h"
#include "output/WorkbookWriter.h"
#include "ui/ordercard/DlgOrder.h"
#include "ui/printing/DlgPrint.h"
#include "ui/results/SumDlg.h"
#include "ui/shared/PictureButton.h"

#include <QDateEdit>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

using namespace shelltest;

namespace {

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

// --- export choice -----------------------------------------------------------------------------

struct PrintFixture : ::testing::Test {
    World world;
    RecordingHub hub;
    QWidget mainWindow;
    DlgPrint* save = nullptr;
    DlgPrint* print = nullptr;

    void SetUp() override {
        mainWindow.resize(1204, 768);
        mainWindow.show();
        save = new DlgPrint(*world.project, hub, DlgPrint::SaveMode, &mainWindow);
        print = new DlgPrint(*world.project, hub, DlgPrint::PrintMode, &mainWindow);
        world.project->order.orderNumber = "00012";
    }
};

TEST_F(PrintFixture, SaveModeWritesTheWorkbookAndTheAccountingFileBesideIt) {
    ScriptedDialogs dialogs;
    save->showChoice();
    EXPECT_TRUE(save->isVisible());
    EXPECT_EQ(hub.count(Notify::PopupOpened), 1);
    EXPECT_EQ(save->windowTitle(), QStringLiteral("Сохранить в xml"));
    EXPECT_TRUE(save->toggle(4)->isVisibleTo(save));
    EXPECT_EQ(save->toggle(4)->text(), QStringLiteral("Информация для 1С"));

    const QString xml = world.path(QStringLiteral("00012.xml"));
    dialogs.saveAnswers.push_back(xml);
    QTest::mouseClick(save->okButton(), Qt::LeftButton);
    EXPECT_TRUE(dialogs.errors.isEmpty());
    ASSERT_EQ(dialogs.proposedNames.size(), 1);
    EXPECT_EQ(dialogs.proposedNames[0], QStringLiteral("00012"));
    EXPECT_EQ(dialogs.suffixes[0], QStringLiteral("xml"));
    EXPECT_FALSE(save->isVisible());
    EXPECT_EQ(hub.count(Notify::PopupClosed), 1);

    WorkbookSheets all;
    EXPECT_EQ(fileBytes(xml).toStdString(), workbookBytes(*world.project, all));
    EXPECT_EQ(fileBytes(world.path(QStringLiteral("00012.csv"))).toStdString(),
              accountingCsvBytes(*world.project));
}

TEST_F(PrintFixture, TogglesChooseTheSheetsAndKeepTheirStateBetweenShowings) {
    ScriptedDialogs dialogs;
    save->showChoice();
    QTest::mouseClick(save->toggle(0), Qt::LeftButton);
    QTest::mouseClick(save->toggle(1), Qt::LeftButton);
    QTest::mouseClick(save->toggle(2), Qt::LeftButton);
    QTest::mouseClick(save->toggle(4), Qt::LeftButton);
    EXPECT_FALSE(save->flag(0));
    EXPECT_TRUE(save->flag(3));
    EXPECT_FALSE(save->flag(4));
    QTest::mouseClick(save->cancelButton(), Qt::LeftButton);
    EXPECT_FALSE(save->isVisible());
    EXPECT_EQ(hub.count(Notify::PopupClosed), 1);

    save->showChoice();
    EXPECT_FALSE(save->flag(0));
    const QString xml = world.path(QStringLiteral("only-assembly.xml"));
    dialogs.saveAnswers.push_back(xml);
    QTest::mouseClick(save->okButton(), Qt::LeftButton);
    WorkbookSheets assembly{false, false, false, true};
    EXPECT_EQ(fileBytes(xml).toStdString(), workbookBytes(*world.project, assembly));
    EXPECT_FALSE(QFileInfo::exists(world.path(QStringLiteral("only-assembly.csv"))));
}

TEST_F(PrintFixture, AFailingPathIsReportedAndTheChoiceStaysOpen) {
    ScriptedDialogs dialogs;
    save->showChoice();
    const QString bad = world.path(QStringLiteral("no-such-folder/00012.xml"));
    dialogs.saveAnswers.push_back(bad);
    QTest::mouseClick(save->okButton(), Qt::LeftButton);
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_EQ(dialogs.errors[0], QStringLiteral("Ошибка сохранения файла ") + bad +
                                     QStringLiteral(": Нет такого файла или каталога"));
    EXPECT_EQ(dialogs.errorCaptions[0], QStringLiteral("Ошибка"));
    EXPECT_TRUE(save->isVisible());
    EXPECT_EQ(hub.count(Notify::PopupClosed), 0); // the panels stay disabled while it is open
    EXPECT_FALSE(QFileInfo::exists(world.path(QStringLiteral("no-such-folder/00012.csv"))));

    // The accounting file fails on its own: the workbook stays written, the CSV path is reported.
    QDir(world.folder.path()).mkpath(QStringLiteral("out/00013.csv")); // a folder in the way
    const QString xml = world.path(QStringLiteral("out/00013.xml"));
    dialogs.saveAnswers.push_back(xml);
    QTest::mouseClick(save->okButton(), Qt::LeftButton);
    ASSERT_EQ(dialogs.errors.size(), 2);
    EXPECT_EQ(dialogs.errors[1], QStringLiteral("Ошибка сохранения файла ") +
                                     world.path(QStringLiteral("out/00013.csv")) +
                                     QStringLiteral(": Это каталог"));
    EXPECT_TRUE(QFileInfo::exists(xml));
    EXPECT_TRUE(save->isVisible());

    // Cancel in the file dialog closes the choice and writes nothing.
    QTest::mouseClick(save->okButton(), Qt::LeftButton);
    EXPECT_FALSE(save->isVisible());
    EXPECT_EQ(hub.count(Notify::PopupClosed), 1);
}

TEST_F(PrintFixture, AWorkbookNamedLikeTheAccountingFileIsNotOverwritten) {
    ScriptedDialogs dialogs;
    save->showChoice();
    const QString named = world.path(QStringLiteral("order.csv"));
    dialogs.saveAnswers.push_back(named);
    QTest::mouseClick(save->okButton(), Qt::LeftButton);
    EXPECT_TRUE(dialogs.errors.isEmpty());
    WorkbookSheets all;
    EXPECT_EQ(fileBytes(named).toStdString(), workbookBytes(*world.project, all));
    EXPECT_EQ(fileBytes(named + QStringLiteral(".csv")).toStdString(),
              accountingCsvBytes(*world.project));
}

TEST_F(PrintFixture, PrintModeHandsTheChosenDocumentsToPrinting) {
    EXPECT_EQ(print->windowTitle(), QStringLiteral("Печать"));
    ASSERT_EQ(print->toggleCount(), 5);
    EXPECT_EQ(print->toggle(0)->text(), QStringLiteral("Информация о заказе + эскиз"));
    std::vector<DocumentChoice> printed, previewed, saved;
    QObject::connect(print, &DlgPrint::printRequested,
                     [&](const DocumentChoice& c) { printed.push_back(c); });
    QObject::connect(print, &DlgPrint::previewRequested,
                     [&](const DocumentChoice& c) { previewed.push_back(c); });
    QObject::connect(print, &DlgPrint::pdfRequested,
                     [&](const DocumentChoice& c) { saved.push_back(c); });
    print->showChoice();
    QTest::mouseClick(print->toggle(1), Qt::LeftButton);
    QTest::mouseClick(print->okButton(), Qt::LeftButton);
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0], (DocumentChoice{true, false, true, true, true}));
    EXPECT_FALSE(print->isVisible());
    EXPECT_EQ(hub.count(Notify::PopupOpened), 1);
    EXPECT_EQ(hub.count(Notify::PopupClosed), 1);

    // The preview and the PDF take the same choice, which was kept, and close the dialog too.
    print->showChoice();
    QTest::mouseClick(print->previewButton(), Qt::LeftButton);
    print->showChoice();
    QTest::mouseClick(print->toggle(3), Qt::LeftButton);
    QTest::mouseClick(print->pdfButton(), Qt::LeftButton);
    ASSERT_EQ(previewed.size(), 1u);
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(previewed[0], (DocumentChoice{true, false, true, true, true}));
    EXPECT_EQ(saved[0], (DocumentChoice{true, false, true, false, true}));
    EXPECT_FALSE(print->isVisible());
    EXPECT_EQ(hub.count(Notify::PopupClosed), 3);
}

} // namespace
