// The order journal in the main window: orders placed from the order card are found in
// "Журнал заказов" (Ctrl+J or the top panel's button), opened, copied, given a status and
// exported; a journal that cannot be reached is said plainly and changes nothing.
#include "ui/ComboDriver.h"
#include "ui/PdfTestSupport.h"
#include "ui/ShellTestSupport.h"

#include "app/CtavrolabDlg.h"
#include "app/OrderDocument.h"
#include "app/PendingPlacer.h"
#include "journal/Journal.h"
#include "journal/JournalCsv.h"
#include "journal/JournalSession.h"
#include "journal/OrderPlacing.h"
#include "journal/PendingPlacings.h"
#include "journal/PostgresServer.h"
#include "journal/TcpProxy.h"
#include "model/OrderNumberFile.h"
#include "model/SketchFile.h"
#include "model/UndoHistory.h"
#include "text/MoneyWords.h"
#include "ui/ordercard/DlgOrder.h"
#include "ui/orders/DlgMonthlyReport.h"
#include "ui/orders/DlgOrders.h"
#include "ui/orders/DlgPayment.h"
#include "ui/orders/OrdersTableModel.h"
#include "ui/printing/DlgPrint.h"
#include "ui/printing/PrintedDocument.h"
#include "ui/results/DlgTabs.h"
#include "ui/results/InfoPanelDlg.h"
#include "ui/shared/JournalBusyFrame.h"
#include "ui/shared/JournalRunner.h"
#include "ui/shared/PictureButton.h"
#include "ui/toppanel/TopPanelDlg.h"
#include "ui/workshop/BatchesPage.h"
#include "ui/workshop/DlgWorkshop.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <algorithm>

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>

using namespace shelltest;

namespace {

// Types text as key presses (Cyrillic too, which QTest::keyClicks cannot).
void type(QWidget* w, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

// Counts the paint events a widget gets.
class PaintCounter : public QObject {
public:
    PaintCounter(QWidget* widget, int* count) : count_(count) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++*count_;
        return false;
    }

private:
    int* count_;
};

struct JournalWindowFixture : ::testing::Test {
    World world{true};
    std::unique_ptr<CtavrolabDlg> window;
    ScriptedDialogs dialogs;

    void SetUp() override {
        window = std::make_unique<CtavrolabDlg>(*world.project);
        window->show();
        QApplication::processEvents();
        // The order card is on the order tab.
        QTest::mouseClick(window->tabStrip(), Qt::LeftButton, {},
                          window->tabStrip()->tabRect(2).center());
    }

    // Types the customer and phone into the order card and places the order, saved as file.
    void placeOrder(const QString& customer, const QString& phone, const QString& file) {
        DlgOrder* card = window->orderCard();
        QTest::mouseClick(card->newOrderButton(), Qt::LeftButton);
        type(card->nameEdit(), customer);
        type(card->phoneEdit(), phone);
        dialogs.saveAnswers.push_back(world.path(file));
        QTest::mouseClick(card->placeOrderButton(), Qt::LeftButton);
        QTest::mouseClick(window->topPanel()->printDialog()->cancelButton(), Qt::LeftButton);
    }

    // The journal as the test sees it: a session of its own on the test's thread (the window's
    // belongs to its journal thread).
    std::unique_ptr<JournalSession> testSession;
    Journal& direct() {
        if (!testSession)
            testSession = std::make_unique<JournalSession>(world.project->catalog().baseFolder());
        return testSession->journal();
    }

    DlgOrders* openJournal() {
        QTest::keyClick(window.get(), Qt::Key_J, Qt::ControlModifier);
        QApplication::processEvents();
        return window->ordersWindow();
    }

    static void clickRow(DlgOrders* orders, int row) {
        QTableView* table = orders->table();
        const QRect cell = table->visualRect(table->model()->index(row, 2));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    }
};

std::string bytesOf(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll().toStdString();
}

} // namespace

