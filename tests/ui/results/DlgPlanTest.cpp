// The result page "Раскрой" and the printed document of the same name, on the shipped data
// folder (real sheet sizes and prices): settings and rotation toggles re-plan, the page and the
// printed pages go under build/screenshots/ for the eye.

#include "ui/PdfTestSupport.h"
#include "ui/ViewsTestSupport.h"

#include "calc/RowFormat.h"
#include "catalog/MaterialGroup.h"
#include "catalog/ProfileColor.h"
#include "journal/Journal.h"
#include "journal/JournalSession.h"
#include "ui/printing/DocumentPrinter.h"
#include "ui/printing/PrintedDocument.h"
#include "ui/results/CuttingPlanPainter.h"
#include "ui/results/DlgPlan.h"
#include "ui/shared/JournalRunner.h"

#include <QCheckBox>
#include <QPainter>

#include <algorithm>

#include <gtest/gtest.h>

using namespace viewstest;

namespace {

struct ShopWorld {
    QTemporaryDir folder;
    std::unique_ptr<Catalog> catalog;
    std::unique_ptr<Project> project;

    ShopWorld() {
        ensureApp();
        catalog = std::make_unique<Catalog>(TAV_BIN_DIR, makeAllSystems);
        project = std::make_unique<Project>(*catalog);
        Project& p = *project;
        p.setDoorCount(4);
        p.setOpeningWidth(36000);
        p.setHeight(26000);
        for (int d = 0; d < 4; ++d) {
            clickSplit(p, d, 0.5, 0.3, false);
            if (d % 2 == 1)
                clickSplit(p, d, 0.5, 0.7, false);
        }
        const Material* board = material("ДСП", 0);
        const Material* mirror = material("Зеркало", 0);
        for (int d = 0; d < 4; ++d) {
            int k = 0;
            for (Insert* in : insertsOf(p, d))
                in->material = (k++ + d) % 2 == 0 ? board : mirror;
        }
        p.doors->changed = true;
        p.recalculate(true);
        DlgPlan::workshopSettings() = PlanSettings();
    }

    const Material* material(const std::string& group, size_t k) const {
        const MaterialGroup* g = catalog->materialGroupByName(group);
        return g != nullptr && k < g->materials.size() ? &g->materials[k] : nullptr;
    }
};

const MaterialCut* cutOf(const CuttingPlan& plan, const std::string& group) {
    for (const MaterialCut& m : plan.materials)
        if (m.group == group)
            return &m;
    return nullptr;
}

} // namespace

TEST(PlanView, SettingsAndRotationTogglesReplanAndThePageIsDrawn) {
    ShopWorld world;
    DlgPlan page(*world.project);
    page.resize(1200, 900);
    page.show();
    QApplication::processEvents();
    const CuttingPlan& plan = page.plan();
    ASSERT_FALSE(plan.articles.empty());
    ASSERT_NE(cutOf(plan, "ДСП"), nullptr);
    ASSERT_NE(cutOf(plan, "Зеркало"), nullptr);
    EXPECT_FALSE(cutOf(plan, "ДСП")->rotation);
    EXPECT_TRUE(cutOf(plan, "Зеркало")->rotation);
    EXPECT_FALSE(cutOf(plan, "ДСП")->plan.sheets.empty());
    EXPECT_TRUE(page.grab().save(screenshotPath(QStringLiteral("plan_view.png"))));

    // Without kerf and trim the plan needs no more bars than the bill.
    page.setKerf(0);
    page.setTrim(0);
    EXPECT_EQ(page.plan().settings.kerf, 0);
    EXPECT_EQ(page.plan().settings.trim, 0);
    EXPECT_LE(page.plan().planBars(), page.plan().billBars());

    // The mirror's toggle keeps its pieces upright from then on.
    QCheckBox* mirrorToggle = nullptr;
    for (QCheckBox* box : page.findChildren<QCheckBox*>())
        if (box->text().contains(QStringLiteral("Зеркало")))
            mirrorToggle = box;
    ASSERT_NE(mirrorToggle, nullptr);
    ASSERT_TRUE(mirrorToggle->isChecked());
    mirrorToggle->click();
    const MaterialCut* mirror = cutOf(page.plan(), "Зеркало");
    ASSERT_NE(mirror, nullptr);
    EXPECT_FALSE(mirror->rotation);
    for (const PlannedSheet& sheet : mirror->plan.sheets)
        for (const PlacedPiece& placed : sheet.pieces)
            EXPECT_FALSE(placed.rotated);
    DlgPlan::workshopSettings() = PlanSettings();
}

