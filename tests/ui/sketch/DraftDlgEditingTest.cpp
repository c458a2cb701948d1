// Editing on the sketch with the mouse: splitting in splitter mode, dragging splitters and door
// boundaries, the context menu and the insert size popup. Real mouse events on the real widget.
#include "ui/SketchDriver.h"
#include "ui/SketchFixture.h"
#include "ui/ViewsTestSupport.h"

#include "model/SketchFile.h"
#include "ui/shared/PictureCache.h"
#include "ui/sketch/DraftDlg.h"
#include "ui/sketch/SizeDlg.h"
#include "ui/sketch/SketchRenderer.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace sketchtest;
using namespace viewstest;

namespace {

class SketchEditing : public SketchFixture {
protected:
    SketchDriver mouse;

    void SetUp() override {
        SketchFixture::SetUp();
        sketch->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(sketch.get()));
        mouse = SketchDriver{sketch.get(), &project};
        draw();
    }
    void draw() { mouse.draw(); }
    void hover(QPoint p) { mouse.hover(p); }
    void click(QPoint p) { mouse.click(p); }
    void drag(QPoint from, std::initializer_list<QPoint> through) { mouse.drag(from, through); }
    Splitter* splitAt(int d, double fx, double fy, bool vertical) {
        return mouse.splitAt(d, fx, fy, vertical);
    }
    void withMenu(QPoint p, const std::function<void(QMenu*)>& inside) {
        mouse.withMenu(p, inside);
    }
    static QAction* action(QMenu* menu, const QString& text) {
        return SketchDriver::action(menu, text);
    }
    static void choose(QMenu* menu, const QString& text) { SketchDriver::choose(menu, text); }
    void TearDown() override {
        QTest::mouseRelease(sketch.get(), Qt::LeftButton); // no button stays held between tests
    }

    DoorSet& doors() { return *project.doors; }
    Door& door(int i) { return doors().doors[static_cast<std::size_t>(i)]; }
    std::string file() const { return SketchFile::toBytes(project).value_or(""); }
    static QStringList texts(QMenu* menu) {
        QStringList list;
        for (QAction* a : menu->actions())
            if (!a->isSeparator())
                list << a->text();
        return list;
    }
    // The filling size of the insert on one side of a splitter.
    int32_t fillOf(int d, int splitterId, InsertSide side) {
        Splitter* s = door(d).splitterById(splitterId);
        auto [before, after] = door(d).findNeighbours(*s);
        const Insert* in = side == InsertSide::Before ? before : after;
        return s->vertical ? in->fillWidth : in->fillHeight;
    }
};

