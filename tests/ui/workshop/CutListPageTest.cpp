// The workshop window's page "Раскрой по списку", driven as the workshop drives it: a list typed
// into the tables and planned, files read with their refusals, a spreadsheet's rows pasted, a
// long plan stopped while the window keeps answering, the plan printed, as PDF and as labels.
#include "ui/CutListDriver.h"
#include "ui/PdfTestSupport.h"
#include "ui/ShellTestSupport.h"

#include "text/Encoding.h"
#include "ui/printing/PrintCommands.h"
#include "ui/workshop/CutListPlanView.h"
#include "ui/workshop/DlgWorkshop.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QPrinter>
#include <QSpinBox>
#include <QTabWidget>

#include <gtest/gtest.h>

using namespace cutlisttest;

namespace {

struct CutListPageFixture : ::testing::Test {
    shelltest::World world; // the application, a folder of the test's own
    shelltest::ScriptedDialogs dialogs;
    DlgWorkshop window;
    CutListPage* page = window.cutListPage();

    void SetUp() override {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    void TearDown() override { PrintCommands::resetHooks(); }

    CutListTable* pieces() const { return page->piecesBox()->table(); }
    CutListTable* stock() const { return page->stockBox()->table(); }

    // Two pieces of bar and four of board with their stock, typed in.
    void typeSmallList() {
        typeRow(page->piecesBox(), {"Брус", "Стойка", "2000", "", "4", ""});
        typeRow(page->piecesBox(), {"ДСП", "Полка", "600", "400", "4", "нет"});
        typeRow(page->stockBox(), {"Брус", "6000", "", "", "500"});
        typeRow(page->stockBox(), {"ДСП", "2800", "2070", "", "3000"});
    }

    QString file(const QString& name, const QByteArray& bytes) const {
        const QString path = world.path(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }
};

TEST_F(CutListPageFixture, TypedListIsPlannedDrawnAndTotalledPerMaterial) {
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Производство"));
    EXPECT_EQ(window.pages()->tabText(0), QStringLiteral("Раскрой по списку"));
    typeSmallList();
    ASSERT_EQ(cells(pieces()).size(), 2u);
    EXPECT_EQ(cells(pieces())[1], (QStringList{"ДСП", "Полка", "600", "400", "4", "нет"}));
    EXPECT_FALSE(page->pdfButton()->isEnabled()); // nothing to write before a plan

    ASSERT_TRUE(planAndWait(page));
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join('\n').toStdString();
    // Saw 4 mm, trim 10 mm: a 6000 mm bar holds 5980 mm, two 2000 mm pieces and their cuts but
    // not three (6008 mm); four pieces take two bars. Four shelves go onto one sheet.
    EXPECT_EQ(page->totalsLabel()->text(),
              QStringLiteral("Итого: новых хлыстов 2, листов 1, остатков 0, 4000,00 руб.; все "
                             "планы доказаны"));
    const QStringList lines = page->materialsLabel()->text().split('\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Брус (хлысты): новых 2, остатков 0, 1000,00 "
                                                   "руб.; нижняя граница 2; доказано; ")))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("ДСП (листы): новых 1, остатков 0, 3000,00 "
                                                   "руб.; нижняя граница 1; доказано; ")))
        << lines[1].toStdString();
    EXPECT_TRUE(page->statusLabel()->text().startsWith(QStringLiteral("Рассчитано за ")));

    // The drawing is the plan's, each piece under its own name.
    const CuttingPlan& drawn = page->planView()->plan();
    ASSERT_EQ(drawn.articles.size(), 1u);
    EXPECT_EQ(drawn.articles[0].plan.bars.size(), 2u);
    for (const std::string& name : drawn.articles[0].names)
        EXPECT_EQ(name, "Стойка");
    ASSERT_EQ(drawn.materials.size(), 1u);
    EXPECT_EQ(drawn.materials[0].names, (std::vector<std::string>(4, "Полка")));
    EXPECT_GT(page->planView()->contentHeight(), page->planView()->viewport()->height() / 4);
    EXPECT_TRUE(page->pdfButton()->isEnabled());
    EXPECT_TRUE(shelltest::saveScreenshot(&window, QStringLiteral("workshop_cut_list.png")));
}

