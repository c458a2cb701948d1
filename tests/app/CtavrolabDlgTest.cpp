// The main window: layout, tabs, the notification hub, opening a sketch, and screenshots.
#include "ui/PdfTestSupport.h"
#include "ui/ShellTestSupport.h"

#include "app/CtavrolabApp.h"
#include "app/CtavrolabDlg.h"
#include "calc/DSSystem.h"
#include "model/SketchFile.h"
#include "output/LabelGrid.h"
#include "output/ProductionLabel.h"
#include "ui/materials/DlgDoorSize.h"
#include "ui/materials/RightPanelDlg.h"
#include "ui/ordercard/DlgOrder.h"
#include "ui/printing/DlgPrint.h"
#include "ui/printing/PrintCommands.h"
#include "ui/printing/ProductionPack.h"
#include "ui/results/DlgPlan.h"
#include "ui/results/DlgTable.h"
#include "ui/results/DlgTabs.h"
#include "ui/results/SumDlg.h"
#include "ui/shared/PictureButton.h"
#include "ui/toppanel/DlgColors.h"
#include "ui/toppanel/DlgHands.h"
#include "ui/toppanel/DlgSystems.h"
#include "ui/toppanel/TopPanelDlg.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace shelltest;

namespace {

struct MainWindowFixture : ::testing::Test {
    World world;
    std::unique_ptr<CtavrolabDlg> window;

    void SetUp() override {
        window = std::make_unique<CtavrolabDlg>(*world.project);
        window->show();
        QApplication::processEvents();
    }
    void clickTab(int k) {
        QTest::mouseClick(window->tabStrip(), Qt::LeftButton, {},
                          window->tabStrip()->tabRect(k).center());
        QApplication::processEvents();
    }
};

TEST_F(MainWindowFixture, TitleMinimumSizeAndLayout) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Новый заказ — tavrolab"));
    EXPECT_EQ(window->minimumSize(), QSize(1204, 768));
    window->resize(1400, 900);
    QApplication::processEvents();
    const int t = window->topPanel()->height();
    EXPECT_EQ(window->topPanel()->geometry(), QRect(0, 0, 970, t));
    EXPECT_EQ(window->sumPanel()->geometry().right(), 1399);
    EXPECT_EQ(window->sumPanel()->height(), t);
    EXPECT_EQ(window->logo()->geometry(),
              QRect(970, 0, 1400 - 970 - window->sumPanel()->width(), t));
    EXPECT_EQ(window->tabStrip()->geometry(), QRect(0, t, 39, 900 - t));
    EXPECT_EQ(window->materialsPanel()->geometry(), QRect(1400 - 280, t, 280, 900 - t));
    EXPECT_EQ(window->orderCard()->geometry(), QRect(1400 - 280, t, 280, 900 - t));
    EXPECT_EQ(window->infoPanel()->geometry(), QRect(39, 900 - 60, 1400 - 39 - 280, 60));
    EXPECT_EQ(window->sketch()->geometry(), QRect(39, t, 1400 - 39 - 280, 900 - 60 - t));
    EXPECT_EQ(window->table(0)->geometry(), QRect(39, t, 1400 - 39, 900 - t));
    EXPECT_EQ(window->table(1)->geometry(), QRect(39, t, 1400 - 39 - 280, 900 - t));
    EXPECT_EQ(window->table(3)->geometry(), QRect(39, t, 1400 - 39, 900 - t));
}

