// The sketch as assistive technology reads it: doors, inserts and splitters as accessible
// children with their names, rectangles, focus and selection, following the project's changes.
#include "ui/SketchFixture.h"
#include "ui/ViewsTestSupport.h"

#include "output/SketchElements.h"
#include "ui/shared/PictureCache.h"
#include "ui/sketch/DraftDlg.h"

#include <QAccessible>
#include <QTest>
#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/qpa/qplatformaccessibility.h>
#include <QtGui/qpa/qplatformintegration.h>

#include <gtest/gtest.h>

#include <vector>

using namespace viewstest;

namespace {

QPoint centre(const ScreenRect& r) {
    return QPoint(r.left + r.width() / 2, r.top + r.height() / 2);
}

class SketchAccessibleTest : public SketchFixture {
protected:
    void SetUp() override {
        SketchFixture::SetUp();
        sketch->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(sketch.get()));
        draw();
        // Door 2 gets a vertical and then a horizontal splitter, and a mirror in one insert.
        ASSERT_TRUE(project.addSplitterAtPoint(
            ScreenPoint{centre(door(1).rect).x(), centre(door(1).rect).y()}));
        draw();
        project.splitterVertical = false;
        const ScreenRect left = door(1).inserts.at(1).rect;
        ASSERT_TRUE(project.addSplitterAtPoint(ScreenPoint{centre(left).x(), left.top + 40}));
        door(1).inserts.at(1).material = world.material(QStringLiteral("серебро"), Qt::gray, 40);
        project.recalculate(true);
        sketch->receive(Notify::ProjectChanged);
        draw();
    }

    Door& door(int i) { return project.doors->doors[static_cast<size_t>(i)]; }
    void draw() {
        sketch->repaint();
        QApplication::processEvents();
    }
    QAccessibleInterface* root() { return QAccessible::queryAccessibleInterface(sketch.get()); }
    QRect onScreen(const ScreenRect& r) {
        return {sketch->mapToGlobal(QPoint(r.left, r.top)), QSize(r.width(), r.height())};
    }
    // The accessible child of a door for an insert or splitter rectangle, by position.
    QAccessibleInterface* childAtCentre(const ScreenRect& r) {
        const QPoint p = sketch->mapToGlobal(centre(r));
        QAccessibleInterface* d = root()->childAt(p.x(), p.y());
        return d ? d->childAt(p.x(), p.y()) : nullptr;
    }
};

TEST_F(SketchAccessibleTest, ChildrenAreTheDoorsWithTheirInsertsAndSplitters) {
    QAccessibleInterface* sketchIface = root();
    ASSERT_NE(sketchIface, nullptr);
    EXPECT_EQ(sketchIface->text(QAccessible::Name), QStringLiteral("Эскиз"));
    ASSERT_EQ(sketchIface->childCount(), project.doorCount);
    for (int i = 0; i < project.doorCount; ++i) {
        QAccessibleInterface* d = sketchIface->child(i);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->text(QAccessible::Name), QStringLiteral("Дверь %1").arg(i + 1));
        EXPECT_EQ(d->rect(), onScreen(door(i).rect));
        EXPECT_EQ(d->parent(), sketchIface);
        EXPECT_EQ(sketchIface->indexOfChild(d), i);
        EXPECT_EQ(d->childCount(),
                  static_cast<int>(door(i).inserts.size() + door(i).splitters.size()));
        // The same interface is handed out each time it is asked for.
        EXPECT_EQ(sketchIface->child(i), d);
    }

    // Door 2: three inserts, then two splitters, each named and placed as in the model.
    QAccessibleInterface* d2 = sketchIface->child(1);
    ASSERT_EQ(d2->childCount(), 5);
    int k = 0;
    int ordinal = 0;
    for (const auto& [id, in] : door(1).inserts) {
        QAccessibleInterface* c = d2->child(k++);
        EXPECT_EQ(c->text(QAccessible::Name).toStdString(), insertName(door(1), in, ++ordinal));
        EXPECT_EQ(c->rect(), onScreen(in.rect));
        EXPECT_EQ(c->parent(), d2);
        EXPECT_EQ(childAtCentre(in.rect), c);
    }
    EXPECT_TRUE(d2->child(0)->text(QAccessible::Name).contains(QStringLiteral("Зеркало серебро")));
    EXPECT_TRUE(
        d2->child(0)->text(QAccessible::Name).startsWith(QStringLiteral("Вставка 1 двери 2: ")));
    ordinal = 0;
    for (const auto& [id, s] : door(1).splitters) {
        QAccessibleInterface* c = d2->child(k++);
        EXPECT_EQ(c->text(QAccessible::Name).toStdString(), splitterName(door(1), s, ++ordinal));
        EXPECT_EQ(c->rect(), onScreen(s.rect));
    }
    EXPECT_TRUE(d2->child(3)->text(QAccessible::Name).contains(QStringLiteral("вертикальный")));
    EXPECT_TRUE(d2->child(4)->text(QAccessible::Name).contains(QStringLiteral("горизонтальный")));
}

