#pragma once

#include "model/SketchLayout.h"
#include "output/SketchElements.h"
#include "ui/Notify.h"

#include <QImage>
#include <QRect>
#include <QWidget>

class PictureCache;
class Project;
class SketchRenderer;

// The sketch of tab 0: the doors drawn to scale into a cached picture, with the element under
// the mouse, the material target and a dragged element painted over a copy of it. The picture is
// drawn again only when there is none, the size changed, it was invalidated or the door set is
// marked changed; moving the mouse repaints just the overlays.
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

    Project& project() const { return project_; }
    // The element the keyboard is on (invalid when the keyboard has not chosen one).
    SketchElementRef keyboardElement() const { return keyboardElement_; }

    QRect hoverRect() const { return hoverRect_; }
    int hoverDoor() const { return hoverDoor_; }
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
    void resizeEvent(QResizeEvent* event) override;

    // Draws the picture when it is missing, stale or the door set changed.
    void ensurePicture();
    bool pictureIsStale() const;

    Project& project_;
    NotifyHub* hub_;
    SketchRenderer* renderer_;
    QImage picture_;
    bool invalid_ = true;
    int renderCount_ = 0;
    int paintCount_ = 0;
    QRect lastPaintedArea_;
    DoorRects doorRects_{};

    SketchElementRef keyboardElement_;

    // Element under the mouse.
    QRect hoverRect_;
    int hoverDoor_ = -1;

    // Drag state: while dragging the hover outline goes into the picture and the drag rectangle
    // follows the mouse along the drag direction.
    bool dragging_ = false;
    QRect dragLine_;
    QPoint pressPoint_;
    QPoint currentPoint_;
    bool dragHorizontal_ = true;
};
