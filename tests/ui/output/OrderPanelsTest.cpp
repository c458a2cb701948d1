// The totals panel, the order card and the export choice.
#include "ui/ShellTestSupport.h"

#include "model/OrderInfo.h"
#include "model/OrderNumberFile.h"
#include "model/SketchFile.h"
#include "output/AccountingCsv.h"
#include "output/WorkbookWriter.h"
#include "ui/catalog/PictureButton.h"
#include "ui/output/DlgOrder.h"
#include "ui/output/DlgPrint.h"
#include "ui/output/SumDlg.h"

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

// --- totals panel ---------------------------------------------------------------------------

struct SumFixture : ::testing::Test {
    World world;
    RecordingHub hub;
    std::unique_ptr<SumDlg> sum;

    void SetUp() override {
        sum = std::make_unique<SumDlg>(*world.project, hub, nullptr);
        hub.forward = [this](Notify n) {
            if (n == Notify::ProjectChanged)
                sum->receive(Notify::TotalsChanged);
        };
        sum->show();
    }
    void type(const QString& text) {
        sum->discountEdit()->selectAll();
        QTest::keyClicks(sum->discountEdit(), text);
    }
};

TEST_F(SumFixture, DiscountAbove100IsRejectedAndTheEditShowsTheStoredValue) {
    type(QStringLiteral("15"));
    EXPECT_DOUBLE_EQ(world.project->discountPercent, 15.0);
    EXPECT_DOUBLE_EQ(world.project->result.discountPercent, 15.0);
    // "150": the third digit is refused and the edit goes back to 15.
    QTest::keyClicks(sum->discountEdit(), QStringLiteral("0"));
    EXPECT_DOUBLE_EQ(world.project->discountPercent, 15.0);
    EXPECT_EQ(sum->discountEdit()->text(), QStringLiteral("15"));
    // Pasting 150 at once is refused the same way.
    sum->discountEdit()->setText(QStringLiteral("150"));
    EXPECT_DOUBLE_EQ(world.project->discountPercent, 15.0);
    EXPECT_EQ(sum->discountEdit()->text(), QStringLiteral("15"));
    type(QStringLiteral("100"));
    EXPECT_DOUBLE_EQ(world.project->discountPercent, 100.0);
}

TEST_F(SumFixture, DecimalDiscountWithACommaIsTakenAndMarksThePricesDirty) {
    hub.forward = nullptr;       // nobody reads the totals until the test looks
    world.project->priceTotal(); // clears the dirty flag
    ASSERT_EQ(world.project->result.pricesDirty, 0);
    hub.sent.clear();
    type(QStringLiteral("12,5"));
    EXPECT_DOUBLE_EQ(world.project->discountPercent, 12.5);
    EXPECT_DOUBLE_EQ(world.project->result.discountPercent, 12.5);
    EXPECT_EQ(world.project->result.pricesDirty, 1);
    EXPECT_EQ(sum->discountEdit()->text(), QStringLiteral("12,5"));
    EXPECT_GE(hub.count(Notify::ProjectChanged), 1);
    // Reloading from the project shows the integer part, as the top panel's refresh asks.
    sum->receive(Notify::DiscountChanged);
    EXPECT_EQ(sum->discountEdit()->text(), QStringLiteral("12"));
    EXPECT_DOUBLE_EQ(world.project->discountPercent, 12.5);
    // Emptying the field reads 0.
    sum->discountEdit()->clear();
    EXPECT_DOUBLE_EQ(world.project->discountPercent, 0.0);
    EXPECT_EQ(sum->discountEdit()->text(), QStringLiteral("0"));
}

TEST_F(SumFixture, TotalShowsTheProjectsGrandTotalTextInDarkRed) {
    EXPECT_EQ(sum->totalLabel()->text().toStdString(), world.project->grandTotalText());
    // Without prices nothing is priced: the panel shows the error word.
    EXPECT_EQ(sum->totalLabel()->text(), QStringLiteral("ОШИБКА"));
    EXPECT_EQ(sum->totalLabel()->palette().color(QPalette::WindowText), QColor(173, 41, 41));
    // A discount from the sketch file is shown on DiscountChanged.
    world.project->discountPercent = 7.9;
    sum->receive(Notify::DiscountChanged);
    EXPECT_EQ(sum->discountEdit()->text(), QStringLiteral("7"));
    EXPECT_DOUBLE_EQ(world.project->discountPercent, 7.9); // reloading stores nothing
}

// --- order card ------------------------------------------------------------------------------

struct OrderFixture : ::testing::Test {
    World world;
    RecordingHub hub;
    std::unique_ptr<DlgOrder> card;

    void SetUp() override {
        card = std::make_unique<DlgOrder>(*world.project, hub, nullptr);
        card->show();
        hub.sent.clear();
    }
    OrderInfo& order() { return world.project->order; }
    // Types any text, Cyrillic included, key by key.
    static void type(QLineEdit* e, const QString& text) {
        e->selectAll();
        for (QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(e, &press);
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(e, &release);
        }
    }
};

