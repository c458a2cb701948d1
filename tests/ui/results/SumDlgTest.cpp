// The totals panel.
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

} // namespace