TEST_F(JournalWindowFixture, PlacedOrderIsFoundByPartOfItsPhoneAndOpensAsPlaced) {
    placeOrder(QStringLiteral("Иванова Мария"), QStringLiteral("+7 (912) 345-67-89"),
               QStringLiteral("first.tav"));
    world.project->setOpeningWidth(24000);
    placeOrder(QStringLiteral("Петров"), QStringLiteral("8 800 100-20-30"),
               QStringLiteral("second.tav"));
    ASSERT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join('\n').toStdString();
    // Another seat places an order; a new order on this card shows the journal's next number,
    // ahead of this seat's number file.
    window->journal().run(window.get(), JournalSession::Action::Write, [](Journal& journal) {
        journal.place({}, "[]", 1, [](JournalOrder&) { return std::string("x"); });
    });
    QTest::mouseClick(window->orderCard()->newOrderButton(), Qt::LeftButton);
    EXPECT_EQ(window->orderCard()->numberEdit()->text(), QStringLiteral("00004"));
    EXPECT_EQ(world.readNumberFile(), "3");
    EXPECT_EQ(dialogs.proposedNames,
              (QStringList{QStringLiteral("00001"), QStringLiteral("00002")}));
    const std::string placed = bytesOf(world.path(QStringLiteral("first.tav")));

    // Another project on the screen, then the journal.
    world.project->setOpeningWidth(31000);
    DlgOrders* orders = openJournal();
    ASSERT_NE(orders, nullptr);
    EXPECT_TRUE(orders->isVisible());
    EXPECT_EQ(orders->windowTitle(), QStringLiteral("Журнал заказов"));
    EXPECT_EQ(orders->model()->rowCount(), 3);
    EXPECT_EQ(orders->summaryLabel()->text(), QStringLiteral("Заказов: 3, на сумму %1 руб.")
                                                  .arg(QString::fromStdString(journalcsv::money(
                                                      orders->model()->summary().totalKopecks))));

    type(orders->searchEdit(), QStringLiteral("345-6"));
    QApplication::processEvents(); // the count and sum follow the rows
    ASSERT_EQ(orders->model()->rowCount(), 1);
    EXPECT_EQ(orders->model()->index(0, OrdersTableModel::Customer).data().toString(),
              QStringLiteral("Иванова Мария"));
    EXPECT_TRUE(orders->summaryLabel()->text().startsWith(QStringLiteral("Заказов: 1,")));
    EXPECT_TRUE(saveScreenshot(orders, QStringLiteral("orders_journal.png")));

    clickRow(orders, 0);
    // The project on screen has changes of its own: they are given up.
    dialogs.askAnswers.push_back(QStringLiteral("Не сохранять"));
    QTest::mouseClick(orders->openButton(), Qt::LeftButton);
    EXPECT_TRUE(dialogs.errors.isEmpty());
    EXPECT_EQ(*SketchFile::toBytes(*world.project), placed);
    EXPECT_EQ(world.project->openingWidth, 30000);
    EXPECT_EQ(world.project->order.clientName, "Иванова Мария");
    EXPECT_EQ(window->orderCard()->phoneEdit()->text(), QStringLiteral("+7 (912) 345-67-89"));
    // Opened from the journal, the order is in no file yet: closing asks, saving asks a name.
    EXPECT_TRUE(window->document().isModified());
    EXPECT_TRUE(window->document().filePath().isEmpty());
}

TEST_F(JournalWindowFixture, ASortedJournalKeepsItsOrderThroughASearchAndAState) {
    placeOrder(QStringLiteral("Иванова Мария"), QStringLiteral("+7 912 345-67-89"),
               QStringLiteral("a.tav"));
    placeOrder(QStringLiteral("Петров"), QStringLiteral("+7 912 345-00-00"),
               QStringLiteral("b.tav"));
    placeOrder(QStringLiteral("Андреева"), QStringLiteral("+7 912 345-11-11"),
               QStringLiteral("c.tav"));
    ASSERT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join('\n').toStdString();
    DlgOrders* orders = openJournal();
    ASSERT_NE(orders, nullptr);
    QHeaderView* header = orders->table()->horizontalHeader();
    auto clickCustomerHeading = [&] {
        const int x = header->sectionViewportPosition(OrdersTableModel::Customer) +
                      header->sectionSize(OrdersTableModel::Customer) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
        QApplication::processEvents();
    };
    clickCustomerHeading();
    if (header->sortIndicatorOrder() != Qt::AscendingOrder)
        clickCustomerHeading();
    ASSERT_EQ(header->sortIndicatorSection(), static_cast<int>(OrdersTableModel::Customer));
    ASSERT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
    auto customers = [&] {
        QStringList names;
        for (int r = 0; r < orders->model()->rowCount(); ++r)
            names << orders->model()->index(r, OrdersTableModel::Customer).data().toString();
        return names;
    };
    const QStringList ascending{QStringLiteral("Андреева"), QStringLiteral("Иванова Мария"),
                                QStringLiteral("Петров")};
    EXPECT_EQ(customers(), ascending);
    // A search, then a state: the rows stay А→Я as the heading's arrow says.
    type(orders->searchEdit(), QStringLiteral("345"));
    QApplication::processEvents();
    EXPECT_EQ(customers(), ascending);
    chooseEntry(orders->statusFilter(), QStringLiteral("Принят"));
    QApplication::processEvents();
    EXPECT_EQ(customers(), ascending);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
}

