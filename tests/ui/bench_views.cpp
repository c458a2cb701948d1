// Timings of the views: drawing the sketch, a mouse move over it, dragging on it, laying out a
// long price table.
// Run from a Release build: build-rel/bench/bench_views.

#include "ui/ViewsTestSupport.h"

#include "ui/results/TableRenderer.h"
#include "ui/shared/PictureCache.h"
#include "ui/sketch/DraftDlg.h"
#include "ui/sketch/SizeDlg.h"
#include "ui/sketch/SketchRenderer.h"

#include <QPainter>
#include <QTest>

#include <benchmark/benchmark.h>

#include <iterator>
#include <memory>

using namespace viewstest;

namespace {

// A photograph-like picture: a noisy board texture, saved as JPEG as the data folder holds them.
const Material* photoMaterial(ProjectWorld& world, const QString& key, QColor base) {
    const Material* m = world.material(key, base, 40);
    QImage image(600, 900, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int grain = ((x * 13 + y * 7 + (x * y) % 17) % 31) - 15;
            image.setPixelColor(x, y, base.lighter(100 + grain));
        }
    const QString jpeg = QString::fromStdString(m->imagePath).replace(".png", ".jpg");
    image.save(jpeg, "JPG", 90);
    const_cast<Material*>(m)->imagePath = jpeg.toStdString();
    return m;
}

// Ten doors of 800 mm, each split by nine horizontal splitters into ten inserts, every insert
// with one of four pictures. uneven: every door divided a little differently, so that almost
// every insert has a size of its own on the screen.
struct TenDoors {
    ProjectWorld world;
    Project& project = *world.project;

    explicit TenDoors(bool uneven) {
        project.setOpeningWidth(80000);
        project.setDoorCount(10);
        const QColor colours[] = {QColor(196, 150, 96), QColor(200, 210, 222), QColor(92, 64, 48),
                                  QColor(226, 236, 232)};
        std::vector<const Material*> pictures;
        for (int i = 0; i < 4; ++i)
            pictures.push_back(photoMaterial(world, QStringLiteral("photo%1").arg(i), colours[i]));
        for (int d = 0; d < 10; ++d)
            for (int k = 1; k <= 9; ++k) {
                const double shift = uneven ? (d * 0.0031 + k * 0.0017) : 0.0;
                clickSplit(project, d, 0.5, k / 10.0 + shift, false);
            }
        int n = 0;
        for (int d = 0; d < 10; ++d)
            for (auto& [id, in] : project.doors->doors[d].inserts)
                in.material = pictures[static_cast<std::size_t>(n++ % 4)];
        project.doors->changed = true;
        project.recalculate(true);
    }

