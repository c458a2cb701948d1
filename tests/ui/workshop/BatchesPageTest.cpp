// The workshop window's page "Партии" on a journal of the test's own: this week's accepted
// orders chosen, planned off the interface thread, started, opened, their pack saved and the
// batch cancelled; an offcut another seat takes between planning and starting stops the start,
// and the batch is planned again with a message saying what changed.
#include "ui/PdfTestSupport.h"
#include "ui/ShellTestSupport.h"

#include "journal/Journal.h"
#include "journal/JournalSession.h"
#include "model/SketchFile.h"
#include "plan/BatchPlan.h"
#include "ui/shared/JournalRunner.h"
#include "ui/workshop/BatchesPage.h"
#include "ui/workshop/CutListPlanView.h"
#include "ui/workshop/DlgWorkshop.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct BatchesPageFixture : ::testing::Test {
    shelltest::World world{true};
    shelltest::ScriptedDialogs dialogs;
    JournalSession session{world.folder.path().toStdString()};
    // The window's own session, on its journal thread.
    JournalRunner runner{std::make_unique<JournalSession>(world.folder.path().toStdString())};
    std::unique_ptr<DlgWorkshop> window;
    BatchesPage* page = nullptr;

    void SetUp() override {
        Project& p = *world.project;
        p.setDoorCount(2);
        p.setOpeningWidth(24000);
        p.setHeight(26000);
        p.doors->changed = true;
        p.recalculate(true);
        for (const char* customer : {"Иванова", "Петров", "Сидоров"})
            place(customer);
        session.journal().setStatus(3, "Готов", "Петрова");
        window = std::make_unique<DlgWorkshop>(runner, *world.catalog);
        page = window->batchesPage();
        ASSERT_NE(page, nullptr);
        window->pages()->setCurrentWidget(page);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    int64_t place(const std::string& customer) {
        JournalOrder o;
        o.customer = customer;
        const std::string sketch = SketchFile::toBytes(*world.project).value();
        return session.journal().place(o, "[]", 1, [&](JournalOrder&) { return sketch; });
    }

    // Waits for the plan with the window answering meanwhile.
    bool waitForPlan() {
        QElapsedTimer t;
        t.start();
        while (page->planning() && t.elapsed() < 60000)
            QTest::qWait(20);
        return !page->planning() && page->newPlan() != nullptr;
    }
};