TEST_F(MainWindowFixture, EachTabShowsItsViewsAndHidesTheOthers) {
    auto shown = [this] {
        std::vector<bool> v{window->sketch()->isVisible(), window->materialsPanel()->isVisible(),
                            window->infoPanel()->isVisible(), window->orderCard()->isVisible()};
        for (int m = 0; m < 4; ++m)
            v.push_back(window->table(m)->isVisible());
        return v;
    };
    using V = std::vector<bool>;
    EXPECT_EQ(shown(), (V{true, true, true, false, false, false, false, false}));
    clickTab(1);
    EXPECT_EQ(shown(), (V{false, false, false, false, true, false, false, false}));
    clickTab(2);
    EXPECT_EQ(shown(), (V{false, false, false, true, false, true, false, false}));
    clickTab(3);
    EXPECT_EQ(shown(), (V{false, false, false, false, false, false, true, false}));
    clickTab(4);
    EXPECT_EQ(shown(), (V{false, false, false, false, false, false, false, true}));
    clickTab(0);
    EXPECT_EQ(shown(), (V{true, true, true, false, false, false, false, false}));
    // The panels of every tab stay.
    EXPECT_TRUE(window->topPanel()->isVisible());
    EXPECT_TRUE(window->sumPanel()->isVisible());
    EXPECT_TRUE(window->tabStrip()->isVisible());
}

TEST_F(MainWindowFixture, PopupsDisableThePanelsAndRemoveTheMinimizeBox) {
    ASSERT_TRUE(window->hasMinimizeBox());
    QTest::keyClick(window.get(), Qt::Key_P, Qt::ControlModifier);
    DlgPrint* print = window->topPanel()->printDialog();
    EXPECT_TRUE(print->isVisible());
    EXPECT_FALSE(window->hasMinimizeBox());
    EXPECT_TRUE(window->isVisible());
    for (QWidget* w :
         {static_cast<QWidget*>(window->topPanel()),
          static_cast<QWidget*>(window->materialsPanel()), window->sketch(),
          static_cast<QWidget*>(window->sumPanel()), static_cast<QWidget*>(window->tabStrip())})
        EXPECT_FALSE(w->isEnabled());
    QTest::mouseClick(print->cancelButton(), Qt::LeftButton);
    EXPECT_TRUE(window->hasMinimizeBox());
    EXPECT_TRUE(window->isVisible());
    for (QWidget* w :
         {static_cast<QWidget*>(window->topPanel()),
          static_cast<QWidget*>(window->materialsPanel()), window->sketch(),
          static_cast<QWidget*>(window->sumPanel()), static_cast<QWidget*>(window->tabStrip())})
        EXPECT_TRUE(w->isEnabled());
}

TEST_F(MainWindowFixture, EditsInOnePanelReachTheOthersThroughTheHub) {
    // The discount typed into the totals panel reaches the price table; the top panel's
    // refresh reloads the totals panel's discount.
    SumDlg* sum = window->sumPanel();
    sum->discountEdit()->setText(QStringLiteral("10"));
    EXPECT_DOUBLE_EQ(world.project->discountPercent, 10.0);
    world.project->discountPercent = 20.0;
    window->notify(Notify::CatalogSelection);
    EXPECT_EQ(sum->discountEdit()->text(), QStringLiteral("20"));

    // A cost typed into the order card changes the totals text as the project computes it.
    clickTab(2);
    window->orderCard()->assemblyEdit()->setText(QStringLiteral("1500"));
    EXPECT_EQ(sum->totalLabel()->text().toStdString(), world.project->grandTotalText());

    // Choosing a system through the top panel refreshes the top panel through the hub.
    TopPanelDlg* top = window->topPanel();
    QTest::mouseClick(top->systemButton(), Qt::LeftButton);
    for (PictureButton* b : top->systemsPopup()->choiceButtons())
        if (b->text() == QStringLiteral("Тавро"))
            QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_EQ(world.project->system->code, "Тавро");
    EXPECT_EQ(top->systemButton()->text(), QStringLiteral("Тавро"));
    EXPECT_EQ(top->heightLabel()->text(), QStringLiteral("Высота шкафа"));

    // The materials panel hears the hub: Тавро has no "Отступ высоты", and the door count chosen
    // in the top panel reaches its door list.
    RightPanelDlg* right = window->materialsPanel();
    EXPECT_FALSE(right->heightList()->isVisible());
    QTest::keyClick(top->doorCountList(), Qt::Key_Down);
    EXPECT_EQ(right->zoomList()->count(), world.project->doorCount + 1);
    // The door widths dialog opened from it disables the panels until it closes.
    QTest::mouseClick(right->doorSizeButton(), Qt::LeftButton);
    EXPECT_FALSE(window->sketch()->isEnabled());
    EXPECT_FALSE(window->hasMinimizeBox());
    QTest::mouseClick(right->doorSizeDialog()->cancelButton(), Qt::LeftButton);
    EXPECT_TRUE(window->sketch()->isEnabled());
    EXPECT_TRUE(window->hasMinimizeBox());
}