TEST_F(JournalWindowFixture, StatusCopyExportAndTheMonthlyReport) {
    placeOrder(QStringLiteral("Сидоров"), QStringLiteral("111"), QStringLiteral("a.tav"));
    placeOrder(QStringLiteral("Смирнова"), QStringLiteral("222"), QStringLiteral("b.tav"));
    DlgOrders* orders = openJournal();
    ASSERT_NE(orders, nullptr);
    ASSERT_EQ(orders->model()->rowCount(), 2);

    // Sorting by the customer from the header, then the status of Смирнова changed.
    QTest::mouseClick(
        orders->table()->horizontalHeader()->viewport(), Qt::LeftButton, {},
        QPoint(orders->table()->columnViewportPosition(OrdersTableModel::Customer) + 5, 5));
    const QString first = orders->model()->index(0, OrdersTableModel::Customer).data().toString();
    EXPECT_EQ(first, orders->table()->horizontalHeader()->sortIndicatorOrder() == Qt::AscendingOrder
                         ? QStringLiteral("Сидоров")
                         : QStringLiteral("Смирнова"));
    const int smirnova = first == QStringLiteral("Смирнова") ? 0 : 1;
    clickRow(orders, smirnova);
    orders->statusChoice()->setCurrentText(QStringLiteral("Готов"));
    QTest::mouseClick(orders->statusButton(), Qt::LeftButton);
    EXPECT_EQ(orders->model()->index(smirnova, OrdersTableModel::Status).data().toString(),
              QStringLiteral("Готов"));
    orders->statusFilter()->setCurrentText(QStringLiteral("Готов"));
    ASSERT_EQ(orders->model()->rowCount(), 1);
    EXPECT_EQ(window->journal().run(window.get(), JournalSession::Action::Read,
                                    [](Journal& journal) { return journal.history(2).size(); }),
              2u);

    // The rows shown, exported.
    dialogs.saveAnswers.push_back(world.path(QStringLiteral("journal.csv")));
    QTest::mouseClick(orders->exportButton(), Qt::LeftButton);
    const std::string csv = bytesOf(world.path(QStringLiteral("journal.csv")));
    EXPECT_NE(csv.find("00002;"), std::string::npos);
    EXPECT_NE(csv.find("Смирнова"), std::string::npos);
    EXPECT_EQ(csv.find("Сидоров"), std::string::npos);

    // A copy: the same customer and doors under the next number.
    clickRow(orders, 0);
    dialogs.askAnswers.push_back(QStringLiteral("Не сохранять"));
    QTest::mouseClick(orders->copyButton(), Qt::LeftButton);
    EXPECT_EQ(world.project->order.clientName, "Смирнова");
    EXPECT_EQ(world.project->order.orderNumber, "00003");
    EXPECT_EQ(window->orderCard()->numberEdit()->text(), QStringLiteral("00003"));

    // This month: both orders, by system and by salesperson.
    DlgMonthlyReport report(window->journal(), orders);
    EXPECT_EQ(report.report().all.count, 2);
    ASSERT_EQ(report.report().bySystem.size(), 1u);
    EXPECT_EQ(report.report().bySystem[0].count, 2);
    EXPECT_GE(report.table()->rowCount(), 5);
    dialogs.saveAnswers.push_back(world.path(QStringLiteral("report.csv")));
    QTest::mouseClick(report.exportButton(), Qt::LeftButton);
    EXPECT_NE(bytesOf(world.path(QStringLiteral("report.csv"))).find("По системам"),
              std::string::npos);
    EXPECT_TRUE(dialogs.errors.isEmpty());

    // Every control of both windows is named for assistive technology.
    for (QWidget* w : {static_cast<QWidget*>(orders), static_cast<QWidget*>(&report)}) {
        for (QWidget* child : w->findChildren<QWidget*>()) {
            if (child->focusPolicy() != Qt::NoFocus && child->isVisibleTo(w) &&
                !qobject_cast<QAbstractScrollArea*>(child->parentWidget()) &&
                !qobject_cast<QAbstractSpinBox*>(child->parentWidget())) {
                EXPECT_FALSE(child->accessibleName().isEmpty()) << child->metaObject()->className();
            }
        }
    }
}