// With a journal, the page names what the offcut store could give each article, taking nothing:
// an offcut exactly as long as each piece and its two trims is counted for every piece (no new
// bar is needed then); one offcut 0.1 mm shorter than the shortest piece with its trims fits none.
TEST(PlanView, TheStoreCountsOffcutsExactlyLongEnoughAndNotOneTenthShorter) {
    ShopWorld world;
    const QString address =
        QStringLiteral("sqlite:") + QDir(world.folder.path()).filePath(QStringLiteral("j.sqlite"));
    JournalSession session(world.folder.path().toStdString(), address.toStdString());
    JournalRunner runner(
        std::make_unique<JournalSession>(world.folder.path().toStdString(), address.toStdString()));
    DlgPlan page(*world.project);
    page.resize(1200, 900);
    page.show();
    QApplication::processEvents();
    ASSERT_FALSE(page.plan().articles.empty());
    EXPECT_EQ(page.plan().articles[0].fromStore, -1) << "no journal, no count";
    const ArticleCut a = page.plan().articles[0];
    const int32_t trims = 2 * page.plan().settings.trim;
    int32_t shortest = INT32_MAX;
    std::vector<int32_t> exact;
    for (const BarPlanPiece& p : a.pieces) {
        shortest = std::min(shortest, p.length);
        exact.push_back(p.length + trims);
    }
    ASSERT_NE(world.project->color, nullptr);

    OffcutStore store = session.journal().offcuts();
    const struct {
        std::vector<int32_t> lengths;
        int counted;
    } cases[] = {{exact, static_cast<int>(exact.size())}, {{shortest + trims - 1}, 0}};
    for (const auto& c : cases) {
        std::vector<int64_t> ids;
        for (int32_t length : c.lengths) {
            JournalOffcut rack;
            rack.article = a.code;
            rack.color = world.project->color->code;
            rack.length = length;
            ids.push_back(store.add(rack, "Петрова"));
        }
        page.setJournal(&runner);
        const ArticleCut* shown = nullptr;
        for (const ArticleCut& cut : page.plan().articles)
            if (cut.code == a.code)
                shown = &cut;
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->fromStore, c.counted) << c.lengths.size();
        EXPECT_EQ(shown->plan.newBars, a.plan.newBars) << "the order's own plan stands";
        EXPECT_EQ(shown->plan.offcutsUsed, a.plan.offcutsUsed);
        for (const MaterialCut& m : page.plan().materials)
            EXPECT_EQ(m.fromStore, 0) << m.code;
        if (c.counted > 0) {
            EXPECT_TRUE(page.grab().save(screenshotPath(QStringLiteral("plan_view_store.png"))));
        }
        for (int64_t id : ids) {
            EXPECT_EQ(store.get(id).state, "На складе") << "nothing is taken";
            store.scrap(id, "Петрова", {});
        }
    }
}

TEST(PlanView, PrintedPlanIsTheFifthDocumentAndFillsItsPages) {
    ShopWorld world;
    const std::vector<PrintedDocument>& all = PrintedDocument::all();
    ASSERT_EQ(all.size(), 6u); // the customer's quote follows the plan
    EXPECT_STREQ(all[4].key, "plan");
    DocumentChoice onlyPlan(all.size(), false);
    onlyPlan[4] = true;
    const QString path = QDir(world.folder.path()).filePath(QStringLiteral("plan.pdf"));
    const QString error = DocumentPrinter(*world.project).writePdf(path.toStdString(), onlyPlan);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    const int pages = pdftest::pageCount(path);
    ASSERT_GE(pages, 1);
    EXPECT_TRUE(pdftest::pageText(path, 1).contains(QStringLiteral("Раскрой")));
    for (int page = 1; page <= pages; ++page)
        pdftest::renderPage(path, page, 100,
                            screenshotPath(QStringLiteral("print_plan-%1").arg(page)));

    // The minimum kept offcut set to an offcut of the plan, then a tenth of a millimetre above
    // it: "деловой остаток от" includes the minimum itself.
    int32_t offcut = 0;
    for (const ArticleCut& a : DlgPlan::planFor(*world.project).articles)
        for (const PlannedBar& bar : a.plan.bars)
            offcut = std::max(offcut, bar.offcut);
    ASSERT_GT(offcut, 0);
    const QString length = QString::fromStdString(rowformat::wholeOrTenths(offcut));
    for (const auto& [minimum, kept] : {std::pair{offcut, true}, std::pair{offcut + 1, false}}) {
        DlgPlan::workshopSettings().minOffcut = minimum;
        const QString keptPath = QDir(world.folder.path()).filePath(QStringLiteral("kept.pdf"));
        DocumentPrinter(*world.project).writePdf(keptPath.toStdString(), onlyPlan);
        QString text;
        for (int page = 1; page <= pdftest::pageCount(keptPath); ++page)
            text += pdftest::pageText(keptPath, page);
        EXPECT_TRUE(
            text.contains(QStringLiteral("деловой остаток от %1 мм")
                              .arg(QString::fromStdString(rowformat::wholeOrTenths(minimum)))));
        EXPECT_EQ(text.contains(QStringLiteral("остаток %1 мм (сохранить)").arg(length)), kept)
            << minimum;
    }
    DlgPlan::workshopSettings() = PlanSettings();

    // Page by page on any painter: each page's blocks stay inside the page.
    const CuttingPlan plan = DlgPlan::planFor(*world.project);
    const CuttingPlanPainter painter(plan);
    const QRect rect(40, 40, 700, 500);
    const int count = painter.pageCount(rect.size(), 96);
    EXPECT_GE(count, 2); // half a page holds less than the whole plan
    for (int i = 0; i < count; ++i) {
        QImage image(780, 580, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        painter.paint(p, rect, i, 96);
        p.end();
        int outside = 0, inside = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                (rect.contains(x, y) ? inside : outside) +=
                    image.pixel(x, y) != qRgb(255, 255, 255);
        EXPECT_EQ(outside, 0) << "page " << i;
        EXPECT_GT(inside, 0) << "page " << i;
    }
}