TEST_F(MainWindowFixture, OpeningASketchRefreshesEveryPanelAndTheOrderCard) {
    // A sketch saved from another project with another system, sizes, discount and order.
    World other;
    Project& saved = *other.project;
    saved.setSystem(other.system("Тавро"));
    saved.setOpeningWidth(24000);
    saved.setHeight(22000);
    saved.setDoorCount(2);
    saved.discountPercent = 5.0;
    saved.order.clientName = "Кузнецова";
    saved.order.orderNumber = "00123";
    saved.order.deliveryCost = 700;
    const QString path = world.path(QStringLiteral("saved.tav"));
    ASSERT_EQ(SketchFile::write(saved, path.toStdString()), SketchFile::WriteOk);

    ScriptedDialogs dialogs;
    dialogs.openAnswers.push_back(path);
    clickTab(2);
    QTest::mouseClick(window->topPanel()->commandButton(0), Qt::LeftButton);
    EXPECT_TRUE(dialogs.errors.isEmpty());
    ASSERT_EQ(dialogs.filters.size(), 1);
    EXPECT_EQ(dialogs.filters[0], QStringLiteral("Эскизы дверей (*.tav)"));

    TopPanelDlg* top = window->topPanel();
    EXPECT_EQ(world.project->system->code, "Тавро");
    EXPECT_EQ(top->systemButton()->text(), QStringLiteral("Тавро"));
    EXPECT_EQ(top->widthEdit()->text(), QStringLiteral("2400"));
    EXPECT_EQ(top->heightEdit()->text(), QStringLiteral("2200"));
    EXPECT_EQ(top->doorCountList()->currentText(), QStringLiteral("2"));
    EXPECT_TRUE(top->plinthEdit()->isEnabled());
    EXPECT_EQ(window->sumPanel()->discountEdit()->text(), QStringLiteral("5"));
    EXPECT_EQ(window->sumPanel()->totalLabel()->text().toStdString(),
              world.project->grandTotalText());
    DlgOrder* card = window->orderCard();
    EXPECT_EQ(card->nameEdit()->text(), QStringLiteral("Кузнецова"));
    EXPECT_EQ(card->numberEdit()->text(), QStringLiteral("00123"));
    EXPECT_EQ(card->deliveryEdit()->text(), QStringLiteral("700"));
    EXPECT_EQ(world.project->order.deliveryCost, 700);
    // The order-information page shows the opened order.
    auto* orderPage = dynamic_cast<DlgTable*>(window->table(1));
    ASSERT_NE(orderPage, nullptr);
    ASSERT_FALSE(orderPage->page().tables().empty());
    const GridTable& info = orderPage->page().tables().front();
    bool clientShown = false;
    for (int r = 0; r < info.rows(); ++r)
        if (const GridCell* c = info.cell(1, r); c && c->text == QStringLiteral("Кузнецова"))
            clientShown = true;
    EXPECT_TRUE(clientShown);

    // A file that is not there is reported with its path; the project stays.
    const QString missing = world.path(QStringLiteral("missing.tav"));
    dialogs.openAnswers.push_back(missing);
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_EQ(dialogs.errors[0], QStringLiteral("Ошибка открытия файла ") + missing);
    EXPECT_EQ(world.project->system->code, "Тавро");

    // A newer version is reported with its own text.
    const QString newer = world.path(QStringLiteral("newer.tav"));
    {
        QFile f(newer);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(1, char(7)));
    }
    dialogs.openAnswers.push_back(newer);
    QTest::mouseClick(top->commandButton(0), Qt::LeftButton);
    ASSERT_EQ(dialogs.errors.size(), 2);
    EXPECT_EQ(dialogs.errors[1],
              QStringLiteral("Ошибка открытия файла: версия файла не поддерживается данной "
                             "программой."));
}