TEST_F(JournalWindowFixture, APaymentTakenInTheWindowShowsInItsColumnsAndGivesAReceipt) {
    placeOrder(QStringLiteral("Кузнецова"), QStringLiteral("333"), QStringLiteral("c.tav"));
    DlgOrders* orders = openJournal();
    ASSERT_NE(orders, nullptr);
    ASSERT_EQ(orders->model()->rowCount(), 1);
    EXPECT_FALSE(orders->payButton()->isEnabled());
    const int64_t total = direct().order(1).totalKopecks;
    ASSERT_GT(total, 100);
    EXPECT_EQ(orders->model()->headerData(OrdersTableModel::Paid, Qt::Horizontal).toString(),
              QStringLiteral("Оплачено"));
    EXPECT_EQ(orders->model()->headerData(OrdersTableModel::Balance, Qt::Horizontal).toString(),
              QStringLiteral("Остаток"));
    clickRow(orders, 0);
    ASSERT_TRUE(orders->payButton()->isEnabled());

    // A kopeck more than the balance is refused in the dialog, which stays open; the amount
    // corrected, the payment is taken.
    const QString balance = QString::fromStdString(journalcsv::money(total - 100));
    QString refusal;
    bool driven = false;
    QTimer::singleShot(0, orders, [&] {
        DlgPayment* d = orders->paymentDialog();
        ASSERT_NE(d, nullptr);
        type(d->amountEdit(), QString::fromStdString(journalcsv::money(total + 1)));
        QTest::keyClick(d->kindChoice(), Qt::Key_Down);   // Оплата
        QTest::keyClick(d->methodChoice(), Qt::Key_Down); // Карта
        type(d->noteEdit(), QStringLiteral("при получении"));
        QTest::mouseClick(d->okButton(), Qt::LeftButton);
        refusal = d->messageLabel()->isVisibleTo(d) ? d->messageLabel()->text() : QString();
        QTest::keyClick(d->amountEdit(), Qt::Key_A, Qt::ControlModifier);
        type(d->amountEdit(), balance);
        QTest::mouseClick(d->okButton(), Qt::LeftButton);
        driven = true;
    });
    dialogs.askAnswers.push_back(QStringLiteral("Сохранить PDF…"));
    const QString receipt = world.path(QStringLiteral("квитанция.pdf"));
    dialogs.saveAnswers.push_back(receipt);
    QTest::mouseClick(orders->payButton(), Qt::LeftButton);
    ASSERT_TRUE(driven);
    EXPECT_NE(refusal.indexOf(QStringLiteral("остаток ") +
                              QString::fromStdString(journalcsv::money(total))),
              -1)
        << refusal.toStdString();
    EXPECT_EQ(orders->paymentDialog(), nullptr);

    const std::vector<JournalPayment> paid = direct().payments(1);
    ASSERT_EQ(paid.size(), 1u);
    EXPECT_EQ(paid[0].amountKopecks, total - 100);
    EXPECT_EQ(paid[0].kind, "Оплата");
    EXPECT_EQ(paid[0].method, "Карта");
    EXPECT_EQ(paid[0].note, "при получении");
    EXPECT_EQ(orders->model()->index(0, OrdersTableModel::Paid).data().toString(), balance);
    EXPECT_EQ(orders->model()->index(0, OrdersTableModel::Balance).data().toString(),
              QStringLiteral("1,00"));

    const QString text = pdftest::pages(receipt).join(' ').simplified();
    EXPECT_NE(text.indexOf(QStringLiteral("Квитанция об оплате")), -1) << text.toStdString();
    EXPECT_NE(text.indexOf(QString::fromStdString(text::moneyInWords(total - 100))), -1)
        << text.toStdString();
    EXPECT_NE(text.indexOf(QStringLiteral("Остаток после платежа: 1,00 руб.")), -1)
        << text.toStdString();
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join('\n').toStdString();
}

