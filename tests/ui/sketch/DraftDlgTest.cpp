#include "ui/SketchFixture.h"
#include "ui/ViewsTestSupport.h"

#include "ui/results/InfoPanelDlg.h"
#include "ui/shared/PictureCache.h"
#include "ui/sketch/DraftDlg.h"
#include "ui/sketch/SketchRenderer.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <cmath>
#include <set>

using namespace viewstest;

namespace {

QPoint centre(const ScreenRect& r) {
    return QPoint(r.left + r.width() / 2, r.top + r.height() / 2);
}

QColor at(const QImage& image, QPoint p) {
    return image.pixelColor(p);
}

bool hasColour(const QImage& image, const QRect& area, const QColor& colour) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) == colour)
                return true;
    return false;
}

class SketchViewTest : public SketchFixture {
protected:
    DoorSet& doors = *project.doors;

    // Draws the sketch as the window system would and returns what is on the screen.
    QImage screen() { return sketch->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    Insert& firstInsert(int door) { return doors.doors[door].inserts.begin()->second; }

    // Gives an insert a material and lets the project recalculate, as the materials panel does.
    void give(Insert& in, const Material* m) {
        in.material = m;
        doors.changed = true;
        project.recalculate(true);
    }
};

TEST_F(SketchViewTest, PictureIsDrawnAgainOnlyWhenSomethingChanged) {
    give(firstInsert(0), world.material(QStringLiteral("m0"), QColor(0, 160, 0), 40));
    screen();
    EXPECT_EQ(sketch->renderCount(), 1);
    EXPECT_FALSE(doors.changed);
    screen();
    EXPECT_EQ(sketch->renderCount(), 1);
    const long long decoded = cache.decodeCalls();
    const long long scaled = cache.scaleCalls();

    // Moving the mouse over an insert only repaints the outline over the copy.
    const QPoint p = centre(firstInsert(1).rect);
    EXPECT_TRUE(sketch->hoverAt(p));
    const QImage shown = screen();
    EXPECT_EQ(sketch->renderCount(), 1);
    EXPECT_EQ(cache.decodeCalls(), decoded);
    EXPECT_EQ(cache.scaleCalls(), scaled);
    // The outline is on the screen but not in the cached picture.
    const ScreenRect& r = firstInsert(1).rect;
    const QPoint onOutline(r.left + r.width() / 2, r.top);
    EXPECT_EQ(at(shown, onOutline), QColor(250, 180, 18));
    EXPECT_NE(at(sketch->picture(), onOutline), QColor(250, 180, 18));

    doors.changed = true;
    screen();
    EXPECT_EQ(sketch->renderCount(), 2);
    sketch->resize(900, 700);
    screen();
    EXPECT_EQ(sketch->renderCount(), 3);
    sketch->invalidate();
    screen();
    EXPECT_EQ(sketch->renderCount(), 4);
    // Drawing again takes the pictures from the caches.
    EXPECT_EQ(cache.decodeCalls(), decoded);
}

TEST_F(SketchViewTest, MouseMoveRepaintsOnlyTheOutlines) {
    sketch->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(sketch.get()));
    sketch->repaint();
    const int renders = sketch->renderCount();
    const int paints = sketch->paintCount();

    const QRect first = toQRect(firstInsert(0).rect);
    ASSERT_TRUE(sketch->hoverAt(first.center()));
    QCoreApplication::sendPostedEvents(sketch.get(), QEvent::UpdateRequest);
    EXPECT_EQ(sketch->paintCount(), paints + 1);
    EXPECT_EQ(sketch->lastPaintedArea(), SketchRenderer::overlayBounds(first));

    const QRect second = toQRect(firstInsert(1).rect);
    ASSERT_TRUE(sketch->hoverAt(second.center()));
    QCoreApplication::sendPostedEvents(sketch.get(), QEvent::UpdateRequest);
    EXPECT_EQ(sketch->lastPaintedArea(),
              SketchRenderer::overlayBounds(first).united(SketchRenderer::overlayBounds(second)));
    EXPECT_EQ(sketch->renderCount(), renders);