// The amount of a totals text "1234,50 руб." in kopecks; -1 when it is no amount.
int64_t kopecksOf(const QString& text) {
    QString t = text.trimmed();
    if (!t.endsWith(QStringLiteral(" руб.")))
        return -1;
    t.chop(5);
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = t.toDouble(&ok);
    return ok ? static_cast<int64_t>(v * 100.0 + 0.5) : -1;
}

TEST(PricedMainWindow, CostsTypedIntoTheOrderCardReachTheTotalsPanel) {
    World world(true);
    CtavrolabDlg window(*world.project);
    window.show();
    ASSERT_GT(world.project->priceTotal(), 0)
        << "the shipped price files price the default project";
    QLabel* total = window.sumPanel()->totalLabel();
    EXPECT_EQ(total->text().toStdString(), world.project->grandTotalText());
    const int64_t before = kopecksOf(total->text());
    ASSERT_GT(before, 0) << total->text().toStdString();

    window.orderCard()->assemblyEdit()->setText(QStringLiteral("1500"));
    EXPECT_EQ(kopecksOf(total->text()), before + 150000);
    window.orderCard()->deliveryEdit()->setText(QStringLiteral("300"));
    EXPECT_EQ(kopecksOf(total->text()), before + 180000);

    // A 10 % discount typed into the totals panel takes the rounded-up tenth of the total.
    window.sumPanel()->discountEdit()->setText(QStringLiteral("10"));
    const int64_t priced = world.project->priceTotal();
    const int64_t discount = (priced + 9) / 10;
    EXPECT_EQ(kopecksOf(total->text()), priced - discount + 180000);

    // A size typed into the top panel reprices the project; the panel follows.
    window.topPanel()->widthEdit()->setText(QStringLiteral("2000"));
    EXPECT_EQ(total->text().toStdString(), world.project->grandTotalText());
}

TEST_F(MainWindowFixture, SavingASketchProposesTheNameAndReportsAFailure) {
    ScriptedDialogs dialogs;
    const QString path = world.path(QStringLiteral("эскиз.tav"));
    dialogs.saveAnswers.push_back(path);
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(dialogs.proposedNames.size(), 1);
    EXPECT_EQ(dialogs.proposedNames[0], QStringLiteral("эскиз"));
    EXPECT_TRUE(QFileInfo::exists(path));
    EXPECT_TRUE(dialogs.errors.isEmpty());

    // Saving again writes the same file without asking; "Сохранить как" asks for another.
    QTest::mouseClick(window->topPanel()->commandButton(1), Qt::LeftButton);
    EXPECT_EQ(dialogs.proposedNames.size(), 1);
    const QString bad = world.path(QStringLiteral("nowhere/эскиз.tav"));
    dialogs.saveAnswers.push_back(bad);
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_EQ(dialogs.errors[0], QStringLiteral("Ошибка сохранения файла ") + bad +
                                     QStringLiteral(": Нет такого файла или каталога"));
}

TEST_F(MainWindowFixture, PlacingAnOrderOpensThePrintChoice) {
    ScriptedDialogs dialogs;
    clickTab(2);
    dialogs.saveAnswers.push_back(world.path(QStringLiteral("order.tav")));
    QTest::mouseClick(window->orderCard()->placeOrderButton(), Qt::LeftButton);
    EXPECT_TRUE(window->topPanel()->printDialog()->isVisible());
    EXPECT_FALSE(window->topPanel()->isEnabled());
    QTest::mouseClick(window->topPanel()->printDialog()->cancelButton(), Qt::LeftButton);
    EXPECT_TRUE(window->topPanel()->isEnabled());
}