TEST_F(BatchesPageFixture, WeeksAcceptedOrdersArePlannedStartedOpenedPackedAndCancelled) {
    EXPECT_EQ(page->statusChoice()->currentText(), QStringLiteral("Принят"));
    EXPECT_FALSE(page->startButton()->isEnabled());
    QTest::mouseClick(page->chooseButton(), Qt::LeftButton);
    EXPECT_EQ(page->ordersEdit()->text(), QStringLiteral("1, 2")) << "the ready order stays out";
    // The plan is made on a thread of its own: the page says so and waits for it.
    EXPECT_TRUE(page->planning());
    EXPECT_FALSE(page->startButton()->isEnabled());
    EXPECT_EQ(page->summaryLabel()->text(), QStringLiteral("Партия рассчитывается…"));
    ASSERT_TRUE(waitForPlan());
    const BatchPlan& plan = *page->newPlan();
    ASSERT_FALSE(plan.cuts.articles.empty());
    for (const ArticleCut& a : plan.cuts.articles)
        for (int64_t order : a.orders)
            EXPECT_TRUE(order == 1 || order == 2) << order;
    EXPECT_LE(plan.newBars(), plan.ownBars);
    const QString summary = page->summaryLabel()->text();
    EXPECT_TRUE(summary.contains(QStringLiteral("Заказов: 2."))) << summary.toStdString();
    EXPECT_TRUE(
        summary.contains(QString::fromStdString(plan.cuts.articles[0].code) + QStringLiteral(" ")))
        << summary.toStdString();
    EXPECT_EQ(page->planView()->plan().articles.size(), plan.cuts.articles.size());
    const size_t kept = plan.kept.size();
    EXPECT_TRUE(window->grab().save(QStringLiteral("/tmp/workshop_batches.png")));

    // Started: the orders go to production, the kept offcuts to the store, the batch is listed.
    ASSERT_TRUE(page->startButton()->isEnabled());
    QTest::mouseClick(page->startButton(), Qt::LeftButton);
    Journal& j = session.journal();
    EXPECT_EQ(j.order(1).status, "В производстве");
    EXPECT_EQ(j.order(2).status, "В производстве");
    EXPECT_EQ(j.order(3).status, "Готов");
    ASSERT_EQ(page->table()->rowCount(), 1);
    EXPECT_EQ(page->table()->item(0, BatchesPage::Orders)->text(), QStringLiteral("1, 2"));
    EXPECT_EQ(page->table()->item(0, BatchesPage::State)->text(), QStringLiteral("Запущена"));
    EXPECT_EQ(page->selectedBatch(), 1);
    EXPECT_EQ(j.batches().kept(1).size(), kept);
    EXPECT_TRUE(page->messageLabel()->text().contains(QStringLiteral("Партия № 1 запущена")));
    EXPECT_FALSE(page->startButton()->isEnabled()) << "started once";

    // Opened later: its plan as it was started.
    page->planView()->setPlan({});
    QTest::mouseClick(page->openButton(), Qt::LeftButton);
    EXPECT_EQ(page->planView()->plan().articles.size(), plan.cuts.articles.size());

    // Its pack again, with the store's ids on the kept offcuts' labels.
    const QString pdf = world.path(QStringLiteral("партия.pdf"));
    dialogs.saveAnswers.push_back(pdf);
    QTest::mouseClick(page->packButton(), Qt::LeftButton);
    ASSERT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join(' ').toStdString();
    const QString all = pdftest::pages(pdf).join('\n');
    EXPECT_TRUE(all.contains(QStringLiteral("Партия № 1")));
    for (const JournalOffcut& o : j.batches().kept(1))
        EXPECT_TRUE(all.contains(QString::fromStdString(OffcutStore::idText(o.id))))
            << OffcutStore::idText(o.id);

    // Cancelled: the orders go back to "Принят", the batch says so, it cannot be cancelled twice.
    QTest::mouseClick(page->cancelButton(), Qt::LeftButton);
    EXPECT_EQ(j.order(1).status, "Принят");
    EXPECT_EQ(j.order(2).status, "Принят");
    EXPECT_EQ(j.batches().get(1).state, "Отменена");
    EXPECT_EQ(page->table()->item(0, BatchesPage::State)->text(), QStringLiteral("Отменена"));
    EXPECT_FALSE(page->cancelButton()->isEnabled());
}

TEST_F(BatchesPageFixture, AnOffcutTakenBeforeTheStartIsPlannedAroundAndSaid) {
    page->takeOrders({1});
    ASSERT_TRUE(waitForPlan());
    ASSERT_FALSE(page->newPlan()->cuts.articles.empty());
    const ArticleCut& a = page->newPlan()->cuts.articles[0];
    // A whole stock length of the article in the order's colour lies on the rack: free, so used.
    JournalOffcut rack;
    rack.article = a.code;
    rack.color = page->newPlan()->articleColours[0];
    rack.length = a.stock[0].length;
    OffcutStore store = session.journal().offcuts();
    const int64_t id = store.add(rack, "Петрова");
    QTest::mouseClick(page->planButton(), Qt::LeftButton);
    ASSERT_TRUE(waitForPlan());
    ASSERT_EQ(page->newPlan()->usedOffcuts, std::vector<int64_t>{id});
    const int barsWithOffcut = page->newPlan()->newBars();

    // Another seat scraps it in the meantime: nothing is started, the batch is planned again.
    store.scrap(id, "Сидорова", "сломан");
    QTest::mouseClick(page->startButton(), Qt::LeftButton);
    EXPECT_TRUE(session.journal().batches().list().empty());
    EXPECT_EQ(session.journal().order(1).status, "Принят");
    ASSERT_TRUE(waitForPlan());
    EXPECT_TRUE(page->newPlan()->usedOffcuts.empty());
    EXPECT_GE(page->newPlan()->newBars(), barsWithOffcut);
    const QString message = page->messageLabel()->text();
    EXPECT_TRUE(page->messageLabel()->isVisible());
    EXPECT_TRUE(message.contains(QStringLiteral("рассчитана заново"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("Больше не в плане: ") +
                                 QString::fromStdString(OffcutStore::idText(id))))
        << message.toStdString();

    // Started with the new plan.
    ASSERT_TRUE(page->startButton()->isEnabled());
    QTest::mouseClick(page->startButton(), Qt::LeftButton);
    ASSERT_EQ(session.journal().batches().list().size(), 1u);
    EXPECT_EQ(session.journal().order(1).status, "В производстве");
    EXPECT_EQ(store.get(id).state, "Списан");
}

} // namespace