TEST_F(JournalWindowFixture, TwoSelectedRowsBecomeABatchThatIsStartedAndCancelled) {
    placeOrder(QStringLiteral("Сидоров"), QStringLiteral("111"), QStringLiteral("a.tav"));
    placeOrder(QStringLiteral("Смирнова"), QStringLiteral("222"), QStringLiteral("b.tav"));
    placeOrder(QStringLiteral("Кузнецов"), QStringLiteral("333"), QStringLiteral("c.tav"));
    DlgOrders* orders = openJournal();
    ASSERT_NE(orders, nullptr);
    ASSERT_EQ(orders->model()->rowCount(), 3);
    EXPECT_FALSE(orders->batchButton()->isEnabled());

    // The first and the last row, the second with Ctrl: one order alone is not "selected" for
    // opening, both go into the batch.
    clickRow(orders, 0);
    EXPECT_TRUE(orders->openButton()->isEnabled());
    QTableView* table = orders->table();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      table->visualRect(table->model()->index(2, 2)).center());
    const std::vector<int64_t> chosen = orders->selectedNumbers();
    ASSERT_EQ(chosen, (std::vector<int64_t>{3, 1})) << "newest first, as the table shows them";
    EXPECT_FALSE(orders->openButton()->isEnabled());
    ASSERT_TRUE(orders->batchButton()->isEnabled());
    QTest::mouseClick(orders->batchButton(), Qt::LeftButton);

    DlgWorkshop* workshop = window->workshopWindow();
    ASSERT_NE(workshop, nullptr);
    EXPECT_TRUE(workshop->isVisible());
    BatchesPage* page = workshop->batchesPage();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(workshop->pages()->currentWidget(), page);
    EXPECT_EQ(page->chosenOrders(), chosen);
    QElapsedTimer t;
    t.start();
    while (page->planning() && t.elapsed() < 60000)
        QTest::qWait(20);
    ASSERT_NE(page->newPlan(), nullptr);
    QTest::mouseClick(page->startButton(), Qt::LeftButton);
    Journal& j = direct();
    ASSERT_EQ(j.batches().list().size(), 1u);
    std::vector<int64_t> recorded = j.batches().get(1).orders;
    std::sort(recorded.begin(), recorded.end());
    EXPECT_EQ(recorded, (std::vector<int64_t>{1, 3})) << "the first and last rows";
    EXPECT_EQ(j.order(1).status, "В производстве");
    EXPECT_EQ(j.order(2).status, "Принят");
    EXPECT_EQ(j.order(3).status, "В производстве");

    page->selectBatch(1);
    QTest::mouseClick(page->cancelButton(), Qt::LeftButton);
    EXPECT_EQ(j.batches().get(1).state, "Отменена");
    for (int64_t n : {1, 2, 3})
        EXPECT_EQ(j.order(n).status, "Принят") << n;
}

TEST_F(JournalWindowFixture, AnUnreachableJournalIsSaidAndChangesNothing) {
    // The shop's server is down.
    QFile conf(world.path(QStringLiteral("config/journal.conf")));
    ASSERT_TRUE(conf.open(QIODevice::WriteOnly | QIODevice::Truncate));
    conf.write("journal = postgresql:///tavrolab?host=" +
               world.path(QStringLiteral("no-server")).toUtf8() + "\n");
    conf.close();
    window = std::make_unique<CtavrolabDlg>(*world.project);
    window->show();
    QApplication::setActiveWindow(window.get());
    QTest::mouseClick(window->tabStrip(), Qt::LeftButton, {},
                      window->tabStrip()->tabRect(2).center());
    const OrderInfo before = world.project->order;

    // The order may wait for the journal; declined, nothing is kept.
    dialogs.saveAnswers.push_back(world.path(QStringLiteral("order.tav")));
    QTest::mouseClick(window->orderCard()->placeOrderButton(), Qt::LeftButton);
    EXPECT_TRUE(dialogs.errors.isEmpty());
    ASSERT_EQ(dialogs.questions.size(), 1);
    EXPECT_TRUE(
        dialogs.questions[0].startsWith(QStringLiteral("Сервер журнала заказов недоступен")));
    EXPECT_TRUE(window->pendingPlacer().store().list().empty());
    EXPECT_EQ(world.project->order, before);
    EXPECT_FALSE(QFile::exists(world.path(QStringLiteral("order.tav"))));
    EXPECT_FALSE(window->topPanel()->printDialog()->isVisible());
    EXPECT_TRUE(world.readNumberFile().isEmpty());

    DlgOrders* orders = openJournal();
    ASSERT_NE(orders, nullptr);
    EXPECT_EQ(orders->model()->rowCount(), 0);
    EXPECT_TRUE(orders->messageLabel()->isVisibleTo(orders));
    EXPECT_TRUE(orders->messageLabel()->text().startsWith(
        QStringLiteral("Сервер журнала заказов недоступен")));
    // The strip says so too; the journal never answered this run.
    EXPECT_EQ(static_cast<InfoPanelDlg*>(window->infoPanel())->warning(),
              QStringLiteral("Журнал заказов недоступен"));
}

