#include "ui/sketch/SketchRenderer.h"

#include "catalog/Material.h"
#include "catalog/ProfileColor.h"
#include "model/Project.h"
#include "text/Format.h"
#include "ui/shared/CellFont.h"
#include "ui/shared/PictureCache.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPen>

#include <cmath>
#include <cstdint>

namespace {

const QColor kLineColor(100, 100, 100);
const QColor kTextColor(100, 100, 100);
const QColor kMissingPicture(255, 60, 60);
const QColor kTrack0Circle(250, 240, 230);
const QColor kTrack1Circle(230, 240, 250);
const QColor kHoverColor(250, 180, 18);
const QColor kTargetColor(222, 70, 95);
const QColor kDragColor(255, 100, 100);

constexpr int kNumberGapPoints = 6;
constexpr int kTrack0DiameterPoints = 23;
constexpr int kTrack1DiameterPoints = 20;
constexpr int kLabelFontHeight = 14;
constexpr int kRotatedFontHeight = 13;
constexpr int kGapTextLift = 5;

// The pattern for an insert that has no material yet: thin grey diagonals on white.
const QBrush& noMaterialBrush() {
    static const QBrush brush = [] {
        QImage tile(8, 8, QImage::Format_RGB32);
        tile.fill(Qt::white);
        for (int i = 0; i < 8; ++i)
            tile.setPixelColor(i, 7 - i, QColor(170, 170, 170));
        return QBrush(tile);
    }();
    return brush;
}

// The pattern for a material whose thickness the system cannot hold: red cross-hatch.
const QBrush& wrongThicknessBrush() {
    static const QBrush brush = [] {
        QImage tile(8, 8, QImage::Format_RGB32);
        tile.fill(QColor(255, 235, 235));
        for (int i = 0; i < 8; ++i) {
            tile.setPixelColor(i, i, QColor(220, 40, 40));
            tile.setPixelColor(i, 7 - i, QColor(220, 40, 40));
        }
        return QBrush(tile);
    }();
    return brush;
}

QColor profileColor(const Project& project) {
    if (!project.color)
        return Qt::white;
    const uint32_t bgr = project.color->rgb;
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

// A filled rectangle with an outline of the current pen, covering exactly the screen rectangle
// (right and bottom excluded), as the model's rectangles are meant.
void outlinedRect(QPainter& painter, const ScreenRect& r) {
    if (r.width() <= 0 || r.height() <= 0)
        return;
    painter.drawRect(QRect(r.left, r.top, r.width() - 1, r.height() - 1));
}

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

int64_t sumOfDoorWidths(const DoorSet& doors) {
    int64_t sum = 0;
    for (int i = 0; i < doors.doorsInUse(); ++i)
        sum += doors.doors[i].width;
    return sum;
}

} // namespace

QRect toQRect(const ScreenRect& r) {
    return QRect(r.left, r.top, r.width(), r.height());
}

ScreenRect toScreenRect(const QRect& r) {
    return ScreenRect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

SketchRenderer::SketchRenderer(Project& project, PictureCache& cache)
    : project_(project), cache_(cache) {}

DoorRects SketchRenderer::render(QPainter& painter, const QRect& client, int dpiY) {
    painter.fillRect(client, Qt::white);
    DoorSet& doors = *project_.doors;
    const SketchFrame frame = screenFrame(doors, toScreenRect(client), dpiY);
    if (!frame.valid)
        return {};
    const DoorRects rects = layoutSketch(doors, frame);
    fontScale_ = 1.0;
    draw(painter, rects, dpiY, project_.showDimensions);
    return rects;
}

int SketchRenderer::printRender(QPainter& painter, const QRect& rect, int dpiY) {
    DoorSet& doors = *project_.doors;
    const int32_t zoom = doors.zoomDoor;
    const bool dimensions = project_.showDimensions;
    doors.zoomDoor = -1;
    project_.showDimensions = false;

    int used = 0;
    const SketchFrame frame = printFrame(doors, toScreenRect(rect), dpiY);
    if (frame.valid) {
        const DoorRects rects = layoutSketch(doors, frame);
        // Texts keep their screen size relative to the page.
        fontScale_ = dpiY / 96.0;
        draw(painter, rects, dpiY, false);
        fontScale_ = 1.0;
        used = frame.y0 + frame.height - rect.top();
    }

    doors.zoomDoor = zoom;
    project_.showDimensions = dimensions;
    doors.changed = true;
    return used;
}

QFont SketchRenderer::labelFont(int cellHeight) const {
    return fontForCellHeight(QString::fromLatin1(kSansFace),
                             static_cast<int>(std::lround(cellHeight * fontScale_)), true);
}

void SketchRenderer::draw(QPainter& painter, const DoorRects& doorRects, int dpiY,
                          bool showDimensions) {
    DoorSet& doors = *project_.doors;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QBrush profileBrush(profileColor(project_));
    const QPen linePen(kLineColor, 1, Qt::SolidLine);

    for (int i : doors.doorsInView()) {
        const Door& door = doors.doors[i];
        painter.setPen(linePen);
        painter.setBrush(profileBrush);
        outlinedRect(painter, door.rect);
        for (const auto& [id, insert] : door.inserts) {
            if (insert.rect.width() > 0 && insert.rect.height() > 0)
                drawInsert(painter, insert, doorRects, showDimensions);
        }
        painter.setPen(linePen);
        painter.setBrush(profileBrush);
        for (int side : {EdgeLeft, EdgeRight, EdgeTop, EdgeBottom}) {
            if (door.edges[side].rect.width() > 0)
                outlinedRect(painter, door.edges[side].rect);
        }
        for (const auto& [id, splitter] : door.splitters) {
            if (splitter.rect.width() > 0)
                outlinedRect(painter, splitter.rect);
        }
        drawDoorNumber(painter, i, doors.zoomDoor >= 0 ? doors.zoomDoor + 1 : i + 1, dpiY);
    }
    if (doors.zoomDoor < 0)
        drawGap(painter);
    painter.restore();
    // The next drawing after a drag or a recalculation mostly shows the same sizes again.
    lastDrawingPictures_ = std::move(drawingPictures_);
    drawingPictures_.clear();
}

QImage SketchRenderer::scaledPicture(const std::string& path, QSize size) {
    // The shared cache keeps only ten pictures; a sketch with more picture sizes than that would
    // empty it again and again within one drawing, so each size is scaled once per drawing.
    const QString key = PictureCache::scaledKey(path, size.width(), size.height());
    const auto it = drawingPictures_.constFind(key);
    if (it != drawingPictures_.constEnd())
        return *it;
    const auto last = lastDrawingPictures_.constFind(key);
    if (last != lastDrawingPictures_.constEnd()) {
        drawingPictures_.insert(key, *last);
        return *last;
    }
    const QImage* picture = cache_.scaled(path, size.width(), size.height());
    const QImage result = picture ? *picture : QImage();
    drawingPictures_.insert(key, result);
    return result;
}

void SketchRenderer::drawInsert(QPainter& painter, const Insert& insert, const DoorRects& doorRects,
                                bool showDimensions) {
    const QRect r = toQRect(insert.rect);
    if (!insert.material) {
        painter.fillRect(r, noMaterialBrush());
    } else if (insert.thicknessMismatch) {
        painter.fillRect(r, wrongThicknessBrush());
    } else {
        const std::string& path = insert.material->imagePath;
        bool drawn = false;
        if (insert.spanDoors && insert.spanFirstDoor >= 0 && insert.spanLastDoor < kMaxDoors &&
            insert.spanFirstDoor <= insert.spanLastDoor) {
            // One picture stretched over the doors of the span; this insert shows its part.
            const ScreenRect& first = doorRects[insert.spanFirstDoor];
            const ScreenRect& last = doorRects[insert.spanLastDoor];
            const QRect span(first.left, last.top, last.right - first.left, last.height());
            const QImage picture = scaledPicture(path, span.size());
            if (!picture.isNull()) {
                painter.drawImage(r, picture, r.translated(-span.topLeft()));
                drawn = true;
            }
        } else {
            const QImage picture = scaledPicture(path, r.size());
            if (!picture.isNull()) {
                painter.drawImage(r.topLeft(), picture);
                drawn = true;
            }
        }
        if (!drawn)
            painter.fillRect(r, kMissingPicture);
    }
    if (showDimensions)
        drawDimensions(painter, insert, r);
}

void SketchRenderer::drawDimensions(QPainter& painter, const Insert& insert, const QRect& r) {
    painter.save();
    painter.setPen(kTextColor);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(Qt::white);

    const QFont font = labelFont(kLabelFontHeight);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const QString thickness = insert.material
                                  ? qs(text::format("%d мм", insert.material->thickness / 10))
                                  : QStringLiteral("0 мм");
    const QSize thicknessSize(metrics.horizontalAdvance(thickness), metrics.height());
    if (thicknessSize.width() <= r.width() && thicknessSize.height() <= r.height())
        painter.drawText(r, Qt::AlignCenter, thickness);

    const QString width = qs(text::format("%0.0f", insert.fillWidth / 10.0));
    const QSize widthSize(metrics.horizontalAdvance(width), metrics.height());
    if (widthSize.width() <= r.width() && widthSize.height() <= r.height())
        painter.drawText(r, Qt::AlignHCenter | Qt::AlignBottom, width);

    const QFont rotated = labelFont(kRotatedFontHeight);
    const QFontMetrics rotatedMetrics(rotated);
    const QString height = qs(text::format("%0.0f", insert.fillHeight / 10.0));
    const int along = rotatedMetrics.horizontalAdvance(height);
    const int across = rotatedMetrics.height();
    if (along <= r.height() && across <= r.width()) {
        painter.setFont(rotated);
        painter.translate(r.left(), r.top() + (r.height() + along) / 2);
        painter.rotate(-90);
        painter.drawText(QRect(0, 0, along, across), Qt::AlignLeft | Qt::AlignTop, height);
    }
    painter.restore();
}

void SketchRenderer::drawDoorNumber(QPainter& painter, int doorIndex, int shownNumber, int dpiY) {
    const Door& door = project_.doors->doors[doorIndex];
    const int diameter =
        sketchPixels(dpiY, door.track == 0 ? kTrack0DiameterPoints : kTrack1DiameterPoints);
    const int bottom = door.rect.top - sketchPixels(dpiY, kNumberGapPoints);
    const int centreX = door.rect.left + door.rect.width() / 2;
    const QRect circle(centreX - diameter / 2, bottom - diameter, diameter, diameter);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(kLineColor, 1));
    painter.setBrush(door.track == 0 ? kTrack0Circle : kTrack1Circle);
    painter.drawEllipse(circle);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setPen(kTextColor);
    painter.setFont(labelFont(kLabelFontHeight));
    painter.drawText(circle, Qt::AlignCenter, QString::number(shownNumber));
    painter.restore();
}

void SketchRenderer::drawGap(QPainter& painter) {
    const DoorSet& doors = *project_.doors;
    const ScreenRect& gap = doors.gapRect;
    if (gap.width() <= 0 || gap.height() <= 0)
        return;
    painter.save();
    painter.setPen(QPen(kLineColor, 1));
    painter.setBrush(Qt::white);
    outlinedRect(painter, gap);
    painter.drawLine(gap.left, gap.top, gap.right - 1, gap.bottom - 1);
    painter.drawLine(gap.left, gap.bottom - 1, gap.right - 1, gap.top);

    const double uncovered = (doors.doorsNominalWidth - sumOfDoorWidths(doors)) / 10.0;
    const QString label = qs(text::format("%0.0f", uncovered));
    const QFont font = labelFont(kLabelFontHeight);
    const QFontMetrics metrics(font);
    const int w = metrics.horizontalAdvance(label);
    const int h = metrics.height();
    const int lift = static_cast<int>(std::lround(kGapTextLift * fontScale_));
    const QRect box(gap.left + (gap.width() - w) / 2, gap.bottom - lift - h, w, h);
    if (box.left() >= gap.left && box.right() < gap.right && box.top() >= gap.top) {
        painter.setBackgroundMode(Qt::TransparentMode);
        painter.setPen(kTextColor);
        painter.setFont(font);
        painter.drawText(box, Qt::AlignCenter, label);
    }
    painter.restore();
}

void SketchRenderer::paintHover(QPainter& painter, const QRect& rect) {
    if (rect.isEmpty())
        return;
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kHoverColor, 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.restore();
}

void SketchRenderer::paintMaterialTarget(QPainter& painter, const QRect& rect) {
    if (rect.isEmpty())
        return;
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kTargetColor, 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    const QRect r = rect.adjusted(0, 0, -1, -1);
    painter.drawRect(r);
    painter.setPen(QPen(kTargetColor, 2));
    painter.drawLine(r.topLeft(), r.bottomRight());
    painter.drawLine(r.bottomLeft(), r.topRight());
    painter.restore();
}

void SketchRenderer::paintDragRect(QPainter& painter, const QRect& rect) {
    if (rect.isEmpty())
        return;
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kDragColor, 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.restore();
}

QRect SketchRenderer::overlayBounds(const QRect& rect) {
    return rect.isEmpty() ? QRect() : rect.adjusted(-3, -3, 3, 3);
}