    int inserts() const {
        int n = 0;
        for (int d = 0; d < 10; ++d)
            n += static_cast<int>(project.doors->doors[d].inserts.size());
        return n;
    }
};

void renderSketch(benchmark::State& state, bool uneven) {
    TenDoors doors(uneven);
    PictureCache cache;
    SketchRenderer renderer(doors.project, cache);
    QImage picture(1920, 1080, QImage::Format_RGB32);
    {
        QPainter warm(&picture);
        renderer.render(warm, picture.rect(), 96); // decode the four pictures once
    }
    const long long decoded = cache.decodeCalls();
    for (auto _ : state) {
        QPainter painter(&picture);
        renderer.render(painter, picture.rect(), 96);
    }
    state.counters["inserts"] = doors.inserts();
    state.counters["decodes"] = static_cast<double>(cache.decodeCalls() - decoded);
    state.counters["scales/iter"] =
        static_cast<double>(cache.scaleCalls()) / static_cast<double>(state.iterations() + 1);
}

void BM_RenderTenDoorSketch(benchmark::State& state) {
    renderSketch(state, false);
}
BENCHMARK(BM_RenderTenDoorSketch)->Unit(benchmark::kMillisecond);

void BM_RenderTenDoorSketchAllSizesDiffer(benchmark::State& state) {
    renderSketch(state, true);
}
BENCHMARK(BM_RenderTenDoorSketchAllSizesDiffer)->Unit(benchmark::kMillisecond);

// A mouse move from one insert to another: hit-test, then the repaint of the two outlines.
void BM_HoverMove(benchmark::State& state) {
    TenDoors doors(false);
    PictureCache cache;
    RecordingHub hub;
    DraftDlg sketch(doors.project, &hub, nullptr, &cache);
    sketch.resize(1920, 1080);
    sketch.show();
    if (!QTest::qWaitForWindowExposed(&sketch)) {
        state.SkipWithError("the sketch window was never shown");
        return;
    }
    sketch.repaint();
    const DoorSet& set = *doors.project.doors;
    const ScreenRect& a = set.doors[2].inserts.begin()->second.rect;
    const ScreenRect& b = set.doors[7].inserts.rbegin()->second.rect;
    const QPoint pa(a.left + a.width() / 2, a.top + a.height() / 2);
    const QPoint pb(b.left + b.width() / 2, b.top + b.height() / 2);
    const int renders = sketch.renderCount();
    const long long decoded = cache.decodeCalls();
    bool flip = false;
    const int paints = sketch.paintCount();
    for (auto _ : state) {
        sketch.hoverAt(flip ? pa : pb);
        // The window system's repaint of the areas the move marked: the two outlines.
        QCoreApplication::sendPostedEvents(&sketch, QEvent::UpdateRequest);
        flip = !flip;
    }
    state.counters["paints/iter"] =
        static_cast<double>(sketch.paintCount() - paints) / static_cast<double>(state.iterations());
    state.counters["renders"] = sketch.renderCount() - renders;
    state.counters["hovers/iter"] =
        static_cast<double>(hub.count(Notify::Hover)) / static_cast<double>(state.iterations());
    state.counters["decodes"] = static_cast<double>(cache.decodeCalls() - decoded);
}
BENCHMARK(BM_HoverMove)->Unit(benchmark::kMicrosecond);

// A shown 1920 × 1080 sketch of the ten doors, drawn once.
struct ShownSketch {
    TenDoors doors{false};
    PictureCache cache;
    RecordingHub hub;
    DraftDlg sketch{doors.project, &hub, nullptr, &cache};