// The sale ends with the documents: "Оформить заказ" saves the sketch and opens the print
// choice, whose "Печать" without a printer offers the PDF, saved under the order number (the
// number the journal gave the order, whatever the card showed).
TEST_F(MainWindowFixture, PlacingAnOrderEndsWithItsDocumentsAsPdfWithoutAPrinter) {
    ScriptedDialogs dialogs;
    PrintCommands::hooks().printerInstalled = [] { return false; };
    clickTab(2);
    world.writeNumberFile("77");
    world.project->order.orderNumber = "00005";
    const QString pdf = world.path(QStringLiteral("00077.pdf"));
    dialogs.saveAnswers.push_back(world.path(QStringLiteral("00077.tav")));
    dialogs.saveAnswers.push_back(pdf);
    QTest::mouseClick(window->orderCard()->placeOrderButton(), Qt::LeftButton);
    QTest::mouseClick(window->topPanel()->printDialog()->okButton(), Qt::LeftButton);
    PrintCommands::resetHooks();
    EXPECT_TRUE(dialogs.errors.isEmpty());
    EXPECT_EQ(world.project->order.orderNumber, "00077");
    EXPECT_EQ(dialogs.proposedNames,
              (QStringList{QStringLiteral("00077"), QStringLiteral("00077")}));
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5) == "%PDF-");
    EXPECT_TRUE(window->topPanel()->isEnabled());
}

// "Производство" in the print choice writes the whole pack as one PDF: the documents with the
// cutting plan, the door assembly sheets and the labels on the grid typed beside the button. A
// grid that does not fit A4 is refused and the choice stays open.
TEST_F(MainWindowFixture, TheProductionPackIsOneClickFromThePrintChoice) {
    ScriptedDialogs dialogs;
    DlgPrint* print = window->topPanel()->printDialog();
    QTest::mouseClick(window->topPanel()->commandButton(3), Qt::LeftButton);
    ASSERT_TRUE(print->isVisible());
    QLineEdit* grid = print->labelGridEdit();
    grid->selectAll();
    QTest::keyClicks(grid, QStringLiteral("9x40"));
    QTest::mouseClick(print->productionButton(), Qt::LeftButton);
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_TRUE(dialogs.errors[0].startsWith(QStringLiteral("Сетка этикеток")));
    EXPECT_TRUE(print->isVisible());

    const QString pdf = world.path(QStringLiteral("pack.pdf"));
    dialogs.saveAnswers.push_back(pdf);
    grid->selectAll();
    QTest::keyClicks(grid, QStringLiteral("2x5"));
    QTest::mouseClick(print->productionButton(), Qt::LeftButton);
    EXPECT_FALSE(print->isVisible());
    EXPECT_EQ(dialogs.errors.size(), 1);
    const QStringList pages = pdftest::pages(pdf);
    ASSERT_FALSE(pages.isEmpty());
    const QString all = pages.join(QLatin1Char('\n'));
    EXPECT_TRUE(all.contains(QStringLiteral("Хлыстов по смете")));
    EXPECT_TRUE(all.contains(QStringLiteral("Сборка двери 1 из")));
    // The same pack as the command line makes with that grid, page for page.
    const QString direct = world.path(QStringLiteral("direct.pdf"));
    ASSERT_TRUE(ProductionPack(*world.project, *LabelGrid::parse("2x5"))
                    .writePdf(direct.toStdString())
                    .isEmpty());
    EXPECT_EQ(pages, pdftest::pages(direct));
    const size_t labels =
        ProductionLabel::listFor(*world.project).size() +
        ProductionLabel::offcutLabels(*world.project, DlgPlan::planFor(*world.project)).size();
    ASSERT_GT(labels, 10u); // so that the grid shows in the count of label sheets
    // The label sheets close the pack, 10 labels to a sheet, right after the last door.
    const int sheets = static_cast<int>((labels + 9) / 10);
    ASSERT_GT(pages.size(), sheets);
    EXPECT_TRUE(pages[pages.size() - sheets - 1].contains(QStringLiteral("Сборка двери")));
    EXPECT_FALSE(pages[pages.size() - sheets].contains(QStringLiteral("Сборка двери")));
    EXPECT_TRUE(window->topPanel()->isEnabled());
}

