// The order card and the order number.
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

    // The dearest cost the card takes, and a sixth digit that would pass it.
    type(assembly, QStringLiteral("99999"));
    EXPECT_EQ(order().assemblyCost, 99999);
    QTest::keyClicks(assembly, QStringLiteral("7"));
    EXPECT_EQ(order().assemblyCost, 99999);
    EXPECT_EQ(assembly->text(), QStringLiteral("99999"));

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

} // namespace