    bool show() {
        sketch.resize(1920, 1080);
        sketch.show();
        if (!QTest::qWaitForWindowExposed(&sketch))
            return false;
        sketch.repaint();
        return true;
    }
    Door& door(int i) { return doors.project.doors->doors[static_cast<std::size_t>(i)]; }
    static QPoint centre(const ScreenRect& r) {
        return QPoint(r.left + r.width() / 2, r.top + r.height() / 2);
    }
};

// A mouse move while a splitter is dragged: the drag rectangle follows, nothing else is drawn.
void BM_DragMove(benchmark::State& state) {
    ShownSketch shown;
    if (!shown.show()) {
        state.SkipWithError("the sketch window was never shown");
        return;
    }
    const QPoint grip =
        ShownSketch::centre(std::next(shown.door(4).splitters.begin(), 4)->second.rect);
    if (!shown.sketch.startDragAt(grip)) {
        state.SkipWithError("no splitter under the point");
        return;
    }
    shown.sketch.repaint();
    const int renders = shown.sketch.renderCount();
    int step = 0;
    for (auto _ : state) {
        shown.sketch.dragTo(grip + QPoint(0, (step++ % 20) - 10));
        QCoreApplication::sendPostedEvents(&shown.sketch, QEvent::UpdateRequest);
    }
    state.counters["renders"] = shown.sketch.renderCount() - renders;
    state.counters["pictures"] = shown.doors.inserts();
    shown.sketch.finishDragAt(grip);
}
BENCHMARK(BM_DragMove)->Unit(benchmark::kMicrosecond);

// The release of a boundary drag between doors 5 and 6: the two doors take their new widths,
// the project is recalculated and the sketch is drawn again.
void BM_DragReleaseBoundary(benchmark::State& state) {
    ShownSketch shown;
    if (!shown.show()) {
        state.SkipWithError("the sketch window was never shown");
        return;
    }
    const int widthSum = shown.door(4).width + shown.door(5).width;
    const long long scales = shown.cache.scaleCalls();
    bool right = true;
    for (auto _ : state) {
        state.PauseTiming();
        const QPoint grip = ShownSketch::centre(shown.door(4).edges[EdgeRight].rect);
        shown.sketch.startDragAt(grip);
        shown.sketch.repaint();
        const QPoint to = grip + QPoint(right ? 12 : -12, 0);
        shown.sketch.dragTo(to);
        right = !right;
        state.ResumeTiming();
        shown.sketch.finishDragAt(to);
        shown.sketch.repaint();
    }
    if (shown.door(4).width + shown.door(5).width != widthSum)
        state.SkipWithError("the boundary drag changed the sum of the widths");
    // Pictures scaled per release and start of a drag (both draw the picture again).
    state.counters["scales/iter"] = static_cast<double>(shown.cache.scaleCalls() - scales) /
                                    static_cast<double>(state.iterations());
}
BENCHMARK(BM_DragReleaseBoundary)->Unit(benchmark::kMillisecond);

// The release of a splitter drag: the splitter moves, the project is recalculated, the size
// popup opens and the sketch is drawn again.
void BM_DragReleaseSplitter(benchmark::State& state) {
    ShownSketch shown;
    if (!shown.show()) {
        state.SkipWithError("the sketch window was never shown");
        return;
    }
    const int id = std::next(shown.door(4).splitters.begin(), 4)->first;
    bool down = true;
    for (auto _ : state) {
        state.PauseTiming();
        if (shown.sketch.sizePopup())
            shown.sketch.sizePopup()->cancel();
        const QPoint grip = ShownSketch::centre(shown.door(4).splitterById(id)->rect);
        shown.sketch.startDragAt(grip);
        shown.sketch.repaint();
        const QPoint to = grip + QPoint(0, down ? 12 : -12);
        shown.sketch.dragTo(to);
        down = !down;
        state.ResumeTiming();
        shown.sketch.finishDragAt(to);
        shown.sketch.repaint();
    }
}
BENCHMARK(BM_DragReleaseSplitter)->Unit(benchmark::kMillisecond);

// The price page with 300 article rows (some with an error line) and the totals.
void BM_LayoutPriceTable300Rows(benchmark::State& state) {
    GridTable items(5, 301, {0.08, 0.14, 0.48, 0.15, 0.15});
    const char* heading[] = {"№", "Артикул", "Название", "Кол-во", "Цена, руб."};
    for (int c = 0; c < 5; ++c)
        items.setCell(c, 0, QString::fromUtf8(heading[c]), true);
    for (int r = 1; r <= 300; ++r) {
        items.setCell(0, r, QString::number(r));
        items.setCell(1, r, QStringLiteral("KL%1").arg(100 + r));
        QString name = QStringLiteral("Горизонтальный межсекционный профиль %1 5,5 м.").arg(r);
        if (r % 25 == 0)
            name += QStringLiteral(" \nОШИБКА: Длина профиля превышает длину хлыста");
        if (r % 40 == 0)
            name += QStringLiteral(" с очень длинным описанием, которое переносится на вторую "
                                   "строку колонки названия");
        items.setCell(2, r, name);
        items.setCell(3, r, QStringLiteral("%1,%2 м.").arg(r % 9).arg(r % 100, 2, 10, QChar('0')));
        items.setCell(4, r, QStringLiteral("%1,00").arg(r * 137));
    }
    GridTable totals(2, 5, {0.25, 0.15}, 0.6);
    for (int r = 0; r < 5; ++r) {
        totals.setCell(0, r, QStringLiteral("Сумма"), true);
        totals.setCell(1, r, QStringLiteral("123456,78 руб."));
    }
    TablePage page;
    page.setTables({items, totals});
    int width = 1165;
    for (auto _ : state) {
        benchmark::DoNotOptimize(page.layout(width, 96));
        width = width == 1165 ? 1166 : 1165; // a resize: nothing may be reused
    }
}
BENCHMARK(BM_LayoutPriceTable300Rows)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ensureApp();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