TEST_F(MainWindowFixture, EnterAndEscapeDoNotCloseTheWindow) {
    QTest::keyClick(window.get(), Qt::Key_Escape);
    QTest::keyClick(window->tabStrip(), Qt::Key_Return);
    QTest::keyClick(window->orderCard(), Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(MainWindowFixture, Screenshots) {
    window->resize(1280, 800);
    QApplication::processEvents();
    for (int k = 0; k < DlgTabs::kTabCount; ++k) {
        clickTab(k);
        EXPECT_TRUE(saveScreenshot(window.get(), QStringLiteral("main_tab%1.png").arg(k)));
    }
    clickTab(0);
    TopPanelDlg* top = window->topPanel();
    // Each popup over the main window, and alone.
    const struct {
        PictureButton* button;
        QWidget* popup;
        const char* name;
    } popups[] = {{top->systemButton(), top->systemsPopup(), "popup_systems"},
                  {top->handleButton(), top->handsPopup(), "popup_hands"},
                  {top->colorButton(), top->colorsPopup(), "popup_colors"}};
    HandleProfile* kl01 = world.catalog->handleByCode("KL01");
    ASSERT_NE(kl01, nullptr);
    world.project->setHandleProfile(kl01);
    window->notify(Notify::CatalogSelection);
    for (const auto& p : popups) {
        QTest::mouseClick(p.button, Qt::LeftButton);
        ASSERT_TRUE(p.popup->isVisible()) << p.name;
        QApplication::processEvents();
        EXPECT_TRUE(saveScreenshot(window.get(), QStringLiteral("main_%1.png").arg(p.name)));
        EXPECT_TRUE(saveScreenshot(p.popup, QStringLiteral("%1.png").arg(p.name)));
        QTest::mouseClick(p.button, Qt::LeftButton);
    }
    for (DlgPrint* d : {top->saveDialog(), top->printDialog()}) {
        d->showChoice();
        QApplication::processEvents();
        EXPECT_TRUE(saveScreenshot(d, d->mode() == DlgPrint::SaveMode
                                          ? QStringLiteral("dialog_save.png")
                                          : QStringLiteral("dialog_print.png")));
        d->cancelChoice();
    }
    // The cabinet system shows all its fields.
    world.project->setSystem(world.system("Тавро"));
    window->notify(Notify::CatalogSelection);
    window->notify(Notify::ProjectChanged);
    EXPECT_TRUE(saveScreenshot(top, QStringLiteral("top_panel_cabinet.png")));
    EXPECT_TRUE(saveScreenshot(window.get(), QStringLiteral("main_cabinet.png")));
}

} // namespace

TEST_F(MainWindowFixture, TheSketchNamedOnTheCommandLineOpens) {
    // The desktop entry starts "tavrolab %f"; Qt has taken its own options out already.
    const QString path = world.path(QStringLiteral("-заказ.tav"));
    World other;
    other.project->setSystem(other.system("Тавро"));
    ASSERT_EQ(SketchFile::write(*other.project, path.toStdString()), SketchFile::WriteOk);

    EXPECT_EQ(CtavrolabApp::sketchArgument({QStringLiteral("tavrolab")}), QString());
    EXPECT_EQ(CtavrolabApp::sketchArgument({QStringLiteral("tavrolab"), QStringLiteral("a.tav")}),
              QStringLiteral("a.tav"));
    const QString named = CtavrolabApp::sketchArgument(
        {QStringLiteral("/opt/tavrolab/bin/tavrolab"), QStringLiteral("--"), path});
    EXPECT_EQ(named, path);
    EXPECT_TRUE(window->topPanel()->openSketchFile(named));
    EXPECT_EQ(world.project->system->code, "Тавро");
    EXPECT_EQ(window->topPanel()->systemButton()->text(), QStringLiteral("Тавро"));
}
