#pragma once

#include "model/Project.h"
#include "ui/shared/PictureButton.h"
#include "ui/sketch/DraftDlg.h"
#include "ui/sketch/SizeDlg.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>

// Works the sketch with the mouse as a user does: moves, clicks, drags and the context menu, each
// as real events sent to the widget.
namespace sketchtest {

inline QPoint centre(const ScreenRect& r) {
    return QPoint(r.left + r.width() / 2, r.top + r.height() / 2);
}

// The bill as a text: every priced row with its quantity, cost and error, and the total.
inline std::string billText(Project& p) {
    std::string s;
    for (const ArticleRow& r : p.result.articles)
        s += r.code + " " + std::to_string(r.quantity) + " " + std::to_string(r.cost) + " " +
             r.error + "\n";
    for (const FillingRow& r : p.result.fillings)
        s += r.code + " " + std::to_string(r.area) + " " + std::to_string(r.cost) + " " + r.error +
             "\n";
    return s + p.grandTotalText();
}

struct SketchDriver {
    DraftDlg* sketch = nullptr;
    Project* project = nullptr;

    Door& door(int i) { return project->doors->doors[static_cast<std::size_t>(i)]; }
    // The picture is laid out again after every change, as the window system repaints.
    void draw() {
        sketch->repaint();
        QApplication::processEvents();
    }
    void hover(QPoint p) {
        QMouseEvent move(QEvent::MouseMove, p, sketch->mapToGlobal(p), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(sketch, &move);
    }
    void click(QPoint p) {
        hover(p);
        QTest::mouseClick(sketch, Qt::LeftButton, {}, p);
        draw();
    }
    // Presses at from, moves through the points and releases at the last one.
    void drag(QPoint from, std::initializer_list<QPoint> through) {
        hover(from);
        QTest::mousePress(sketch, Qt::LeftButton, {}, from);
        QPoint last = from;
        for (QPoint p : through) {
            QTest::mouseMove(sketch, p);
            last = p;
        }
        QTest::mouseRelease(sketch, Qt::LeftButton, {}, last);
        draw();
    }
    // A click in splitter mode at a fraction of door d; the size popup stays open.
    void splitClick(int d, double fx, double fy, bool vertical) {
        project->splitterMode = true;
        project->splitterVertical = vertical;
        const ScreenRect& r = door(d).rect;
        click(QPoint(r.left + static_cast<int>(fx * r.width()),
                     r.top + static_cast<int>(fy * r.height())));
        project->splitterMode = false;
    }
    // Splits and closes the size popup unchanged; the new splitter or null.
    Splitter* splitAt(int d, double fx, double fy, bool vertical) {
        const std::size_t before = door(d).splitters.size();
        splitClick(d, fx, fy, vertical);
        if (sketch->sizePopup())
            sketch->sizePopup()->cancel();
        draw();
        if (door(d).splitters.size() != before + 1)
            return nullptr;
        return &door(d).splitters.rbegin()->second;
    }
    // Opens the context menu at p and lets `inside` work with the open menu.
    void withMenu(QPoint p, const std::function<void(QMenu*)>& inside) {
        hover(p);
        bool seen = false;
        QTimer::singleShot(0, sketch, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            seen = menu != nullptr;
            if (menu) {
                EXPECT_TRUE(sketch->isMenuOpen());
                inside(menu);
                if (menu->isVisible())
                    menu->close();
            }
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, p, sketch->mapToGlobal(p));
        QApplication::sendEvent(sketch, &event);
        EXPECT_TRUE(seen) << "no menu opened";
        EXPECT_FALSE(sketch->isMenuOpen());
        // A desktop gives the window back its activation when a menu closes; offscreen does not.
        sketch->window()->activateWindow();
        draw();
    }
    static QAction* action(QMenu* menu, const QString& text) {
        for (QAction* a : menu->actions())
            if (a->text() == text)
                return a;
        return nullptr;
    }
    // Chooses an entry the way a user does: highlight it and press Enter.
    static void choose(QMenu* menu, const QString& text) {
        QAction* a = action(menu, text);
        ASSERT_NE(a, nullptr) << text.toStdString();
        ASSERT_TRUE(a->isEnabled()) << text.toStdString();
        menu->setActiveAction(a);
        QTest::keyClick(menu, Qt::Key_Return);
    }
    void menuCommand(QPoint p, const QString& text) {
        withMenu(p, [&](QMenu* menu) { choose(menu, text); });
    }
};

} // namespace sketchtest
