#include "ui/ViewsTestSupport.h"

#include "catalog/Article.h"
#include "catalog/SplitterProfile.h"
#include "model/SketchLayout.h"
#include "text/Format.h"
#include "ui/results/InfoPanelDlg.h"
#include "ui/shared/PictureCache.h"
#include "ui/sketch/DraftDlg.h"

#include <QMouseEvent>

#include <gtest/gtest.h>

using namespace viewstest;

namespace {

class InfoPanelTest : public ::testing::Test {
protected:
    ProjectWorld world;
    Project& project = *world.project;
    DoorSet& doors = *project.doors;
    InfoPanelDlg panel{project};

    void SetUp() override {
        layoutSketch(doors, screenFrame(doors, ScreenRect{0, 0, 1000, 700}, 96));
        doors.changed = false;
    }

    // Hit-tests at p as the sketch does on a mouse move, then tells the panel.
    void hoverAt(ScreenPoint p) {
        hitTestSketch(doors, p);
        panel.receive(Notify::Hover);
    }

    Insert& onlyInsert(int door) { return doors.doors[door].inserts.begin()->second; }

    static ScreenPoint centre(const ScreenRect& r) {
        return {r.left + r.width() / 2, r.top + r.height() / 2};
    }

    std::string first() const { return panel.firstLine().toStdString(); }
    std::string second() const { return panel.secondLine().toStdString(); }
};

TEST_F(InfoPanelTest, FillingPanelOf600By1200Millimetres) {
    const Material* mirror =
        world.material(QStringLiteral("mirror_silver"), QColor(200, 210, 220), 40);
    Insert& in = onlyInsert(0);
    in.material = mirror;
    in.fillWidth = 6000;
    in.fillHeight = 12000;
    in.thicknessMismatch = false;
    hoverAt(centre(in.rect));
    EXPECT_EQ(first(), "Материал: Зеркала / mirror_silver.png   ");
    EXPECT_EQ(second(), "Ширина:   600 мм;  Высота:  1200 мм; Площадь: 720000 мм2 (0,720 м2); "
                        "Толщина: 4,0 мм");

    // A material the system cannot hold carries the error after three spaces.
    in.thicknessMismatch = true;
    panel.receive(Notify::Hover);
    EXPECT_EQ(first(), "Материал: Зеркала / mirror_silver.png   ОШИБКА: Неподходящая толщина!");

    // Without material; sizes round to whole millimetres.
    in.material = nullptr;
    in.thicknessMismatch = false;
    in.fillWidth = 5996;
    in.fillHeight = 3004;
    panel.receive(Notify::Hover);
    EXPECT_EQ(first(), "Материал не назначен   ");
    EXPECT_EQ(second(), "Ширина:   600 мм;  Высота:   300 мм; Площадь: 180120 мм2 (0,180 м2); "
                        "Толщина: 0,0 мм");
}

TEST_F(InfoPanelTest, EdgesNameTheirDoors) {
    const Door& d1 = doors.doors[1];
    const Edge& right = d1.edges[EdgeRight];
    ASSERT_NE(right.profile, nullptr);
    hoverAt(ScreenPoint{right.rect.right - 1, right.rect.top + 50});
    EXPECT_EQ(first(), "Код: " + right.profile->code);
    EXPECT_EQ(second(), text::format("Длина: %5.1f мм;  Ширина: %5.1f мм;  Левая дверь: %5.1f "
                                     "мм;  Правая дверь: %5.1f мм",
                                     right.cutLength / 10.0, right.profile->dimA / 10.0,
                                     d1.width / 10.0, doors.doors[2].width / 10.0));

    // The last door's right profile has a door on its left only.
    const Door& d2 = doors.doors[2];
    const Edge& last = d2.edges[EdgeRight];
    hoverAt(ScreenPoint{last.rect.right - 1, last.rect.top + 50});
    EXPECT_EQ(second(),
              text::format("Длина: %5.1f мм;  Ширина: %5.1f мм;  Левая дверь: %5.1f мм",
                           last.cutLength / 10.0, last.profile->dimA / 10.0, d2.width / 10.0));

    // Top profile: the door's own width.
    const Edge& top = d1.edges[EdgeTop];
    ASSERT_GT(top.rect.height(), 0);
    hoverAt(ScreenPoint{top.rect.left + top.rect.width() / 2, top.rect.top});
    EXPECT_EQ(second(),
              text::format("Длина: %5.1f мм;  Ширина: %5.1f мм;  Ширина двери: %5.1f мм",
                           top.cutLength / 10.0, top.profile ? top.profile->dimA / 10.0 : 0.0,
                           d1.width / 10.0));
}

TEST_F(InfoPanelTest, SplittersWithTypeAndOffset) {
    ASSERT_NE(project.splitterProfile, nullptr);
    ASSERT_TRUE(clickSplit(project, 0, 0.5, 0.5, true));
    ASSERT_TRUE(clickSplit(project, 0, 0.25, 0.3, false));
    layoutSketch(doors, screenFrame(doors, ScreenRect{0, 0, 1000, 700}, 96));
    doors.changed = false;
    const Splitter* v = nullptr;
    const Splitter* h = nullptr;
    for (const auto& [id, s] : doors.doors[0].splitters)
        (s.vertical ? v : h) = &s;
    ASSERT_TRUE(v && h);
    const SplitterProfile* p = project.splitterProfile;
    const std::string code = p->code + " (" + splitterTypeWord(p->splitterType) + ")";

    hoverAt(centre(v->rect));
    EXPECT_EQ(first(), "Код: " + code);
    EXPECT_EQ(second(), text::format("Длина: %5.1f мм;  Ширина: %5.1f мм;  Смещение от левого "
                                     "края двери: %5.1f мм",
                                     v->cutLength / 10.0, p->dimA / 10.0, v->position / 10.0));
    hoverAt(centre(h->rect));
    EXPECT_EQ(second(), text::format("Длина: %5.1f мм;  Ширина: %5.1f мм;  Смещение от верхнего "
                                     "края двери: %5.1f мм",
                                     h->cutLength / 10.0, p->dimA / 10.0, h->position / 10.0));

    // Nothing under the mouse: both lines empty.
    hoverAt(ScreenPoint{1, 1});
    EXPECT_TRUE(panel.firstLine().isEmpty());
    EXPECT_TRUE(panel.secondLine().isEmpty());
}

TEST_F(InfoPanelTest, PaintsTwoLinesOnItsGreyStrip) {
    panel.resize(800, 60);
    QImage empty = panel.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(empty.pixelColor(5, 5), QColor(245, 245, 245));
    for (int y = 0; y < 60; y += 3)
        for (int x = 0; x < 800; x += 3)
            ASSERT_EQ(empty.pixelColor(x, y), QColor(245, 245, 245));

    hoverAt(centre(onlyInsert(0).rect));
    const QImage shown = panel.grab().toImage().convertToFormat(QImage::Format_RGB32);
    auto inked = [&](int top, int bottom) {
        for (int y = top; y < bottom; ++y)
            for (int x = 20; x < 400; ++x)
                if (shown.pixelColor(x, y) == QColor(100, 100, 100))
                    return true;
        return false;
    };
    EXPECT_TRUE(inked(10, 30));
    EXPECT_TRUE(inked(30, 50));
    EXPECT_FALSE(inked(0, 9));
}

TEST_F(InfoPanelTest, FollowsTheMouseOnTheSketch) {
    struct Forward : NotifyHub {
        InfoPanelDlg* panel = nullptr;
        int hovers = 0;
        void notify(Notify n) override {
            if (n == Notify::Hover) {
                ++hovers;
                panel->receive(n);
            }
        }
    } hub;
    hub.panel = &panel;
    PictureCache cache;
    DraftDlg sketch(project, &hub, nullptr, &cache);
    sketch.resize(1000, 700);
    sketch.grab();
    const ScreenRect& r = onlyInsert(2).rect;
    const QPointF p(r.left + 10, r.top + 10);
    QMouseEvent move(QEvent::MouseMove, p, p, p, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&sketch, &move);
    EXPECT_EQ(hub.hovers, 1);
    EXPECT_EQ(first(), "Материал не назначен   ");
    EXPECT_EQ(panel.hover().kind, HoverKind::Filling);
}

} // namespace