TEST_F(OrderFixture, CostEditsDropZerosAndLeadingZerosAndRefuseASixthDigit) {
    QLineEdit* assembly = card->assemblyEdit();
    EXPECT_TRUE(assembly->text().isEmpty()); // a zero cost shows as an empty field
    type(assembly, QStringLiteral("0"));
    EXPECT_EQ(order().assemblyCost, 0);
    EXPECT_TRUE(assembly->text().isEmpty());

    assembly->setText(QStringLiteral("00150"));
    EXPECT_EQ(order().assemblyCost, 150);
    EXPECT_EQ(assembly->text(), QStringLiteral("150"));

    type(assembly, QStringLiteral("15000"));
    EXPECT_EQ(order().assemblyCost, 15000);
    QTest::keyClicks(assembly, QStringLiteral("7"));
    EXPECT_EQ(order().assemblyCost, 15000);
    EXPECT_EQ(assembly->text(), QStringLiteral("15000"));

    // Deleting every digit stores 0.
    assembly->end(false);
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(assembly, Qt::Key_Backspace);
    EXPECT_TRUE(assembly->text().isEmpty());
    EXPECT_EQ(order().assemblyCost, 0);

    type(card->deliveryEdit(), QStringLiteral("300"));
    EXPECT_EQ(order().deliveryCost, 300);
    EXPECT_EQ(order().assemblyCost, 0);
    EXPECT_GE(hub.count(Notify::OrderFieldChanged), 1);
}

TEST_F(OrderFixture, TextFieldsAreStoredAsTypedAndLimitedTo254Characters) {
    hub.sent.clear();
    type(card->nameEdit(), QStringLiteral("Иванов"));
    EXPECT_EQ(order().clientName, "Иванов");
    EXPECT_EQ(hub.count(Notify::OrderFieldChanged), 6);
    type(card->addressEdit(), QStringLiteral("Тверская, 1"));
    EXPECT_EQ(order().address, "Тверская, 1");
    type(card->phoneEdit(), QStringLiteral("+7 495 000"));
    EXPECT_EQ(order().phone, "+7 495 000");
    card->addressEdit()->setText(QString(300, QChar(u'ж')));
    EXPECT_EQ(card->addressEdit()->text().size(), 254);
    EXPECT_EQ(QString::fromStdString(order().address).size(), 254);
    // The order number takes digits only.
    type(card->numberEdit(), QStringLiteral("12ab3"));
    EXPECT_EQ(order().orderNumber, "123");

    const QDate day(2024, 3, 15);
    card->readyDateEdit()->setDate(day);
    EXPECT_EQ(QDateTime::fromSecsSinceEpoch(order().readyDate).date(), day);
}

TEST_F(OrderFixture, OrderChangedFillsTheCardFromTheRecord) {
    order().clientName = "Петров";
    order().address = "Невский, 2";
    order().phone = "123";
    order().orderNumber = "00077";
    order().assemblyCost = 1500;
    order().deliveryCost = 0;
    order().orderDate = QDateTime(QDate(2023, 1, 2), QTime(10, 0)).toSecsSinceEpoch();
    card->receive(Notify::OrderChanged);
    EXPECT_EQ(card->nameEdit()->text(), QStringLiteral("Петров"));
    EXPECT_EQ(card->addressEdit()->text(), QStringLiteral("Невский, 2"));
    EXPECT_EQ(card->phoneEdit()->text(), QStringLiteral("123"));
    EXPECT_EQ(card->numberEdit()->text(), QStringLiteral("00077"));
    EXPECT_EQ(card->assemblyEdit()->text(), QStringLiteral("1500"));
    EXPECT_TRUE(card->deliveryEdit()->text().isEmpty());
    EXPECT_EQ(card->orderDateEdit()->date(), QDate(2023, 1, 2));
    // Filling stores nothing new.
    EXPECT_EQ(order().clientName, "Петров");
    EXPECT_EQ(order().assemblyCost, 1500);
    EXPECT_EQ(QDateTime::fromSecsSinceEpoch(order().orderDate).time(), QTime(10, 0));
}

TEST_F(OrderFixture, NewOrderTakesTheNextNumberWithoutConsumingIt) {
    world.writeNumberFile("41");
    type(card->nameEdit(), QStringLiteral("Иванов"));
    type(card->assemblyEdit(), QStringLiteral("900"));
    QTest::mouseClick(card->newOrderButton(), Qt::LeftButton);
    EXPECT_EQ(card->numberEdit()->text(), QStringLiteral("00041"));
    EXPECT_TRUE(card->nameEdit()->text().isEmpty());
    EXPECT_TRUE(card->assemblyEdit()->text().isEmpty());
    EXPECT_EQ(order().assemblyCost, 0);
    QTest::mouseClick(card->newOrderButton(), Qt::LeftButton);
    EXPECT_EQ(card->numberEdit()->text(), QStringLiteral("00041"));
    EXPECT_EQ(world.readNumberFile(), QByteArray("41"));
}

