#pragma once

#include "model/SketchLayout.h"
#include "output/SketchElements.h"
#include "ui/shared/Notify.h"
#include "ui/sketch/SizeDlg.h"

#include <QImage>
#include <QPointer>
#include <QRect>
#include <QWidget>

class PictureCache;
class Project;
class QMenu;
class SketchKeyboard;
class SketchRenderer;

// The sketch of tab 0: the doors drawn to scale into a cached picture, with the element under
// the mouse, the material target and a dragged element painted over a copy of it. The picture is
// drawn again only when there is none, the size changed, it was invalidated or the door set is
// marked changed; moving the mouse repaints just the overlays.
//
// Editing: a click splits an insert (splitter mode) or chooses the material target, a press on a
// splitter or on the boundary between two doors drags it, the right button opens the context
// menu. Every command is a method taking a point of the sketch or a door index, so that the mouse
// and the keyboard reach the same code. The drag remembers its element by door index and
// splitter id only: the door set may be replaced between two commands.
class DraftDlg : public QWidget, public NotifyReceiver {
    Q_OBJECT
public:
    DraftDlg(Project& project, NotifyHub* hub, QWidget* parent = nullptr,
             PictureCache* cache = nullptr);
    ~DraftDlg() override;

    void receive(Notify n) override;

    // Marks the picture for drawing again and repaints.
    void invalidate();

    // Draws the whole door set onto a printer page (see SketchRenderer::printRender).
    int printRender(QPainter& painter, const QRect& rect, int dpiY);

    // Hit-test at a client point as a mouse move does: stores the hover outline, repaints the
    // parts of the sketch it touched and sends the hover notification when it changed. Returns
    // whether it changed.
    bool hoverAt(const QPoint& p);

    // ---- Commands (the mouse handlers call these; so may the keyboard) ----

    // Left button down at p: splits in splitter mode, else starts a drag of the splitter or
    // door boundary under p, else chooses (or, clicked again, drops) the material target.
    void pressAt(const QPoint& p);
    // Splitter mode click: splits the insert under p and opens the insert size popup. False when
    // nothing was split.
    bool splitAt(const QPoint& p);
    // Starts dragging the splitter or door boundary under p; false when there is none.
    bool startDragAt(const QPoint& p);
    // Follows the mouse during a drag; a point outside the drag bounds is held inside them.
    void dragTo(const QPoint& p);
    // Ends the drag at p: moves the splitter or boundary, opens the insert size popup after a
    // splitter drag.
    void finishDragAt(const QPoint& p);
    // Chooses the insert under p as the material target; the same insert again drops it.
    void toggleMaterialTargetAt(const QPoint& p);

    // The context menu's commands for door h (0-based) and the menu point.
    void copyDoor(int h);
    bool pasteDoor(int h);
    void alignSplitters(int h, bool vertical);
    // Removes the material of the insert under p, or deletes the splitter under p.
    bool deleteAt(const QPoint& p);
    // The context menu for the element under p, as opened by the right button; null when no
    // door is under p. The caller runs or discards it.
    QMenu* buildContextMenu(const QPoint& p);
    // Opens the context menu at p and runs the chosen command.
    void openContextMenu(const QPoint& p);

    // Opens the insert size popup for splitter splitterId of door `door` at the client point p.
    // extendsLastStep: the size chosen there is undone together with the change just made.
    void openSizePopup(int door, int splitterId, const QPoint& p, bool extendsLastStep = true);

    Project& project() const { return project_; }
    // The element the keyboard is on (invalid when the keyboard has not chosen one).
    SketchElementRef keyboardElement() const;

    QRect hoverRect() const { return hoverRect_; }
    int hoverDoor() const { return hoverDoor_; }
    bool isDragging() const { return dragging_; }
    QRect dragBounds() const { return dragBounds_; }
    // Where the dragged element is now drawn.
    QRect dragRect() const;
    bool isMenuOpen() const { return menuOpen_; }
    SizeDlg* sizePopup() const { return sizeDlg_; }
    bool sizePopupVisible() const;
    // The picture as last drawn, without overlays.
    const QImage& picture() const { return picture_; }
    // How often the picture was drawn (for checks that only the overlays are repainted).
    int renderCount() const { return renderCount_; }
    // How often the window was painted, and the area of the last paint.
    int paintCount() const { return paintCount_; }
    QRect lastPaintedArea() const { return lastPaintedArea_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

    // Draws the picture when it is missing, stale or the door set changed.
    void ensurePicture();
    bool pictureIsStale() const;
    void updateCursor();
    void send(Notify n);
    // Moves the mouse cursor to a client point where the platform allows it.
    void placeCursor(const QPoint& p);
    // Marks the pressed element of the drag again from the stored door index and splitter id.
    bool markDragElement();

    Project& project_;
    NotifyHub* hub_;
    SketchRenderer* renderer_;
    QImage picture_;
    bool invalid_ = true;
    int renderCount_ = 0;
    int paintCount_ = 0;
    QRect lastPaintedArea_;
    DoorRects doorRects_{};

    SketchKeyboard* keyboard_ = nullptr;

    // Element under the mouse.
    QRect hoverRect_;
    int hoverDoor_ = -1;
    QPoint mousePoint_;

    // Drag state: while dragging the hover outline goes into the picture and the drag rectangle
    // follows the mouse along the drag direction.
    bool dragging_ = false;
    QRect dragLine_;
    QRect dragBounds_;
    QPoint pressPoint_;
    QPoint currentPoint_;
    bool dragHorizontal_ = true;
    int dragDoor_ = -1;
    int dragSplitterId_ = 0; // 0: the boundary at the door's right edge
    // After a drag or a deletion the next paint hit-tests again at this point.
    bool rehitPending_ = false;
    QPoint rehitPoint_;

    bool menuOpen_ = false;
    QPoint menuPoint_;

    QPointer<SizeDlg> sizeDlg_;
};