TEST_F(JournalWindowFixture, TheStripSaysSinceWhenTheJournalIsAwayAndClearsWhenItAnswers) {
    const JournalAddress server = PostgresServer::instance().freshDatabase();
    ASSERT_TRUE(PostgresServer::instance().running());
    QFile conf(world.path(QStringLiteral("config/journal.conf")));
    ASSERT_TRUE(conf.open(QIODevice::WriteOnly | QIODevice::Truncate));
    conf.write(QString::fromStdString("journal = postgresql://" + server.user + "@/" +
                                      server.database + "?host=" + server.host + "\n")
                   .toUtf8());
    conf.close();
    SetUp();
    auto* strip = static_cast<InfoPanelDlg*>(window->infoPanel());
    const int64_t before = std::time(nullptr);
    placeOrder(QStringLiteral("Иванов"), QStringLiteral("111"), QStringLiteral("a.tav"));
    ASSERT_TRUE(dialogs.errors.empty());
    const int64_t answered = window->journal().lastAnswer();
    EXPECT_GE(answered, before);
    EXPECT_LE(answered, std::time(nullptr));

    // A new order asks the journal its next number: with the server away, the strip tells, and
    // no message box comes; with the server back it just works, and the strip clears.
    PostgresServer::instance().stopServer();
    QTest::mouseClick(window->orderCard()->newOrderButton(), Qt::LeftButton);
    EXPECT_EQ(strip->warning(),
              QStringLiteral("Журнал заказов недоступен (последний ответ в %1)")
                  .arg(QDateTime::fromSecsSinceEpoch(answered).toString(QStringLiteral("HH:mm"))));
    EXPECT_TRUE(dialogs.errors.empty());
    ASSERT_TRUE(PostgresServer::instance().startServer());
    QTest::mouseClick(window->orderCard()->newOrderButton(), Qt::LeftButton);
    EXPECT_TRUE(strip->warning().isEmpty());
    EXPECT_EQ(world.project->order.orderNumber, "00002");
    EXPECT_TRUE(dialogs.errors.empty());
}

// An order placed while the server is away is kept as its file and placed by the window once
// the journal answers: its number reaches the file, the order card and the information strip,
// and the window's document is its file, saved.
TEST_F(JournalWindowFixture, AnOrderKeptWhileTheJournalIsAwayIsPlacedWhenItAnswers) {
    const std::filesystem::path pending = PendingPlacings().folder();
    std::filesystem::remove_all(pending);
    auto writeConf = [&](const QByteArray& line) {
        QFile conf(world.path(QStringLiteral("config/journal.conf")));
        ASSERT_TRUE(conf.open(QIODevice::WriteOnly | QIODevice::Truncate));
        conf.write(line + "\n");
    };
    writeConf("journal = postgresql:///tavrolab?host=" +
              world.path(QStringLiteral("no-server")).toUtf8());
    window = std::make_unique<CtavrolabDlg>(*world.project);
    window->show();
    QTest::mouseClick(window->tabStrip(), Qt::LeftButton, {},
                      window->tabStrip()->tabRect(2).center());
    DlgOrder* card = window->orderCard();
    type(card->nameEdit(), QStringLiteral("Лебедев"));

    dialogs.askAnswers.push_back(QStringLiteral("Сохранить и оформить позже"));
    const QString file = world.path(QStringLiteral("Лебедев.tav"));
    dialogs.saveAnswers.push_back(file);
    QTest::mouseClick(card->placeOrderButton(), Qt::LeftButton);
    EXPECT_TRUE(dialogs.errors.isEmpty());
    ASSERT_TRUE(QFile::exists(file));
    ASSERT_EQ(window->pendingPlacer().store().list().size(), 1u);
    EXPECT_TRUE(window->findChild<InfoPanelDlg*>()->warning().contains(
        QStringLiteral("будет оформлен, когда журнал заказов ответит")));
    EXPECT_EQ(window->document().filePath(), file);
    // The quote may be printed meanwhile; the papers that carry the number wait for it.
    DlgPrint* print = window->topPanel()->printDialog();
    ASSERT_TRUE(print->isVisible());
    ASSERT_TRUE(print->awaitingNumber());
    const DocumentChoice waiting = print->documentChoice();
    for (size_t k = 0; k < waiting.size(); ++k) {
        const bool quote = PrintedDocument::all()[k].forCustomerOnly();
        EXPECT_EQ(waiting[k], quote) << PrintedDocument::all()[k].key;
        EXPECT_EQ(print->toggle(static_cast<int>(k))->isEnabled(), quote);
    }
    EXPECT_FALSE(print->productionButton()->isEnabled());
    saveScreenshot(print, QStringLiteral("print-awaiting-number.png"));
    QTest::mouseClick(print->cancelButton(), Qt::LeftButton);

    // Still away: the round keeps it and says so.
    window->pendingPlacer().tryNow();
    QTRY_VERIFY_WITH_TIMEOUT(!window->pendingPlacer().running(), 20000);
    EXPECT_EQ(window->pendingPlacer().store().list().size(), 1u);
    EXPECT_TRUE(window->findChild<InfoPanelDlg*>()->warning().contains(
        QStringLiteral("Ожидают оформления в журнале: 1")));

    // The journal is back.
    writeConf("journal = sqlite:" + world.path(QStringLiteral("journal.sqlite")).toUtf8());
    window->pendingPlacer().tryNow();
    QTRY_VERIFY_WITH_TIMEOUT(!window->pendingPlacer().running(), 20000);
    EXPECT_TRUE(window->pendingPlacer().store().list().empty());
    Journal journal(
        JournalAddress::sqlite(world.path(QStringLiteral("journal.sqlite")).toStdString()));
    ASSERT_EQ(journal.summary({}).count, 1);
    const std::string number = world.project->order.orderNumber;
    EXPECT_EQ(orderplacing::numberText(journal.list({}).at(0).number), number);
    EXPECT_EQ(journal.list({}).at(0).customer, "Лебедев");
    EXPECT_EQ(card->numberEdit()->text().toStdString(), number);
    Project back(*world.catalog);
    ASSERT_EQ(SketchFile::read(back, file.toStdString()), SketchFile::ReadOk);
    EXPECT_EQ(back.order.orderNumber, number);
    EXPECT_FALSE(window->document().isModified());
    EXPECT_TRUE(window->findChild<InfoPanelDlg*>()->warning().startsWith(
        QStringLiteral("Оформлен заказ № ") + QString::fromStdString(number)));
    // With its number, every paper may be printed.
    window->topPanel()->showPrint();
    EXPECT_FALSE(print->awaitingNumber());
    for (int k = 0; k < print->toggleCount(); ++k)
        EXPECT_TRUE(print->toggle(k)->isEnabled());
    EXPECT_TRUE(print->productionButton()->isEnabled());
    QTest::mouseClick(print->cancelButton(), Qt::LeftButton);
    std::filesystem::remove_all(pending);
}