TEST_F(OrderFixture, PlacingAnOrderSavesTheSketchConsumesTheNumberAndAsksToPrint) {
    ScriptedDialogs dialogs;
    world.writeNumberFile("41");
    QTest::mouseClick(card->newOrderButton(), Qt::LeftButton);
    type(card->nameEdit(), QStringLiteral("Сидоров"));
    QSignalSpy print(card.get(), &DlgOrder::printChoiceRequested);

    const QString path = world.path(QStringLiteral("00041.tav"));
    dialogs.saveAnswers.push_back(path);
    QTest::mouseClick(card->placeOrderButton(), Qt::LeftButton);
    ASSERT_EQ(dialogs.proposedNames.size(), 1);
    EXPECT_EQ(dialogs.proposedNames[0], QStringLiteral("00041"));
    EXPECT_EQ(dialogs.suffixes[0], QStringLiteral("tav"));
    EXPECT_TRUE(dialogs.errors.isEmpty());
    EXPECT_EQ(world.readNumberFile(), QByteArray("42"));
    EXPECT_EQ(print.count(), 1);

    // The saved sketch carries the order card.
    World other;
    ASSERT_EQ(SketchFile::read(*other.project, path.toStdString()), SketchFile::ReadOk);
    EXPECT_EQ(other.project->order.clientName, "Сидоров");
    EXPECT_EQ(other.project->order.orderNumber, "00041");

    // Cancel in the file dialog ends the command.
    QTest::mouseClick(card->placeOrderButton(), Qt::LeftButton);
    EXPECT_EQ(world.readNumberFile(), QByteArray("42"));
    EXPECT_EQ(print.count(), 1);
}

TEST_F(OrderFixture, ANumberFileThatCannotBeWrittenIsReportedAndTheNumberNotReused) {
    ScriptedDialogs dialogs;
    QDir(world.path(QStringLiteral("config"))).removeRecursively();
    // Nor can the user's data folder take the number: a file stands where it would be made.
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    const auto restoreDataHome = qScopeGuard([&] { qputenv("XDG_DATA_HOME", dataHome); });
    const QString blocked = world.path(QStringLiteral("data-home"));
    QFile(blocked).open(QIODevice::WriteOnly);
    qputenv("XDG_DATA_HOME", blocked.toUtf8());
    QTest::mouseClick(card->newOrderButton(), Qt::LeftButton);
    EXPECT_EQ(card->numberEdit()->text(), QStringLiteral("00001"));
    QSignalSpy print(card.get(), &DlgOrder::printChoiceRequested);
    dialogs.saveAnswers.push_back(world.path(QStringLiteral("00001.tav")));
    QTest::mouseClick(card->placeOrderButton(), Qt::LeftButton);
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_TRUE(dialogs.errors[0].startsWith(QStringLiteral("Ошибка сохранения файла ") +
                                             world.numberFile() +
                                             QStringLiteral(": Нет такого файла или каталога")))
        << dialogs.errors[0].toStdString();
    EXPECT_TRUE(dialogs.errors[0].contains(QStringLiteral("00001")));
    EXPECT_EQ(print.count(), 1); // the order is placed all the same
    QTest::mouseClick(card->newOrderButton(), Qt::LeftButton);
    EXPECT_EQ(card->numberEdit()->text(), QStringLiteral("00002"));
}

// The tests place orders as a user does: the numbers they consume go to the run's own data
// folder, never to the data folder of whoever runs them, and no window shows on a display.
TEST(TestRun, OrderNumbersStayInTheRunsOwnDataFolderAndWindowsOffscreen) {
    ensureApp();
    EXPECT_EQ(QGuiApplication::platformName(), QStringLiteral("offscreen"));
    const std::filesystem::path folder = OrderNumberFile::userDataFolder();
    std::error_code error;
    EXPECT_TRUE(std::filesystem::equivalent(folder.parent_path().parent_path(),
                                            std::filesystem::temp_directory_path(), error))
        << folder;
}

TEST_F(OrderFixture, AFailedSaveReportsThePathAndConsumesNothing) {
    ScriptedDialogs dialogs;
    world.writeNumberFile("41");
    QTest::mouseClick(card->newOrderButton(), Qt::LeftButton);
    QSignalSpy print(card.get(), &DlgOrder::printChoiceRequested);
    const QString path = world.path(QStringLiteral("missing-folder/00041.tav"));
    dialogs.saveAnswers.push_back(path);
    QTest::mouseClick(card->placeOrderButton(), Qt::LeftButton);
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_EQ(dialogs.errors[0], QStringLiteral("Ошибка сохранения файла ") + path +
                                     QStringLiteral(": Нет такого файла или каталога"));
    EXPECT_EQ(dialogs.errorCaptions[0], QStringLiteral("Ошибка"));
    EXPECT_EQ(world.readNumberFile(), QByteArray("41"));
    EXPECT_EQ(print.count(), 0);
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