TEST_F(SketchAccessibleTest, TheHoveredElementIsFocusedAndTheTargetSelected) {
    const Insert& in = door(1).inserts.at(2);
    QAccessibleInterface* target = childAtCentre(in.rect);
    ASSERT_NE(target, nullptr);
    EXPECT_FALSE(target->state().focused);
    ASSERT_TRUE(sketch->hoverAt(centre(in.rect)));
    EXPECT_TRUE(target->state().focused);
    EXPECT_TRUE(target->state().hotTracked);
    EXPECT_EQ(root()->focusChild(), target);
    EXPECT_FALSE(target->state().selected);
    ASSERT_TRUE(project.doors->chooseMaterialTargetAtPoint(
        ScreenPoint{centre(in.rect).x(), centre(in.rect).y()}));
    EXPECT_TRUE(target->state().selectable);
    EXPECT_TRUE(target->state().selected);

    // Over a splitter, the splitter.
    const Splitter& s = door(1).splitters.at(1);
    ASSERT_TRUE(sketch->hoverAt(centre(s.rect)));
    EXPECT_FALSE(target->state().focused);
    ASSERT_NE(root()->focusChild(), nullptr);
    EXPECT_EQ(root()->focusChild()->text(QAccessible::Name).toStdString(),
              splitterName(door(1), s, 1));
}

TEST_F(SketchAccessibleTest, ChildrenFollowTheProjectAndVanishedElementsTurnInvalid) {
    QAccessibleInterface* d2 = root()->child(1);
    ASSERT_EQ(d2->childCount(), 5);
    const QAccessible::Id horizontal = QAccessible::uniqueId(d2->child(4));
    // The insert below the horizontal splitter.
    const QAccessible::Id lower = QAccessible::uniqueId(d2->child(2));
    const QString lowerName = d2->child(2)->text(QAccessible::Name);
    const ScreenRect r = door(1).splitters.at(2).rect;
    ASSERT_TRUE(project.deleteSplitterAtPoint(ScreenPoint{centre(r).x(), centre(r).y()}));
    sketch->receive(Notify::ProjectChanged);
    draw();
    EXPECT_EQ(d2->childCount(), 3);
    // The interfaces of the removed splitter and the merged insert are gone.
    EXPECT_EQ(QAccessible::accessibleInterface(horizontal), nullptr);
    EXPECT_EQ(QAccessible::accessibleInterface(lower), nullptr);
    for (int c = 0; c < d2->childCount(); ++c)
        EXPECT_NE(d2->child(c)->text(QAccessible::Name), lowerName);

    // Fewer doors, fewer children; a replaced door set is read afresh.
    ASSERT_TRUE(project.setDoorCount(2));
    sketch->receive(Notify::ProjectChanged);
    draw();
    EXPECT_EQ(root()->childCount(), 2);
    project.resetDoors();
    sketch->receive(Notify::ProjectChanged);
    draw();
    EXPECT_EQ(root()->child(1)->childCount(), 1);
    EXPECT_EQ(root()->child(1)->child(0)->text(QAccessible::Name).left(18),
              QStringLiteral("Вставка 1 двери 2:"));
}

// What a screen reader hears: the Focus events name the element the keyboard or the mouse is
// on, the last one after Tab brought the focus to the sketch too.
TEST_F(SketchAccessibleTest, FocusEventsFollowTheKeyboardAndTheMouse) {
    static std::vector<QString>* heard = nullptr;
    std::vector<QString> names;
    heard = &names;
    QAccessible::UpdateHandler before =
        QAccessible::installUpdateHandler([](QAccessibleEvent* event) {
            if (event->type() == QAccessible::Focus && heard)
                if (QAccessibleInterface* iface = event->accessibleInterface())
                    heard->push_back(iface->text(QAccessible::Name));
        });
    // As when a screen reader runs: events are sent only then.
    QPlatformAccessibility* platform =
        QGuiApplicationPrivate::platformIntegration()->accessibility();
    ASSERT_NE(platform, nullptr);
    const bool wasActive = platform->isActive();
    platform->setActive(true);
    struct Restore {
        QAccessible::UpdateHandler handler;
        QPlatformAccessibility* platform;
        bool active;
        ~Restore() {
            QAccessible::installUpdateHandler(handler);
            platform->setActive(active);
            heard = nullptr;
        }
    } restore{before, platform, wasActive};
    ASSERT_NE(root(), nullptr);

    QApplication::setActiveWindow(sketch.get());
    sketch->clearFocus();
    names.clear();
    sketch->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    ASSERT_TRUE(sketch->hasFocus());
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(names.back().left(18).toStdString(), "Вставка 1 двери 1:");

    QTest::keyClick(sketch.get(), Qt::Key_Right);
    QApplication::processEvents();
    ASSERT_NE(root()->focusChild(), nullptr);
    EXPECT_EQ(names.back(), root()->focusChild()->text(QAccessible::Name));
    EXPECT_TRUE(names.back().contains(QStringLiteral(" двери 2: "))) << names.back().toStdString();

    // Without the keyboard's focus, the mouse's element.
    sketch->clearFocus();
    const Splitter& s = door(1).splitters.at(1);
    ASSERT_TRUE(sketch->hoverAt(centre(s.rect)));
    EXPECT_EQ(names.back().toStdString(), splitterName(door(1), s, 1));
}

} // namespace