// The file an order is placed in becomes the window's file, with or without the journal: the
// title names it, nothing counts as unsaved, Ctrl+S writes into it, and it heads the recent files.
TEST_F(JournalWindowFixture, ThePlacedOrdersFileBecomesTheWindowsFile) {
    for (const bool journal : {true, false}) {
        SCOPED_TRACE(journal ? "journal" : "number file only");
        if (!journal) {
            QFile conf(world.path(QStringLiteral("config/journal.conf")));
            ASSERT_TRUE(conf.open(QIODevice::WriteOnly | QIODevice::Truncate));
            conf.write("journal = off\n");
            conf.close();
            window = std::make_unique<CtavrolabDlg>(*world.project);
            window->show();
            QTest::mouseClick(window->tabStrip(), Qt::LeftButton, {},
                              window->tabStrip()->tabRect(2).center());
        }
        const QString name = journal ? QStringLiteral("placed.tav") : QStringLiteral("kept.tav");
        placeOrder(QStringLiteral("Кузнецов"), QStringLiteral("333"), name);
        ASSERT_TRUE(QFile::exists(world.path(name)));
        EXPECT_EQ(window->windowTitle(), name + QStringLiteral(" — tavrolab"));
        EXPECT_FALSE(window->document().isModified());
        EXPECT_EQ(window->document().recentFiles().value(0), world.path(name));

        // A later change is saved into the same file without a dialog.
        world.project->order.address = "ул. Садовая, 1";
        window->notify(Notify::OrderFieldChanged);
        QApplication::processEvents();
        EXPECT_TRUE(window->document().isModified());
        const std::string placed = bytesOf(world.path(name));
        const qsizetype dialogsBefore = dialogs.proposedNames.size();
        QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
        EXPECT_EQ(dialogs.proposedNames.size(), dialogsBefore) << "no file dialog";
        EXPECT_FALSE(window->document().isModified());
        EXPECT_NE(bytesOf(world.path(name)), placed);
        EXPECT_EQ(bytesOf(world.path(name)), window->history()->presentState());
    }
}

TEST_F(JournalWindowFixture, TheTopPanelButtonOpensTheJournal) {
    QTest::mouseClick(window->topPanel()->journalButton(), Qt::LeftButton);
    ASSERT_NE(window->ordersWindow(), nullptr);
    EXPECT_TRUE(window->ordersWindow()->isVisible());
    EXPECT_EQ(window->topPanel()->journalButton()->accessibleName(),
              QStringLiteral("Журнал заказов"));
}

TEST(DailyJournalCopy, TheFirstWindowOfADayCopiesTheSingleSeatsJournalOnce) {
    namespace fs = std::filesystem;
    World world{true};
    {
        // The world's own journal, as its configuration names it.
        Journal journal(
            JournalAddress::sqlite(world.path(QStringLiteral("journal.sqlite")).toStdString()));
    }
    const fs::path backups = OrderNumberFile::userDataFolder() / "backups";
    fs::remove_all(backups);
    auto copies = [&] {
        int n = 0;
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(backups, ec))
            n += e.path().filename().string().starts_with("journal-") ? 1 : 0;
        return n;
    };
    for (int start = 0; start < 2; ++start) {
        // The copy is taken off the interface thread; closing the window waits for it.
        auto window = std::make_unique<CtavrolabDlg>(*world.project);
        window->show();
        QApplication::processEvents();
        window.reset();
        EXPECT_EQ(copies(), 2) << "the day's copy and the week's, once";
    }
}