TEST_F(CutListPageFixture, ARefusedFileNamesItsLineAndLeavesTheTableAsItWas) {
    typeSmallList();
    struct Case {
        CutListTableBox* box;
        QByteArray refused;
        const char* reason;
        QByteArray read; // in Windows-1251, its columns in another order
        QStringList firstRow;
    };
    const std::vector<Case> cases = {
        {page->piecesBox(),
         "Материал;Длина\nБрус;100\nБрус;12О0\n",
         "Строка 3: длина «12О0» не число",
         QByteArray::fromStdString(
             text::utf8ToCp1251("Длина;Материал;Количество\n2400,5;Профиль;3\n")),
         {"Профиль", "", "2400,5", "", "3", ""}},
        {page->stockBox(),
         "Материал;Длина;Цена\nБрус;6000;\n",
         "Строка 2: цена «»",
         QByteArray::fromStdString(text::utf8ToCp1251("Цена;Длина;Материал\n0;1500;Брус\n")),
         {"Брус", "1500", "", "", "0"}},
    };
    for (const Case& c : cases) {
        const std::vector<QStringList> before = cells(c.box->table());
        dialogs.openAnswers.push_back(file(QStringLiteral("bad.csv"), c.refused));
        QTest::mouseClick(c.box->importButton(), Qt::LeftButton);
        ASSERT_EQ(dialogs.errors.size(), 1);
        EXPECT_TRUE(dialogs.errors[0].contains(QString::fromUtf8(c.reason)))
            << dialogs.errors[0].toStdString();
        EXPECT_TRUE(dialogs.errors[0].contains(QStringLiteral("не изменена")));
        EXPECT_EQ(cells(c.box->table()), before);
        dialogs.errors.clear();

        dialogs.openAnswers.push_back(file(QStringLiteral("good.csv"), c.read));
        QTest::mouseClick(c.box->importButton(), Qt::LeftButton);
        EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join('\n').toStdString();
        ASSERT_EQ(cells(c.box->table()).size(), 1u);
        EXPECT_EQ(cells(c.box->table())[0], c.firstRow);

        // Written to a file and read back, the table comes back as it was.
        const QString saved = world.path(QStringLiteral("saved.csv"));
        dialogs.saveAnswers.push_back(saved);
        QTest::mouseClick(c.box->exportButton(), Qt::LeftButton);
        clickCell(c.box->table(), 0, 0);
        QTest::mouseClick(c.box->removeButton(), Qt::LeftButton);
        ASSERT_EQ(c.box->table()->rowCount(), 0);
        dialogs.openAnswers.push_back(saved);
        QTest::mouseClick(c.box->importButton(), Qt::LeftButton);
        EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join('\n').toStdString();
        ASSERT_EQ(cells(c.box->table()).size(), 1u);
        EXPECT_EQ(cells(c.box->table())[0], c.firstRow);
    }
}

