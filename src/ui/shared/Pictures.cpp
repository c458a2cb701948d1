// The pictures of the interface itself: command and tool pictures, toggles, the cancel sign,
// the missing item and the logo strip.
#include "ui/shared/Pictures.h"

#include "catalog/Article.h"
#include "catalog/DSItem.h"

#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>

#include "ui/shared/PictureCanvas.h"
#include <algorithm>
#include <array>

namespace pictures {

using namespace canvas;

QPixmap cancelPicture(int size) {
    const QString key = QStringLiteral("cancel:%1").arg(size);
    return cachedSquare(key, size, [&](QPainter& p) {
        p.scale(size / 58.0, size / 58.0);
        p.setPen(QPen(QColor(196, 40, 40), 5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(11, 11, 36, 36));
        p.drawLine(QPointF(16.5, 16.5), QPointF(41.5, 41.5));
    });
}

QPixmap missingPicture(int size) {
    const QString key = QStringLiteral("missing:%1").arg(size);
    return cachedSquare(key, size, [&](QPainter& p) {
        p.scale(size / 58.0, size / 58.0);
        p.setPen(QPen(QColor(170, 170, 170), 1.2, Qt::DashLine));
        p.setBrush(QColor(248, 248, 246));
        p.drawRoundedRect(QRectF(6.5, 6.5, 45, 45), 4, 4);
        p.setPen(QPen(QColor(190, 190, 190), 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(21, 21), QPointF(37, 37));
        p.drawLine(QPointF(37, 21), QPointF(21, 37));
    });
}

QPixmap logoPicture(int width, int height) {
    QPixmap pm(std::max(1, width), std::max(1, height));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, height);
    g.setColorAt(0.0, QColor(250, 248, 243));
    g.setColorAt(1.0, QColor(236, 230, 220));
    p.fillRect(pm.rect(), g);
    p.setPen(QColor(219, 206, 198));
    p.drawLine(0, height - 1, width, height - 1);
    if (width < 48)
        return pm;
    // Two overlapping door fronts and, when there is room, the program's name.
    const int doorH = std::min(height - 24, 56);
    const int x = width < 160 ? (width - static_cast<int>(doorH * 0.8)) / 2 : 14;
    const int y = (height - doorH) / 2;
    p.setPen(QPen(QColor(150, 130, 112), 1.5));
    p.setBrush(QColor(214, 228, 238));
    p.drawRect(QRectF(x, y, doorH * 0.45, doorH));
    p.setBrush(QColor(205, 170, 125));
    p.drawRect(QRectF(x + doorH * 0.35, y + 3, doorH * 0.45, doorH - 3));
    QFont f(QStringLiteral("Times New Roman"));
    f.setPixelSize(std::max(12, std::min(28, height / 3)));
    f.setItalic(true);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(150, 60, 50));
    const int textX = x + static_cast<int>(doorH * 0.8) + 10;
    const QString name = QStringLiteral("tavrolab");
    if (textX + QFontMetrics(f).horizontalAdvance(name) + 8 <= width)
        p.drawText(QRect(textX, 0, width - textX, height), Qt::AlignVCenter | Qt::AlignLeft, name);
    return pm;
}

QPixmap checkBoxPicture(bool on, int size) {
    const QString key = QStringLiteral("box:%1:%2").arg(on).arg(size);
    return cachedSquare(key, size, [&](QPainter& p) {
        p.scale(size / 18.0, size / 18.0);
        p.setPen(QPen(QColor(120, 110, 100), 1.2));
        p.setBrush(QColor(255, 255, 255));
        p.drawRoundedRect(QRectF(2.5, 2.5, 13, 13), 2, 2);
        if (on) {
            // A tick: the red cross is the sign of "Очистить".
            p.setPen(QPen(QColor(40, 110, 50), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(Qt::NoBrush);
            p.drawPolyline(QPolygonF({QPointF(5.0, 9.5), QPointF(8.0, 12.5), QPointF(13.5, 5.5)}));
        }
    });
}

QPixmap commandPicture(Command c, int size) {
    const QString key = QStringLiteral("cmd:%1:%2").arg(static_cast<int>(c)).arg(size);
    return cachedSquare(key, size, [&](QPainter& p) {
        p.scale(size / 24.0, size / 24.0);
        const QPen outline(QColor(90, 84, 78), 1.1);
        p.setPen(outline);
        switch (c) {
        case Command::Open: {
            p.setBrush(QColor(236, 200, 110));
            QPainterPath back;
            back.moveTo(2.5, 5.5);
            back.lineTo(9, 5.5);
            back.lineTo(11, 7.5);
            back.lineTo(20.5, 7.5);
            back.lineTo(20.5, 19.5);
            back.lineTo(2.5, 19.5);
            back.closeSubpath();
            p.drawPath(back);
            p.setBrush(QColor(250, 222, 140));
            QPainterPath front;
            front.moveTo(2.5, 19.5);
            front.lineTo(6, 10.5);
            front.lineTo(23, 10.5);
            front.lineTo(20.5, 19.5);
            front.closeSubpath();
            p.drawPath(front);
            break;
        }
        case Command::Save: {
            p.setBrush(QColor(92, 122, 168));
            p.drawRoundedRect(QRectF(3.5, 3.5, 17, 17), 1.5, 1.5);
            p.setBrush(QColor(245, 245, 245));
            p.drawRect(QRectF(7, 3.5, 10, 6));
            p.setBrush(QColor(210, 216, 226));
            p.drawRect(QRectF(6.5, 13, 11, 7.5));
            break;
        }
        case Command::SaveXml: {
            p.setBrush(QColor(250, 250, 250));
            p.drawRect(QRectF(4.5, 2.5, 15, 19));
            p.setPen(QPen(QColor(60, 140, 80), 1));
            for (int i = 0; i < 4; ++i)
                p.drawLine(QPointF(7, 7.5 + i * 3.5), QPointF(17, 7.5 + i * 3.5));
            p.drawLine(QPointF(11, 6), QPointF(11, 18));
            p.setPen(outline);
            p.setBrush(QColor(60, 140, 80));
            p.drawRoundedRect(QRectF(12.5, 13.5, 9, 8), 1.5, 1.5);
            break;
        }
        case Command::Print: {
            p.setBrush(QColor(250, 250, 250));
            p.drawRect(QRectF(7, 2.5, 10, 7));
            p.setBrush(QColor(150, 152, 158));
            p.drawRoundedRect(QRectF(2.5, 8.5, 19, 9), 2, 2);
            p.setBrush(QColor(250, 250, 250));
            p.drawRect(QRectF(6.5, 14.5, 11, 7));
            p.setPen(QPen(QColor(160, 160, 160), 0.8));
            p.drawLine(QPointF(8.5, 17), QPointF(15.5, 17));
            p.drawLine(QPointF(8.5, 19), QPointF(13.5, 19));
            break;
        }
        case Command::NewOrder: {
            p.setBrush(QColor(252, 252, 250));
            QPainterPath sheet;
            sheet.moveTo(5.5, 2.5);
            sheet.lineTo(14.5, 2.5);
            sheet.lineTo(18.5, 6.5);
            sheet.lineTo(18.5, 21.5);
            sheet.lineTo(5.5, 21.5);
            sheet.closeSubpath();
            p.drawPath(sheet);
            p.setPen(QPen(QColor(60, 140, 80), 2.2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(12, 10.5), QPointF(12, 17.5));
            p.drawLine(QPointF(8.5, 14), QPointF(15.5, 14));
            break;
        }
        case Command::Cancel: {
            p.setPen(QPen(QColor(196, 40, 40), 2.4));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QRectF(4, 4, 16, 16));
            p.drawLine(QPointF(6.6, 6.6), QPointF(17.4, 17.4));
            break;
        }
        case Command::PlaceOrder: {
            p.setBrush(QColor(252, 252, 250));
            p.drawRect(QRectF(4.5, 2.5, 15, 19));
            p.setPen(QPen(QColor(173, 41, 41), 2.2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(8, 12.5), QPointF(11, 16));
            p.drawLine(QPointF(11, 16), QPointF(16.5, 8.5));
            break;
        }
        }
    });
}

QPixmap toolPicture(Tool t, int size) {
    const QString key = QStringLiteral("tool:%1:%2").arg(static_cast<int>(t)).arg(size);
    return cachedSquare(key, size, [&](QPainter& p) {
        p.scale(size / 32.0, size / 32.0);
        const QColor ink(70, 64, 58);
        const QColor red(196, 40, 40);
        switch (t) {
        case Tool::Crosshair:
        case Tool::CrosshairOn:
            p.setPen(QPen(ink, 1.6));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QRectF(7, 7, 18, 18));
            p.drawLine(QPointF(16, 2), QPointF(16, 12));
            p.drawLine(QPointF(16, 20), QPointF(16, 30));
            p.drawLine(QPointF(2, 16), QPointF(12, 16));
            p.drawLine(QPointF(20, 16), QPointF(30, 16));
            if (t == Tool::CrosshairOn) {
                p.setPen(Qt::NoPen);
                p.setBrush(red);
                p.drawEllipse(QRectF(12, 12, 8, 8));
            }
            break;
        case Tool::ArrowsVertical:
        case Tool::ArrowsHorizontal: {
            if (t == Tool::ArrowsHorizontal) {
                p.translate(16, 16);
                p.rotate(90);
                p.translate(-16, -16);
            }
            p.setPen(QPen(ink, 2.2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(16, 6), QPointF(16, 26));
            p.setPen(Qt::NoPen);
            p.setBrush(ink);
            p.drawPolygon(QPolygonF({QPointF(16, 1.5), QPointF(10, 9), QPointF(22, 9)}));
            p.drawPolygon(QPolygonF({QPointF(16, 30.5), QPointF(10, 23), QPointF(22, 23)}));
            break;
        }
        case Tool::Clear:
            p.setPen(QPen(red, 4, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(7, 7), QPointF(25, 25));
            p.drawLine(QPointF(25, 7), QPointF(7, 25));
            break;
        }
    });
}

} // namespace pictures