TEST_F(SketchEditing, SplitterModeClickSplitsAndOpensTheSizePopup) {
    project.splitterMode = true;
    project.splitterVertical = true;
    const ScreenRect r = door(0).rect;
    const QPoint p(r.left + r.width() / 3, r.top + r.height() / 2);
    hover(p);
    EXPECT_EQ(sketch->cursor().shape(), Qt::CrossCursor);
    click(p);

    ASSERT_EQ(door(0).splitters.size(), 1u);
    const Splitter& s = door(0).splitters.begin()->second;
    EXPECT_TRUE(s.vertical);
    EXPECT_EQ(s.position % 100, 0) << "split at whole centimetres";
    EXPECT_EQ(hub.count(Notify::SketchPress), 1);
    EXPECT_EQ(hub.count(Notify::TotalsChanged), 1);
    EXPECT_EQ(hub.count(Notify::PopupOpened), 1);
    SizeDlg* popup = sketch->sizePopup();
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(popup->isVisible());
    EXPECT_NE(popup->parentWidget(), sketch.get());
    EXPECT_EQ(popup->pos(), sketch->mapToGlobal(p));
    EXPECT_TRUE(popup->vertical());
    EXPECT_EQ(popup->sideList()->itemText(0), QStringLiteral("левой"));
    EXPECT_EQ(popup->sideList()->itemText(1), QStringLiteral("правой"));
    const int32_t left = s.position;
    const int32_t right = door(0).width - s.position;
    EXPECT_EQ(popup->upperLimit(), left + right - 200);
    EXPECT_EQ(popup->rangeLabel()->text(),
              QStringLiteral("20 - %1 мм").arg((left + right - 200) / 10));
    EXPECT_EQ(popup->sizeField()->text(), QString::number(left / 10));
    // The other side shows its own size.
    popup->sideList()->setCurrentIndex(1);
    emit popup->sideList()->activated(1);
    EXPECT_EQ(popup->sizeField()->text(), QString::number(right / 10));
    // What the user sees: the split door with the popup beside the click.
    QImage shot = sketch->grab().toImage();
    QPainter painter(&shot);
    painter.drawPixmap(sketch->mapFromGlobal(popup->pos()), popup->grab());
    painter.end();
    shot.save(screenshotPath(QStringLiteral("sketch_split_size_popup.png")));
    // While the popup is open the sketch ignores the mouse.
    click(QPoint(r.left + 2 * r.width() / 3, r.top + r.height() / 2));
    EXPECT_EQ(door(0).splitters.size(), 1u);
    QTest::mouseClick(popup->cancelButton(), Qt::LeftButton);
    EXPECT_FALSE(popup->isVisible());
    EXPECT_EQ(hub.count(Notify::PopupClosed), 1);
    draw();
    sketch->grab().save(screenshotPath(QStringLiteral("sketch_split_door.png")));

    // An insert of 30 mm cannot be split anywhere: the click falls back to choosing the target.
    const int32_t at = s.position;
    doors().zoomDoor = 0;
    doors().changed = true;
    sketch->resize(1000, 1400);
    draw();
    const ScreenRect& afterFirst = door(0).inserts.rbegin()->second.rect;
    project.splitterMode = true;
    click(QPoint(door(0).rect.left + static_cast<int>((at + 320) * doors().scale),
                 centre(afterFirst).y()));
    if (sketch->sizePopup()->isVisible())
        sketch->sizePopup()->cancel();
    ASSERT_EQ(door(0).splitters.size(), 2u);
    draw();
    const std::string before = file();
    const int totals = hub.count(Notify::TotalsChanged);
    const Insert* narrow = nullptr;
    for (const auto& [id, in] : door(0).inserts)
        if (in.right - in.left == 300)
            narrow = &in;
    ASSERT_NE(narrow, nullptr);
    click(centre(narrow->rect));
    EXPECT_EQ(file(), before);
    EXPECT_EQ(door(0).splitters.size(), 2u);
    EXPECT_EQ(hub.count(Notify::TotalsChanged), totals);
    EXPECT_FALSE(sketch->sizePopup()->isVisible());
    EXPECT_EQ(doors().materialTargetRect(), narrow->rect);
}