// A server that stops answering leaves the window alive: the journal waits on its own thread,
// the window keeps painting, after a moment a busy frame offers "Отмена", and cancelling a change
// ends the wait at once with nothing recorded. An answer in time shows no frame at all.
TEST_F(JournalWindowFixture, AHungServerShowsTheBusyFrameAndItsCancelRecordsNothing) {
    const JournalAddress server = PostgresServer::instance().freshDatabase();
    ASSERT_TRUE(PostgresServer::instance().running());
    TcpProxy proxy(PostgresServer::instance().socketFolder() + "/.s.PGSQL.5432");
    QFile conf(world.path(QStringLiteral("config/journal.conf")));
    ASSERT_TRUE(conf.open(QIODevice::WriteOnly | QIODevice::Truncate));
    conf.write(QByteArray("journal = ") + proxy.url(server).c_str() + "\n");
    conf.close();
    SetUp();
    JournalRunner& runner = window->journal();
    QSignalSpy frames(&runner, &JournalRunner::busyShown);
    placeOrder(QStringLiteral("Сидоров"), QStringLiteral("111"), QStringLiteral("a.tav"));
    ASSERT_TRUE(dialogs.errors.empty());
    ASSERT_TRUE(dialogs.questions.empty());
    DlgOrders* orders = openJournal();
    ASSERT_NE(orders, nullptr);
    ASSERT_EQ(orders->model()->rowCount(), 1);
    EXPECT_EQ(frames.count(), 0);

    proxy.setMode(TcpProxy::Mode::Hang);
    QElapsedTimer clock;
    qint64 frameAt = -1, cancelAt = -1;
    int ticks = 0, ticksAtFrame = 0, paints = 0;
    QString frameText;
    PaintCounter counter(orders, &paints);
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        ++ticks;
        orders->update();
    });
    tick.start(20);
    QObject::connect(&runner, &JournalRunner::busyShown, [&] {
        frameAt = clock.elapsed();
        ticksAtFrame = ticks;
        auto* frame = orders->findChild<JournalBusyFrame*>();
        ASSERT_NE(frame, nullptr);
        QTimer::singleShot(200, frame, [&, frame] {
            EXPECT_TRUE(frame->isVisible());
            frameText = frame->findChild<QLabel*>()->text();
            frame->grab().save(QStringLiteral("/tmp/tavrolab-journal-busy.png"));
            cancelAt = clock.elapsed();
            QTest::mouseClick(frame->cancelButton(), Qt::LeftButton);
        });
    });
    clickRow(orders, 0);
    orders->statusChoice()->setCurrentText(QStringLiteral("Готов"));
    const int paintsBefore = paints;
    clock.start();
    QTest::mouseClick(orders->statusButton(), Qt::LeftButton);
    const qint64 ended = clock.elapsed();
    std::printf("busy frame after %lld ms, the wait ended %lld ms after the cancel\n",
                static_cast<long long>(frameAt), static_cast<long long>(ended - cancelAt));
    EXPECT_GE(frameAt, JournalRunner::kBusyDelay.count());
    EXPECT_LT(frameAt, 500);
    EXPECT_EQ(frames.count(), 1);
    EXPECT_EQ(frameText, QStringLiteral("Журнал заказов: ожидание ответа…"));
    ASSERT_GE(cancelAt, 0);
    EXPECT_LT(ended - cancelAt, 1000);
    // The window lived while it waited: the test's timer ran and the window painted.
    EXPECT_GE(ticksAtFrame, 5);
    EXPECT_GT(paints, paintsBefore + 5);
    EXPECT_EQ(orders->messageLabel()->text(), QStringLiteral("Отменено: ничего не записано"));
    EXPECT_EQ(orders->findChild<JournalBusyFrame*>(), nullptr);

    // Nothing was recorded; the journal answers again as soon as the server does.
    proxy.setMode(TcpProxy::Mode::Forward);
    const int before = frames.count();
    EXPECT_EQ(runner.run(window.get(), JournalSession::Action::Read,
                         [](Journal& journal) { return journal.history(1).size(); }),
              1u);
    EXPECT_EQ(frames.count(), before);

    // Closing the window while a read waits cancels it; the window closes once it has ended.
    proxy.setMode(TcpProxy::Mode::Hang);
    bool closedAtOnce = true;
    QTimer::singleShot(100, window.get(), [&] { closedAtOnce = window->close(); });
    clock.restart();
    orders->refresh();
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_FALSE(closedAtOnce);
    EXPECT_EQ(orders->messageLabel()->text(), QStringLiteral("Отменено"));
    QApplication::processEvents();
    EXPECT_FALSE(window->isVisible());
}