TEST_F(CutListPageFixture, ASpreadsheetsRowsArePastedFromTheCurrentCell) {
    typeRow(page->piecesBox(), {"Брус", "Стойка", "2000", "", "4", ""});
    QApplication::clipboard()->setText(
        QStringLiteral("Ригель\t900\t\t2\r\nПолка\t600\t400\t1\tда\r\n"));
    clickCell(pieces(), 0, 1);
    QTest::keyClick(pieces(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(cells(pieces()), (std::vector<QStringList>{{"Брус", "Ригель", "900", "", "2", ""},
                                                         {"", "Полка", "600", "400", "1", "да"}}));

    // A pasted row without its material is refused on planning, naming the table's row, and the
    // row is made the current one.
    typeRow(page->stockBox(), {"Брус", "6000", "", "", "500"});
    struct Case {
        int row;
        QString material, length;
        const char* message;
    };
    const std::vector<Case> cases = {
        {1, "", "600", "Таблица «Детали». Строка 2: не указан материал"},
        {1, "МДФ", "600", "Таблица «Детали». Строка 2: материала «МДФ» нет на складе"},
        {0, "Брус", "2000мм", "Таблица «Детали». Строка 1: длина «2000мм» не число"},
    };
    for (const Case& c : cases) {
        typeIntoCell(pieces(), 1, 0, QStringLiteral("ДСП"));
        typeIntoCell(pieces(), c.row, 0, c.material);
        typeIntoCell(pieces(), c.row, 2, c.length);
        dialogs.errors.clear();
        QTest::mouseClick(page->planButton(), Qt::LeftButton);
        ASSERT_EQ(dialogs.errors.size(), 1);
        EXPECT_EQ(dialogs.errors[0].toStdString(), c.message);
        EXPECT_EQ(pieces()->currentRow(), c.row);
        EXPECT_FALSE(page->planning());
        EXPECT_TRUE(page->totalsLabel()->text().isEmpty());
    }
}

TEST_F(CutListPageFixture, ALongPlanIsStoppedWhileTheWindowAnswers) {
    // 5000 pieces of many lengths, pasted from a spreadsheet, with two minutes to plan them.
    QString rows;
    for (int i = 0; i < 5000; ++i)
        rows += QStringLiteral("Брус\tД%1\t%2\n").arg(i).arg(300 + (i * 37) % 2400);
    QApplication::clipboard()->setText(rows);
    QTest::mouseClick(page->piecesBox()->addButton(), Qt::LeftButton);
    QTest::keyClick(pieces(), Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(pieces()->rowCount(), 5000);
    typeRow(page->stockBox(), {"Брус", "6000", "", "", "500"});
    page->secondsEdit()->setValue(120);

    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(page->planButton(), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return page->statusLabel()->text().contains(QStringLiteral("Идет расчет: Брус")); },
        10000));
    // The window answers while the planner works: its clock runs on and "Стоп" can be pressed.
    const QString first = page->statusLabel()->text();
    EXPECT_TRUE(QTest::qWaitFor([&] { return page->statusLabel()->text() != first; }, 5000));
    ASSERT_TRUE(page->planning());
    EXPECT_FALSE(page->planButton()->isEnabled());
    ASSERT_TRUE(page->stopButton()->isEnabled());
    EXPECT_TRUE(shelltest::saveScreenshot(&window, QStringLiteral("workshop_planning.png")));
    QTest::mouseClick(page->stopButton(), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return page->planButton()->isEnabled(); }, 60000));
    EXPECT_LT(clock.elapsed(), 60000); // well before the two minutes

    EXPECT_TRUE(page->totalsLabel()->text().contains(
        QStringLiteral("расчет остановлен: лучший найденный план, не доказан")))
        << page->totalsLabel()->text().toStdString();
    EXPECT_TRUE(page->materialsLabel()->text().contains(QStringLiteral("не доказано")));
    EXPECT_TRUE(page->materialsLabel()->text().endsWith(QStringLiteral("; остановлено")));
    EXPECT_TRUE(page->statusLabel()->text().startsWith(QStringLiteral("Остановлено за ")));
    size_t cut = 0;
    for (const PlannedBar& b : page->plan().cuts.articles.at(0).plan.bars)
        cut += b.pieces.size();
    EXPECT_EQ(cut, 5000u);
    EXPECT_TRUE(shelltest::saveScreenshot(&window, QStringLiteral("workshop_stopped.png")));
}

TEST_F(CutListPageFixture, ThePlanIsPrintedWrittenAsPdfAndAsLabels) {
    typeSmallList();
    ASSERT_TRUE(planAndWait(page));
    const QString plan = world.path(QStringLiteral("plan.pdf"));
    const QString labels = world.path(QStringLiteral("labels.pdf"));
    const QString printed = world.path(QStringLiteral("printed.pdf"));
    dialogs.saveAnswers = {plan, labels};
    QTest::mouseClick(page->pdfButton(), Qt::LeftButton);
    QTest::mouseClick(page->labelsButton(), Qt::LeftButton);
    // A printer that prints to a file.
    PrintCommands::hooks().printerInstalled = [] { return true; };
    PrintCommands::hooks().choosePrinter = [&](QWidget*, QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printed);
        return true;
    };
    QTest::mouseClick(page->printButton(), Qt::LeftButton);
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join('\n').toStdString();

    for (const QString& pdf : {plan, printed}) {
        const QString text = pdftest::pages(pdf).join('\n');
        EXPECT_TRUE(text.contains(QStringLiteral("Стойка"))) << pdf.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("Полка"))) << pdf.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("Брус"))) << pdf.toStdString();
    }
    const QString labelText = pdftest::pages(labels).join('\n');
    // One label per piece: four of each.
    EXPECT_EQ(labelText.count(QStringLiteral("Стойка")), 4) << labelText.toStdString();
    EXPECT_EQ(labelText.count(QStringLiteral("Полка")), 4);
}

} // namespace