TEST_F(SketchEditing, DragsStayInsideTheirBoundsAndKeepDoorWidthSums) {
    Splitter* first = splitAt(0, 0.3, 0.5, true);
    Splitter* second = splitAt(0, 0.6, 0.5, true);
    ASSERT_TRUE(first && second);
    const int secondId = door(0).splitters.rbegin()->first;
    const int32_t firstPosition = first->position;

    // The second splitter dragged far to the left never passes the first one.
    const QPoint grip = centre(second->rect);
    hover(grip);
    EXPECT_EQ(sketch->cursor().shape(), Qt::SizeHorCursor);
    QTest::mousePress(sketch.get(), Qt::LeftButton, {}, grip);
    ASSERT_TRUE(sketch->isDragging());
    const QRect bounds = sketch->dragBounds();
    auto [before, after] = door(0).findNeighbours(*second);
    EXPECT_EQ(bounds.left(), before->rect.left);
    EXPECT_EQ(bounds.right() + 1, after->rect.right);
    for (int x : {grip.x() - 40, grip.x() - 400, 2}) {
        QTest::mouseMove(sketch.get(), QPoint(x, grip.y()));
        EXPECT_TRUE(bounds.contains(sketch->dragRect().center().x(), grip.y()));
    }
    // Held at the bound, the outline's edge touches the neighbour's; it does not cover it.
    EXPECT_EQ(sketch->dragRect().left(), bounds.left());
    EXPECT_EQ(sketch->dragRect().width(), second->rect.width());
    sketch->grab().save(screenshotPath(QStringLiteral("sketch_drag_in_progress.png")));
    QTest::mouseRelease(sketch.get(), Qt::LeftButton, {}, QPoint(2, grip.y()));
    ASSERT_TRUE(sketch->sizePopup() && sketch->sizePopup()->isVisible());
    sketch->sizePopup()->cancel();
    draw();
    second = door(0).splitterById(secondId);
    EXPECT_GE(second->position - door(0).splitters.begin()->second.position, 200);
    EXPECT_EQ(door(0).splitters.begin()->second.position, firstPosition);
    EXPECT_EQ(door(0).layoutFault(), "");

    // A drag within the bounds lands where the release point says, in whole centimetres.
    const QPoint from = centre(door(0).splitterById(secondId)->rect);
    const QPoint to = from + QPoint(25, 0);
    drag(from, {from + QPoint(10, 0), to});
    sketch->sizePopup()->cancel();
    const int32_t units = static_cast<int32_t>((to.x() - door(0).rect.left) / doors().scale);
    EXPECT_EQ(door(0).splitterById(secondId)->position, (units + 50) / 100 * 100);

    // The boundary between doors 2 and 3 moves; their widths keep their sum.
    draw();
    const int32_t w1 = door(1).width;
    const int32_t w2 = door(2).width;
    const QPoint boundary = centre(door(1).edges[EdgeRight].rect);
    hover(boundary);
    EXPECT_EQ(sketch->cursor().shape(), Qt::SizeHorCursor);
    const int totals = hub.count(Notify::TotalsChanged);
    QTest::mousePress(sketch.get(), Qt::LeftButton, {}, boundary);
    ASSERT_TRUE(sketch->isDragging());
    EXPECT_EQ(sketch->dragBounds().left(), door(1).edges[EdgeLeft].rect.right);
    EXPECT_EQ(sketch->dragBounds().right() + 1, door(2).edges[EdgeRight].rect.left);
    QTest::mouseMove(sketch.get(), boundary + QPoint(500, 0));
    EXPECT_LT(sketch->dragRect().center().x(), door(2).edges[EdgeRight].rect.left);
    EXPECT_EQ(sketch->dragRect().right(), sketch->dragBounds().right());
    QTest::mouseMove(sketch.get(), boundary + QPoint(30, 0));
    QTest::mouseRelease(sketch.get(), Qt::LeftButton, {}, boundary + QPoint(30, 0));
    EXPECT_FALSE(sketch->sizePopup()->isVisible()) << "no size popup after a boundary drag";
    EXPECT_EQ(hub.count(Notify::TotalsChanged), totals + 1);
    EXPECT_GT(door(1).width, w1);
    EXPECT_EQ(door(1).width + door(2).width, w1 + w2);
    EXPECT_EQ((door(1).width - w1) % 10, 0) << "whole millimetres";
    draw();
    EXPECT_FALSE(doors().changed);
}

