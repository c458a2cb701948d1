// The workshop window's page "Остатки" on a journal of the test's own: a scanned label selects
// its offcut, the filters change the list and its totals, and what is done at the rack (add,
// scrap, move, label again) reaches the journal.
#include "ui/PdfTestSupport.h"
#include "ui/ShellTestSupport.h"

#include "journal/Journal.h"
#include "journal/JournalSession.h"
#include "ui/shared/JournalRunner.h"
#include "ui/workshop/DlgOffcutAdd.h"
#include "ui/workshop/DlgWorkshop.h"
#include "ui/workshop/OffcutsPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Types text as a keyboard or a barcode scanner does (Cyrillic too).
void type(QWidget* w, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

JournalOffcut bar(const std::string& article, const std::string& colour, int32_t length) {
    JournalOffcut o;
    o.article = article;
    o.color = colour;
    o.length = length;
    o.place = "стеллаж 1";
    return o;
}

JournalOffcut sheet(const std::string& material, int32_t width, int32_t height) {
    JournalOffcut o;
    o.sheet = true;
    o.materialGroup = "ЛДСП";
    o.material = material;
    o.width = width;
    o.height = height;
    return o;
}

struct OffcutsPageFixture : ::testing::Test {
    shelltest::World world;
    shelltest::ScriptedDialogs dialogs;
    JournalSession session{world.folder.path().toStdString()};
    // The window's own session, on its journal thread.
    JournalRunner runner{std::make_unique<JournalSession>(world.folder.path().toStdString())};
    std::vector<int64_t> ids;
    std::unique_ptr<DlgWorkshop> window;
    OffcutsPage* page = nullptr;

    void SetUp() override {
        OffcutStore store = session.journal().offcuts();
        ids.push_back(store.add(bar("KL001", "Белый", 3520), "Петрова"));
        ids.push_back(store.add(bar("KL001", "Белый", 12000), "Петрова"));
        ids.push_back(store.add(bar("KL001", "Серебро", 8000), "Петрова"));
        ids.push_back(store.add(bar("ПР-101", "Белый", 5000), "Петрова"));
        ids.push_back(store.add(sheet("Дуб", 6000, 12000), "Петрова"));
        window = std::make_unique<DlgWorkshop>(runner, *world.catalog);
        page = window->offcutsPage();
        ASSERT_NE(page, nullptr);
        window->pages()->setCurrentWidget(page);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    int selectedRow() const {
        const QList<QTableWidgetItem*> items = page->table()->selectedItems();
        return items.isEmpty() ? -1 : items.first()->row();
    }

    void scan(const QString& text) {
        page->searchEdit()->setFocus();
        page->searchEdit()->selectAll();
        type(page->searchEdit(), text);
        QTest::keyClick(page->searchEdit(), Qt::Key_Return);
    }

    static void choose(QComboBox* box, const QString& text) {
        const int at = box->findText(text);
        ASSERT_GE(at, 0) << text.toStdString();
        box->setCurrentIndex(at);
    }
};

TEST_F(OffcutsPageFixture, AScannedIdSelectsItsRowAndOpensTheFiltersWhenTheyHideIt) {
    ASSERT_EQ(page->table()->rowCount(), 5);
    EXPECT_EQ(page->table()->item(0, OffcutsPage::Id)->text(), QStringLiteral("О-000001"));
    EXPECT_EQ(selectedRow(), -1);

    // The label's QR text, the number alone, and Latin letters from a scanner on another layout.
    const struct {
        QString typed;
        int row;
    } scans[] = {{QStringLiteral("О-000003"), 2},
                 {QStringLiteral("4"), 3},
                 {QStringLiteral("O-000005"), 4},
                 {QStringLiteral(" о-2 "), 1}};
    for (const auto& s : scans) {
        scan(s.typed);
        EXPECT_EQ(selectedRow(), s.row) << s.typed.toStdString();
        EXPECT_EQ(page->selectedId(), ids[static_cast<size_t>(s.row)]);
        EXPECT_FALSE(page->messageLabel()->isVisible());
    }

    // One the state filter hides (scrapped) is found all the same, the filters opened for it.
    session.journal().offcuts().scrap(ids[3], "Петрова", "сломан");
    page->refresh();
    ASSERT_EQ(page->table()->rowCount(), 4);
    scan(QStringLiteral("О-000004"));
    EXPECT_EQ(page->stateFilter()->currentIndex(), 0);
    EXPECT_EQ(page->selectedId(), ids[3]);
    EXPECT_EQ(page->table()->item(selectedRow(), OffcutsPage::State)->text(),
              QStringLiteral("Списан"));

    // Not in the store, and not an id at all: said, the selection kept.
    scan(QStringLiteral("О-000099"));
    EXPECT_EQ(page->selectedId(), ids[3]);
    EXPECT_TRUE(page->messageLabel()->isVisible());
    EXPECT_TRUE(page->messageLabel()->text().contains(QStringLiteral("О-000099")));
    scan(QStringLiteral("Б-12"));
    EXPECT_TRUE(page->messageLabel()->text().contains(QStringLiteral("не распознан")));
    EXPECT_TRUE(window->grab().save(QStringLiteral("/tmp/workshop_offcuts.png")));
}

TEST_F(OffcutsPageFixture, FiltersChangeTheListAndItsTotals) {
    const struct {
        QString article, colour, material;
        int rows;
        std::vector<QString> totals; // parts of the totals line
    } cases[] = {
        {{},
         {},
         {},
         5,
         {"KL001 Белый: 2 шт., 1,55 м", "KL001 Серебро: 1 шт., 0,80 м",
          "ПР-101 Белый: 1 шт., 0,50 м", "Дуб: 1 шт., 0,720 м²"}},
        {"KL001", {}, {}, 3, {"KL001 Белый: 2 шт., 1,55 м", "KL001 Серебро: 1 шт., 0,80 м"}},
        {"KL001", "Серебро", {}, 1, {"KL001 Серебро: 1 шт., 0,80 м"}},
        {{}, "Белый", {}, 3, {"KL001 Белый: 2 шт., 1,55 м", "ПР-101 Белый: 1 шт., 0,50 м"}},
        {{}, {}, "Дуб", 1, {"Дуб: 1 шт., 0,720 м²"}},
    };
    for (const auto& c : cases) {
        for (QComboBox* box : {page->articleFilter(), page->colourFilter(), page->materialFilter()})
            box->setCurrentIndex(0);
        if (!c.article.isEmpty())
            choose(page->articleFilter(), c.article);
        if (!c.colour.isEmpty())
            choose(page->colourFilter(), c.colour);
        if (!c.material.isEmpty())
            choose(page->materialFilter(), c.material);
        const std::string what = (c.article + "/" + c.colour + "/" + c.material).toStdString();
        EXPECT_EQ(page->table()->rowCount(), c.rows) << what;
        const QString totals = page->totalsLabel()->text();
        for (const QString& part : c.totals)
            EXPECT_TRUE(totals.contains(part)) << what << ": " << totals.toStdString();
        EXPECT_EQ(totals.count(QStringLiteral(" шт.")), static_cast<int>(c.totals.size()))
            << what << ": " << totals.toStdString();
    }
    // The state filter: nothing is reserved.
    for (QComboBox* box : {page->articleFilter(), page->colourFilter(), page->materialFilter()})
        box->setCurrentIndex(0);
    choose(page->stateFilter(), QStringLiteral("Зарезервирован"));
    EXPECT_EQ(page->table()->rowCount(), 0);
    EXPECT_EQ(page->totalsLabel()->text(), QStringLiteral("Итого: остатков нет"));
}

TEST_F(OffcutsPageFixture, ScrapMoveAddAndLabelReachTheJournal) {
    OffcutStore store = session.journal().offcuts();
    // Move: a place typed for the selected row.
    page->select(ids[1]);
    EXPECT_FALSE(page->moveButton()->isEnabled()) << "no place typed yet";
    type(page->placeEdit(), QStringLiteral("стеллаж 7"));
    ASSERT_TRUE(page->moveButton()->isEnabled());
    QTest::mouseClick(page->moveButton(), Qt::LeftButton);
    EXPECT_EQ(store.get(ids[1]).place, "стеллаж 7");
    EXPECT_EQ(page->selectedId(), ids[1]);
    EXPECT_EQ(page->table()->item(selectedRow(), OffcutsPage::Place)->text(),
              QStringLiteral("стеллаж 7"));

    // Scrap: confirmed, it leaves the list of what is on stock, and the totals with it.
    ASSERT_TRUE(page->scrapButton()->isEnabled());
    QTest::mouseClick(page->scrapButton(), Qt::LeftButton);
    EXPECT_EQ(store.get(ids[1]).state, "Списан");
    EXPECT_EQ(page->table()->rowCount(), 4);
    EXPECT_TRUE(page->totalsLabel()->text().contains(QStringLiteral("KL001 Белый: 1 шт., 0,35 м")))
        << page->totalsLabel()->text().toStdString();

    // Add: a sheet found on the rack, typed into the dialog; OK only once it is complete.
    QTest::mouseClick(page->addButton(), Qt::LeftButton);
    DlgOffcutAdd* add = page->addDialog();
    ASSERT_NE(add, nullptr);
    QPushButton* ok = add->buttons()->button(QDialogButtonBox::Ok);
    EXPECT_FALSE(ok->isEnabled());
    QTest::mouseClick(add->sheetChoice(), Qt::LeftButton);
    type(add->groupEdit(), QStringLiteral("Зеркала"));
    type(add->materialEdit(), QStringLiteral("Серебро"));
    add->widthBox()->setValue(600);
    EXPECT_FALSE(ok->isEnabled()) << "no height yet";
    add->heightBox()->setValue(1200.5);
    type(add->placeEdit(), QStringLiteral("стеллаж 3"));
    ASSERT_TRUE(ok->isEnabled());
    QTest::mouseClick(ok, Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_EQ(page->table()->rowCount(), 5);
    const int64_t added = page->selectedId();
    ASSERT_GT(added, ids.back());
    const JournalOffcut o = store.get(added);
    EXPECT_TRUE(o.sheet);
    EXPECT_EQ(o.materialGroup, "Зеркала");
    EXPECT_EQ(o.material, "Серебро");
    EXPECT_EQ(o.width, 6000);
    EXPECT_EQ(o.height, 12005);
    EXPECT_FALSE(o.canTurn);
    EXPECT_EQ(o.place, "стеллаж 3");
    EXPECT_EQ(o.state, "На складе");

    // Its label again: the id printed as text (and held by the QR code).
    const QString pdf = world.path(QStringLiteral("остаток.pdf"));
    dialogs.saveAnswers.push_back(pdf);
    QTest::mouseClick(page->labelButton(), Qt::LeftButton);
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join(' ').toStdString();
    ASSERT_EQ(pdftest::pageCount(pdf), 1);
    const QString text = pdftest::pageText(pdf, 1);
    EXPECT_TRUE(text.contains(QString::fromStdString(OffcutStore::idText(added))))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("600 x 1200,5"))) << text.toStdString();

    // A scrapped one cannot be scrapped or moved again.
    page->stateFilter()->setCurrentIndex(0);
    page->select(ids[1]);
    EXPECT_FALSE(page->scrapButton()->isEnabled());
    EXPECT_FALSE(page->moveButton()->isEnabled());
}

} // namespace