    // After a recalculation the next paint draws the whole picture again.
    doors.changed = true;
    sketch->hoverAt(QPoint(1, 1));
    QCoreApplication::sendPostedEvents(sketch.get(), QEvent::UpdateRequest);
    EXPECT_EQ(sketch->renderCount(), renders + 1);
    EXPECT_EQ(sketch->lastPaintedArea(), sketch->rect());

    // Even when the window system asks for a small area only.
    doors.changed = true;
    sketch->repaint(QRect(10, 10, 20, 20));
    EXPECT_EQ(sketch->renderCount(), renders + 2);
    QCoreApplication::sendPostedEvents(); // the queued repaint of the rest
    QCoreApplication::sendPostedEvents(sketch.get(), QEvent::UpdateRequest);
    EXPECT_EQ(sketch->lastPaintedArea(), sketch->rect());
}

TEST_F(SketchViewTest, HoverNotificationOnlyWhenTheElementChanges) {
    screen();
    const QPoint inside = centre(firstInsert(0).rect);
    QMouseEvent move(QEvent::MouseMove, QPointF(inside), QPointF(inside), QPointF(inside),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(sketch.get(), &move);
    EXPECT_EQ(hub.count(Notify::Hover), 1);
    EXPECT_EQ(sketch->hoverRect(), toQRect(firstInsert(0).rect));
    EXPECT_EQ(sketch->hoverDoor(), 0);

    // Another point in the same insert: nothing new.
    EXPECT_FALSE(sketch->hoverAt(inside + QPoint(3, 3)));
    EXPECT_EQ(hub.count(Notify::Hover), 1);

    // Into the margin: the outline goes and the panel is told.
    EXPECT_TRUE(sketch->hoverAt(QPoint(2, 2)));
    EXPECT_TRUE(sketch->hoverRect().isEmpty());
    EXPECT_EQ(sketch->hoverDoor(), -1);
    EXPECT_EQ(doors.hoverKind, 0);
    EXPECT_EQ(hub.count(Notify::Hover), 2);

    // The boundary between doors 1 and 2.
    const ScreenRect& edge = doors.doors[0].edges[EdgeRight].rect;
    ASSERT_GT(edge.width(), 0);
    EXPECT_TRUE(sketch->hoverAt(QPoint(edge.right - 1, edge.top + 100)));
    EXPECT_EQ(doors.hoverKind, 2);

    // While the project is recalculated and not yet drawn, nothing is under the mouse.
    doors.changed = true;
    EXPECT_TRUE(sketch->hoverAt(inside));
    EXPECT_TRUE(sketch->hoverRect().isEmpty());
}

TEST_F(SketchViewTest, InsertsShowPicturesPatternsAndRedForMissingPictures) {
    give(firstInsert(0), world.material(QStringLiteral("green"), QColor(0, 160, 0), 40));
    give(firstInsert(1), world.material(QStringLiteral("lost"), QColor(0, 0, 0), 40, false));
    QImage shown = screen();
    EXPECT_EQ(at(shown, centre(firstInsert(0).rect)), QColor(0, 160, 0));
    EXPECT_EQ(at(shown, centre(firstInsert(1).rect)), QColor(255, 60, 60));

    // An insert without material: the hatch pattern, light grey lines on white.
    const QRect plain = toQRect(firstInsert(2).rect).adjusted(10, 10, -10, -10);
    std::set<QRgb> colours;
    for (int y = plain.top(); y < plain.top() + 16; ++y)
        for (int x = plain.left(); x < plain.left() + 16; ++x)
            colours.insert(shown.pixel(x, y));
    EXPECT_EQ(colours, (std::set<QRgb>{QColor(Qt::white).rgb(), QColor(170, 170, 170).rgb()}));

    // A material the system cannot hold: the red cross-hatch, not the picture.
    firstInsert(0).thicknessMismatch = true;
    sketch->invalidate();
    shown = screen();
    const QRect wrong = toQRect(firstInsert(0).rect).adjusted(10, 10, -10, -10);
    EXPECT_TRUE(hasColour(shown, wrong, QColor(220, 40, 40)));
    EXPECT_FALSE(hasColour(shown, wrong, QColor(0, 160, 0)));
}

TEST_F(SketchViewTest, PictureSpreadAcrossDoorsShowsItsPartInEachInsert) {
    const QColor blue(20, 60, 200);
    const QColor yellow(240, 210, 20);
    const Material* m = world.twoColourMaterial(QStringLiteral("span"), blue, yellow);
    give(firstInsert(0), m);
    give(firstInsert(1), m);
    QImage shown = screen();
    // Each insert shows the whole picture: blue on its left, yellow on its right.
    const ScreenRect& r0 = firstInsert(0).rect;
    const QPoint leftQuarter(r0.left + r0.width() / 4, r0.top + r0.height() / 2);
    const QPoint rightQuarter(r0.left + 3 * r0.width() / 4, r0.top + r0.height() / 2);
    EXPECT_EQ(at(shown, leftQuarter), blue);
    EXPECT_EQ(at(shown, rightQuarter), yellow);

    for (int d = 0; d < 2; ++d) {
        firstInsert(d).spanDoors = true;
        firstInsert(d).spanFirstDoor = 0;
        firstInsert(d).spanLastDoor = 1;
    }
    sketch->invalidate();
    shown = screen();
    // Spread over doors 1 and 2: the first door is blue all over, the second yellow.
    EXPECT_EQ(at(shown, leftQuarter), blue);
    EXPECT_EQ(at(shown, rightQuarter), blue);
    const ScreenRect& r1 = firstInsert(1).rect;
    EXPECT_EQ(at(shown, QPoint(r1.left + r1.width() / 4, r1.top + r1.height() / 2)), yellow);
}

TEST_F(SketchViewTest, GapIsCrossedOutWithItsWidth) {
    screen();
    doors.doorsNominalWidth += 4000; // 400 mm not covered
    doors.changed = true;
    QImage shown = screen();
    const ScreenRect gap = doors.gapRect;
    ASSERT_GT(gap.width(), 40);
    EXPECT_EQ(gap.left, doors.doors[2].rect.right);
    // Both diagonals in the line colour, white elsewhere, and the width written near the bottom.
    const int x = gap.left + gap.width() / 4;
    const int y = gap.top + (gap.height() - 1) * (x - gap.left) / (gap.width() - 1);
    EXPECT_TRUE(hasColour(shown, QRect(x - 1, y - 1, 3, 3), QColor(100, 100, 100)));
    EXPECT_EQ(at(shown, QPoint(gap.left + gap.width() / 2, gap.top + gap.height() / 4 + 3)),
              QColor(Qt::white));
    const QRect label(gap.left + 2, gap.bottom - 30, gap.width() - 4, 24);
    EXPECT_TRUE(hasColour(shown, label, QColor(100, 100, 100)));

    // Zoomed onto door 2: that door alone from the left margin, no gap.
    doors.zoomDoor = 1;
    doors.changed = true;
    shown = screen();
    const ScreenRect& zoomed = doors.doors[1].rect;
    const SketchFrame frame = screenFrame(doors, ScreenRect{0, 0, 1000, 700}, 96);
    EXPECT_EQ(zoomed.left, frame.x0);
    EXPECT_EQ(at(shown, QPoint(zoomed.right + 30, zoomed.top + 30)), QColor(Qt::white));
    EXPECT_FALSE(hasColour(shown, QRect(0, 0, 40, 700), QColor(100, 100, 100)));
}

TEST_F(SketchViewTest, DoorNumbersInCirclesByTrack) {
    const QImage shown = screen();
    for (int d = 0; d < 3; ++d) {
        const Door& door = doors.doors[d];
        const int diameter = door.track == 0 ? 96 * 23 / 72 : 96 * 20 / 72;
        const int bottom = door.rect.top - 96 * 6 / 72;
        const QPoint inside(door.rect.left + door.rect.width() / 2 - diameter / 2 + 4,
                            bottom - diameter / 2);
        const QColor expected = door.track == 0 ? QColor(250, 240, 230) : QColor(230, 240, 250);
        EXPECT_EQ(at(shown, inside), expected) << "door " << d;
        // The number itself is drawn in the text colour inside the circle.
        const QRect circle(door.rect.left + door.rect.width() / 2 - diameter / 2, bottom - diameter,
                           diameter, diameter);
        EXPECT_TRUE(hasColour(shown, circle.adjusted(4, 4, -4, -4), QColor(100, 100, 100)));
    }
    EXPECT_NE(doors.doors[0].track, doors.doors[1].track);
}

TEST_F(SketchViewTest, DimensionLabelsOnScreenButNeverOnPaper) {
    give(firstInsert(0), world.material(QStringLiteral("g"), QColor(0, 160, 0), 40));
    const QImage without = screen();
    project.showDimensions = true;
    sketch->invalidate();
    const QImage with = screen();
    const QRect r = toQRect(firstInsert(0).rect);
    // The thickness in the middle, the width at the bottom, the height at the left edge.
    EXPECT_NE(with.copy(QRect(r.center() - QPoint(20, 8), QSize(40, 16))),
              without.copy(QRect(r.center() - QPoint(20, 8), QSize(40, 16))));
    EXPECT_NE(with.copy(QRect(r.left() + r.width() / 2 - 20, r.bottom() - 16, 40, 16)),
              without.copy(QRect(r.left() + r.width() / 2 - 20, r.bottom() - 16, 40, 16)));
    EXPECT_NE(with.copy(QRect(r.left(), r.center().y() - 20, 16, 40)),
              without.copy(QRect(r.left(), r.center().y() - 20, 16, 40)));

    auto print = [&](bool dimensions) {
        project.showDimensions = dimensions;
        QImage paper(1600, 1200, QImage::Format_RGB32);
        paper.fill(Qt::white);
        QPainter painter(&paper);
        sketch->printRender(painter, QRect(50, 40, 1500, 1100), 192);
        return paper;
    };
    const QImage plainPaper = print(false);
    EXPECT_EQ(print(true), plainPaper);
    EXPECT_TRUE(project.showDimensions); // restored after printing
}

TEST_F(SketchViewTest, PrintRenderDrawsAllDoorsAtTheTopAndMarksTheSetChanged) {
    screen();
    doors.zoomDoor = 2;
    doors.changed = false;
    QImage paper(2400, 3000, QImage::Format_RGB32);
    paper.fill(Qt::white);
    QPainter painter(&paper);
    const QRect rect(100, 500, 2200, 2000);
    const int used = sketch->printRender(painter, rect, 300);
    painter.end();
    EXPECT_TRUE(paper.scaled(800, 1000, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                    .save(screenshotPath(QStringLiteral("sketch_print.png"))));
    EXPECT_EQ(doors.zoomDoor, 2);
    EXPECT_TRUE(doors.changed);
    // Scaled to the width (the doors are wider than high here), placed at the top.
    const double scale = 2200.0 / doors.doorsNominalWidth;
    EXPECT_NEAR(used, doorNumberRoom(300) + static_cast<int>(scale * doors.height), 1);
    EXPECT_LE(used, rect.height());
    // All three doors are on paper: the profile outline at the first and the last door.
    EXPECT_TRUE(
        hasColour(paper, QRect(90, 500 + doorNumberRoom(300), 40, 100), QColor(100, 100, 100)));
    EXPECT_TRUE(
        hasColour(paper, QRect(2270, 500 + doorNumberRoom(300), 40, 100), QColor(100, 100, 100)));
    // Nothing below what it reports as used.
    EXPECT_FALSE(
        hasColour(paper, QRect(0, rect.top() + used + 2, 2400, 200), QColor(100, 100, 100)));
}

TEST(PictureCacheTest, CachesAreEmptiedWhenTheyGrowPastNine) {
    ensureApp();
    QTemporaryDir dir;
    std::vector<std::string> paths;
    for (int i = 0; i < 11; ++i) {
        QImage image(20 + i, 10, QImage::Format_RGB32);
        image.fill(QColor(i * 20, 0, 0));
        const QString path = dir.filePath(QStringLiteral("p%1.png").arg(i));
        ASSERT_TRUE(image.save(path));
        paths.push_back(path.toStdString());
    }
    PictureCache cache;
    for (int i = 0; i < 10; ++i)
        ASSERT_NE(cache.picture(paths[i]), nullptr);
    EXPECT_EQ(cache.decodedCount(), 10);
    EXPECT_EQ(cache.decodeCalls(), 10);
    // Asking again decodes nothing.
    EXPECT_EQ(cache.picture(paths[3])->width(), 23);
    EXPECT_EQ(cache.decodeCalls(), 10);
    // The eleventh empties the cache first.
    ASSERT_NE(cache.picture(paths[10]), nullptr);
    EXPECT_EQ(cache.decodedCount(), 1);
    cache.picture(paths[3]);
    EXPECT_EQ(cache.decodeCalls(), 12);

    const QImage* scaled = cache.scaled(paths[0], 7, 9);
    ASSERT_NE(scaled, nullptr);
    EXPECT_EQ(scaled->size(), QSize(7, 9));
    EXPECT_EQ(cache.scaledCount(), 1);
    EXPECT_EQ(PictureCache::scaledKey(paths[0], 7, 9),
              QString::fromStdString(paths[0]) + QStringLiteral("_7_9"));
    EXPECT_EQ(cache.scaled(paths[0], 0, 9), nullptr);
    EXPECT_EQ(cache.scaled(dir.filePath(QStringLiteral("missing.png")).toStdString(), 5, 5),
              nullptr);
    cache.clear();
    EXPECT_EQ(cache.decodedCount(), 0);
    EXPECT_EQ(cache.scaledCount(), 0);
}

// The sketch tab as the user sees it: the sketch and the information panel under it.
TEST(SketchScreenshot, ThreeDoorsWithSplittersAndMaterials) {
    ProjectWorld world;
    buildThreeDoorProject(world);
    Project& project = *world.project;

    struct Forward : NotifyHub {
        InfoPanelDlg* info = nullptr;
        void notify(Notify n) override {
            if (n == Notify::Hover && info)
                info->receive(n);
        }
    } hub;

    QWidget tab;
    tab.resize(1165 - 280, 700);
    auto* layout = new QVBoxLayout(&tab);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* sketch = new DraftDlg(project, &hub, &tab);
    auto* info = new InfoPanelDlg(project, &tab);
    info->setFixedHeight(60);
    hub.info = info;
    layout->addWidget(sketch, 1);
    layout->addWidget(info);
    tab.show();
    tab.grab();

    // Hover over the middle insert of door 2.
    const Door& door = project.doors->doors[1];
    const Insert* target = nullptr;
    for (const auto& [id, in] : door.inserts)
        if (!target || in.rect.height() > target->rect.height())
            target = &in;
    ASSERT_NE(target, nullptr);
    EXPECT_TRUE(sketch->hoverAt(centre(target->rect)));
    EXPECT_TRUE(info->firstLine().startsWith(QStringLiteral("Материал: Зеркала / ")));
    const QImage shot = tab.grab().toImage();
    EXPECT_TRUE(shot.save(screenshotPath(QStringLiteral("sketch_tab.png"))));

    project.showDimensions = true;
    sketch->invalidate();
    EXPECT_TRUE(tab.grab().toImage().save(screenshotPath(QStringLiteral("sketch_dimensions.png"))));
}

} // namespace