TEST_F(SketchEditing, ContextMenuCopiesPastesAlignsAndDeletes) {
    // Door 3: a vertical splitter with a horizontal one leaning on it in its right part.
    Splitter* vertical = splitAt(2, 0.5, 0.5, true);
    ASSERT_NE(vertical, nullptr);
    Splitter* horizontal = splitAt(2, 0.75, 0.3, false);
    ASSERT_NE(horizontal, nullptr);
    const int verticalId = door(2).splitters.begin()->first;

    withMenu(centre(door(2).inserts.begin()->second.rect), [&](QMenu* menu) {
        EXPECT_EQ(texts(menu), QStringList({QStringLiteral("Копировать дверь 3"),
                                            QStringLiteral("Выравнить горизонтальные разделители"),
                                            QStringLiteral("Выравнить вертикальные разделители"),
                                            QStringLiteral("Удалить")}));
        choose(menu, QStringLiteral("Копировать дверь 3"));
    });
    EXPECT_EQ(doors().copySourceDoor, 2);
    sketch->grab().save(screenshotPath(QStringLiteral("sketch_menu_base.png")));

    // Over the copied door the paste entry is there but disabled.
    withMenu(centre(door(2).inserts.begin()->second.rect), [&](QMenu* menu) {
        QAction* paste = action(menu, QStringLiteral("Вставить дверь 3"));
        ASSERT_NE(paste, nullptr);
        EXPECT_FALSE(paste->isEnabled());
        // What the user sees: the sketch with the menu open over it.
        QImage shot = sketch->grab().toImage();
        QPainter painter(&shot);
        painter.drawPixmap(sketch->mapFromGlobal(menu->pos()), menu->grab());
        painter.end();
        shot.save(screenshotPath(QStringLiteral("sketch_context_menu.png")));
    });

    // Over door 1 it pastes the layout of door 3.
    const int changed = hub.count(Notify::ProjectChanged);
    withMenu(centre(door(0).inserts.begin()->second.rect),
             [&](QMenu* menu) { choose(menu, QStringLiteral("Вставить дверь 3")); });
    EXPECT_EQ(hub.count(Notify::ProjectChanged), changed + 1);
    ASSERT_EQ(door(0).splitters.size(), 2u);
    EXPECT_EQ(door(0).splitters.begin()->second.position,
              door(2).splitterById(verticalId)->position);
    EXPECT_EQ(doors().copySourceDoor, 2);

    // The vertical splitter carries the horizontal one: "Удалить" leaves it in place.
    vertical = door(2).splitterById(verticalId);
    const std::string before = file();
    withMenu(centre(vertical->rect), [&](QMenu* menu) { choose(menu, QStringLiteral("Удалить")); });
    EXPECT_EQ(file(), before);
    ASSERT_NE(door(2).splitterById(verticalId), nullptr);
    // Once the horizontal one is gone, it can go too.
    horizontal = &door(2).splitters.rbegin()->second;
    withMenu(centre(horizontal->rect),
             [&](QMenu* menu) { choose(menu, QStringLiteral("Удалить")); });
    EXPECT_EQ(door(2).splitters.size(), 1u);
    withMenu(centre(door(2).splitterById(verticalId)->rect),
             [&](QMenu* menu) { choose(menu, QStringLiteral("Удалить")); });
    EXPECT_TRUE(door(2).splitters.empty());
    EXPECT_EQ(door(2).inserts.size(), 1u);

    // Over an insert "Удалить" removes its material and keeps the insert.
    const Material* glass = world.material(QStringLiteral("glass"), QColor(200, 220, 230), 40);
    door(1).inserts.begin()->second.material = glass;
    doors().changed = true;
    project.recalculate(true);
    draw();
    withMenu(centre(door(1).inserts.begin()->second.rect),
             [&](QMenu* menu) { choose(menu, QStringLiteral("Удалить")); });
    EXPECT_EQ(door(1).inserts.size(), 1u);
    EXPECT_EQ(door(1).inserts.begin()->second.material, nullptr);

    // Both align commands spread the splitters of door 1 evenly, in their order.
    ASSERT_TRUE(splitAt(1, 0.2, 0.5, false) && splitAt(1, 0.5, 0.3, false));
    ASSERT_TRUE(splitAt(1, 0.2, 0.8, true) && splitAt(1, 0.3, 0.8, true));
    withMenu(centre(door(1).inserts.begin()->second.rect), [&](QMenu* menu) {
        choose(menu, QStringLiteral("Выравнить горизонтальные разделители"));
    });
    withMenu(centre(door(1).inserts.begin()->second.rect), [&](QMenu* menu) {
        choose(menu, QStringLiteral("Выравнить вертикальные разделители"));
    });
    std::vector<int32_t> across, down;
    for (const auto& [id, s] : door(1).splitters)
        (s.vertical ? across : down).push_back(s.position);
    std::sort(across.begin(), across.end());
    std::sort(down.begin(), down.end());
    EXPECT_EQ(down, (std::vector<int32_t>{door(1).height / 3, 2 * (door(1).height / 3)}));
    EXPECT_EQ(across.size(), 2u);
    EXPECT_EQ(door(1).layoutFault(), "");
}

