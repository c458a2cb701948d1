#pragma once

#include "model/SketchLayout.h"

#include <QFont>
#include <QHash>
#include <QImage>
#include <QRect>
#include <QString>

#include <string>

class PictureCache;
class Project;
class QPainter;
struct Insert;

// Draws the door set: doors in the profile colour, inserts with their material pictures (or the
// hatch patterns), frame profiles, splitters, the door numbers and the uncovered gap. The same
// code draws the screen picture and the printed sketch.
class SketchRenderer {
public:
    SketchRenderer(Project& project, PictureCache& cache);

    // Lays the door set out for the client rectangle (with the screen margins) and draws it.
    // dpiY is the device's vertical resolution. Returns the door rectangles used for pictures
    // that span doors.
    DoorRects render(QPainter& painter, const QRect& client, int dpiY);

    // The whole door set (no zoom, no dimension labels) scaled into rect, at its top and centred
    // horizontally. Returns the height used. Leaves the door set marked changed so that the
    // screen picture is laid out and drawn again.
    int printRender(QPainter& painter, const QRect& rect, int dpiY);

    // The overlays painted over a copy of the picture.
    static void paintHover(QPainter& painter, const QRect& rect);
    static void paintMaterialTarget(QPainter& painter, const QRect& rect);
    static void paintDragRect(QPainter& painter, const QRect& rect);
    // The area an overlay of the rectangle touches, for partial repaints.
    static QRect overlayBounds(const QRect& rect);

private:
    void draw(QPainter& painter, const DoorRects& doorRects, int dpiY, bool showDimensions);
    void drawInsert(QPainter& painter, const Insert& insert, const DoorRects& doorRects,
                    bool showDimensions);
    void drawDimensions(QPainter& painter, const Insert& insert, const QRect& r);
    void drawDoorNumber(QPainter& painter, int doorIndex, int shownNumber, int dpiY);
    void drawGap(QPainter& painter);
    // The material picture scaled to size (null when it cannot be had), scaled at most once per
    // drawing.
    QImage scaledPicture(const std::string& path, QSize size);
    // Bold Arial of the given cell height in screen pixels, enlarged on paper.
    QFont labelFont(int cellHeight) const;

    Project& project_;
    PictureCache& cache_;
    double fontScale_ = 1.0;
    QHash<QString, QImage> drawingPictures_;     // the pictures of the drawing in progress
    QHash<QString, QImage> lastDrawingPictures_; // those of the drawing before it
};

QRect toQRect(const ScreenRect& r);
ScreenRect toScreenRect(const QRect& r);