TEST_F(SketchEditing, SizePopupLimitsAndTheSecondCorrection) {
    project.splitterMode = true;
    project.splitterVertical = true;
    const ScreenRect r = door(0).rect;
    click(QPoint(r.left + r.width() / 2, r.top + r.height() / 2));
    SizeDlg* popup = sketch->sizePopup();
    ASSERT_TRUE(popup && popup->isVisible());
    const int id = door(0).splitters.begin()->first;
    const std::string split = file();

    // 19 mm is below the limit: nothing changes, the popup closes.
    popup->sizeField()->setText(QStringLiteral("19"));
    QTest::mouseClick(popup->okButton(), Qt::LeftButton);
    EXPECT_FALSE(popup->isVisible());
    EXPECT_EQ(file(), split);
    EXPECT_EQ(hub.count(Notify::ProjectChanged), 0);

    // Above the upper limit nothing changes either.
    project.splitterMode = false;
    draw();
    const QPoint grip = centre(door(0).splitterById(id)->rect);
    drag(grip, {grip + QPoint(10, 0), grip + QPoint(20, 0)});
    ASSERT_TRUE(popup->isVisible());
    const std::string dragged = file();
    popup->sizeField()->setText(QString::number(popup->upperLimit() / 10 + 1));
    QTest::keyClick(popup->sizeField(), Qt::Key_Return);
    EXPECT_FALSE(popup->isVisible());
    EXPECT_EQ(file(), dragged);

    // 20 mm is taken; the filling comes out at the typed size after the second pass.
    for (int mm : {20, 400}) {
        draw();
        const QPoint g = centre(door(0).splitterById(id)->rect);
        drag(g, {g + QPoint(5, 0), g + QPoint(12, 0)});
        ASSERT_TRUE(popup->isVisible());
        popup->sideList()->setCurrentIndex(1);
        const int changed = hub.count(Notify::ProjectChanged);
        popup->sizeField()->setText(QString::number(mm));
        QTest::mouseClick(popup->okButton(), Qt::LeftButton);
        EXPECT_FALSE(popup->isVisible());
        EXPECT_EQ(hub.count(Notify::ProjectChanged), changed + 2)
            << "the profile allowances make the first pass miss, so it is asked twice";
        EXPECT_EQ(fillOf(0, id, InsertSide::After), mm * 10);
    }
    EXPECT_EQ(hub.count(Notify::PopupOpened), hub.count(Notify::PopupClosed));
}

// Rules of the mouse on the sketch that a slip could lose without a sound.
TEST_F(SketchEditing, SecondClickDeselectsDeleteNotifiesCursorsAndNoMenuOutsideTheDoors) {
    // A second click on the chosen insert lets it go.
    const QPoint inside = centre(door(1).inserts.begin()->second.rect);
    click(inside);
    EXPECT_EQ(door(1).materialTarget, &door(1).inserts.begin()->second);
    click(inside);
    EXPECT_EQ(door(1).materialTarget, nullptr);

    // "Удалить" on a splitter updates the totals and the strip under the sketch.
    Splitter* horizontal = splitAt(0, 0.5, 0.4, false);
    ASSERT_NE(horizontal, nullptr);
    hover(centre(horizontal->rect));
    EXPECT_EQ(sketch->cursor().shape(), Qt::SizeVerCursor);
    const int totals = hub.count(Notify::TotalsChanged);
    const int hovers = hub.count(Notify::Hover);
    withMenu(centre(horizontal->rect),
             [&](QMenu* menu) { choose(menu, QStringLiteral("Удалить")); });
    EXPECT_TRUE(door(0).splitters.empty());
    EXPECT_EQ(hub.count(Notify::TotalsChanged), totals + 1);
    EXPECT_GT(hub.count(Notify::Hover), hovers);

    // The margin outside the doors: the plain arrow and no menu.
    const QPoint margin(2, 2);
    ASSERT_FALSE(door(0).rect.contains(ScreenPoint{2, 2}));
    hover(margin);
    EXPECT_EQ(sketch->cursor().shape(), Qt::ArrowCursor);
    bool menuSeen = false;
    QTimer::singleShot(0, sketch.get(), [&] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            menuSeen = true;
            popup->close();
        }
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, margin, sketch->mapToGlobal(margin));
    QApplication::sendEvent(sketch.get(), &event);
    QApplication::processEvents();
    EXPECT_FALSE(menuSeen);
}

} // namespace
