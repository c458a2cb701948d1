// The pictures of catalog items: system fronts, profile sections and colour swatches.
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

namespace {

// --- system fronts ---------------------------------------------------------------------------

enum class Fill { Mirror, Wood, Glass, Lacquer, White, Bronze };

struct SystemLook {
    int doors;
    QColor frame;
    int frameWidth; // in 1/58 of the picture
    std::array<Fill, 3> fills;
    std::array<int, 3> splitters; // horizontal splitters per door
    bool cabinet;                 // drawn standing on a plinth
    bool verticalSplit;           // the middle door split vertically
};

const SystemLook& lookOf(int systemIndex) {
    static const std::array<SystemLook, 9> looks = {{
        {2,
         QColor(196, 199, 204),
         3,
         {Fill::Mirror, Fill::Wood, Fill::Wood},
         {0, 1, 0},
         false,
         false},
        {3,
         QColor(205, 207, 210),
         2,
         {Fill::Wood, Fill::Mirror, Fill::Wood},
         {0, 0, 0},
         false,
         false},
        {2,
         QColor(189, 187, 128),
         2,
         {Fill::Glass, Fill::Glass, Fill::Glass},
         {2, 2, 0},
         false,
         false},
        {2,
         QColor(120, 100, 72),
         3,
         {Fill::Wood, Fill::Mirror, Fill::Wood},
         {1, 0, 0},
         false,
         false},
        {3,
         QColor(236, 236, 232),
         1,
         {Fill::White, Fill::Wood, Fill::White},
         {0, 0, 0},
         true,
         false},
        {2,
         QColor(40, 40, 42),
         2,
         {Fill::Lacquer, Fill::Mirror, Fill::Lacquer},
         {0, 0, 0},
         false,
         false},
        {2,
         QColor(95, 97, 100),
         2,
         {Fill::Bronze, Fill::Bronze, Fill::Bronze},
         {1, 1, 0},
         false,
         false},
        {3, QColor(176, 160, 140), 1, {Fill::Wood, Fill::Wood, Fill::Wood}, {0, 1, 0}, true, true},
        {3,
         QColor(216, 198, 130),
         2,
         {Fill::Mirror, Fill::White, Fill::Mirror},
         {0, 2, 0},
         true,
         false},
    }};
    return looks[static_cast<size_t>(std::clamp(systemIndex, 0, 8))];
}

void paintFill(QPainter& p, const QRectF& r, Fill fill) {
    switch (fill) {
    case Fill::Mirror: {
        QLinearGradient g(r.topLeft(), r.bottomRight());
        g.setColorAt(0.0, QColor(214, 230, 240));
        g.setColorAt(0.55, QColor(170, 196, 214));
        g.setColorAt(1.0, QColor(200, 218, 230));
        p.fillRect(r, g);
        p.save();
        p.setClipRect(r);
        p.setPen(QPen(QColor(255, 255, 255, 190), r.width() * 0.12));
        p.drawLine(QPointF(r.left() + r.width() * 0.15, r.bottom()),
                   QPointF(r.right(), r.top() + r.height() * 0.35));
        p.setPen(QPen(QColor(255, 255, 255, 120), r.width() * 0.05));
        p.drawLine(QPointF(r.left(), r.bottom() - r.height() * 0.2),
                   QPointF(r.right(), r.top() + r.height() * 0.15));
        p.restore();
        break;
    }
    case Fill::Wood: {
        p.fillRect(r, QColor(205, 170, 125));
        p.save();
        p.setClipRect(r);
        p.setPen(QPen(QColor(170, 130, 88, 150), 0.8));
        for (double x = r.left() + 2; x < r.right(); x += 3.2)
            p.drawLine(QPointF(x, r.top()), QPointF(x + 1.2, r.bottom()));
        p.restore();
        break;
    }
    case Fill::Glass: {
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0.0, QColor(232, 240, 238));
        g.setColorAt(1.0, QColor(200, 218, 214));
        p.fillRect(r, g);
        break;
    }
    case Fill::Lacquer: {
        QLinearGradient g(r.topLeft(), r.bottomRight());
        g.setColorAt(0.0, QColor(150, 40, 48));
        g.setColorAt(1.0, QColor(98, 22, 30));
        p.fillRect(r, g);
        break;
    }
    case Fill::White:
        p.fillRect(r, QColor(246, 244, 238));
        break;
    case Fill::Bronze: {
        QLinearGradient g(r.topLeft(), r.bottomRight());
        g.setColorAt(0.0, QColor(150, 126, 96));
        g.setColorAt(1.0, QColor(104, 84, 62));
        p.fillRect(r, g);
        break;
    }
    }
}

QPixmap paintSystem(int systemIndex, int size) {
    const SystemLook& look = lookOf(systemIndex);
    QPixmap pm = blank(size, size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 58.0, size / 58.0);

    // Cabinet body: a chipboard box with a plinth for the systems that work from the cabinet.
    const QRectF body(4, 3, 50, look.cabinet ? 48 : 52);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(124, 96, 70));
    p.drawRoundedRect(body, 1.5, 1.5);
    if (look.cabinet) {
        p.setBrush(QColor(84, 64, 48));
        p.drawRect(QRectF(6, 51, 46, 4));
    }
    // Guide rail along the top.
    p.setBrush(QColor(160, 162, 166));
    p.drawRect(QRectF(6, 5, 46, 2));

    const double inner = 46.0;
    const double left = 6.0;
    const double top = 7.0;
    const double height = body.bottom() - 2 - top;
    const double overlap = 2.0;
    const double doorWidth = (inner + overlap * (look.doors - 1)) / look.doors;
    const double fw = look.frameWidth * 0.9;
    // Doors on the rear track (odd doors) first, so that the front ones overlap them.
    std::array<int, 3> order{};
    int n = 0;
    for (int i = 1; i < look.doors; i += 2)
        order[static_cast<size_t>(n++)] = i;
    for (int i = 0; i < look.doors; i += 2)
        order[static_cast<size_t>(n++)] = i;
    for (int k = 0; k < look.doors; ++k) {
        const int d = order[static_cast<size_t>(k)];
        const QRectF door(left + d * (doorWidth - overlap), top, doorWidth, height);
        const QRectF fill = door.adjusted(fw, fw * 0.8, -fw, -fw * 0.8);
        const bool split = look.verticalSplit && d == 1;
        const int hs = look.splitters[static_cast<size_t>(std::min(d, 2))];
        const Fill f = look.fills[static_cast<size_t>(std::min(d, 2))];
        if (split) {
            QRectF a = fill;
            a.setRight(fill.center().x() - 0.5);
            QRectF b = fill;
            b.setLeft(fill.center().x() + 0.5);
            paintFill(p, a, f);
            paintFill(p, b, Fill::Mirror);
        } else {
            paintFill(p, fill, f);
        }
        // Frame profiles in the system's colour, with a highlight line on the handle side.
        QPainterPath frame;
        frame.addRect(door);
        frame.addRect(fill);
        frame.setFillRule(Qt::OddEvenFill);
        p.setPen(Qt::NoPen);
        p.setBrush(look.frame);
        p.drawPath(frame);
        p.setPen(QPen(look.frame.lighter(130), 0.6));
        p.drawLine(QPointF(door.left() + 0.4, door.top()),
                   QPointF(door.left() + 0.4, door.bottom()));
        p.setPen(QPen(look.frame.darker(160), 0.6));
        p.setBrush(Qt::NoBrush);
        p.drawRect(door);
        if (split)
            p.drawLine(QPointF(fill.center().x(), fill.top()),
                       QPointF(fill.center().x(), fill.bottom()));
        for (int s = 1; s <= hs; ++s) {
            const double y = fill.top() + fill.height() * s / (hs + 1);
            p.setPen(Qt::NoPen);
            p.setBrush(look.frame);
            p.drawRect(QRectF(fill.left(), y - 0.8, fill.width(), 1.6));
        }
    }
    return pm;
}

// --- profile sections --------------------------------------------------------------------------

QLinearGradient metal(const QRectF& r) {
    QLinearGradient g(r.topLeft(), r.topRight());
    g.setColorAt(0.0, QColor(150, 154, 160));
    g.setColorAt(0.35, QColor(236, 238, 241));
    g.setColorAt(0.7, QColor(184, 188, 194));
    g.setColorAt(1.0, QColor(132, 136, 142));
    return g;
}

void drawSection(QPainter& p, const QPainterPath& path) {
    p.setBrush(metal(path.boundingRect()));
    p.setPen(QPen(QColor(70, 74, 80), 1.0));
    p.drawPath(path);
}

QPixmap paintHandle(const Article& a, int size) {
    QPixmap pm = blank(size, size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 58.0, size / 58.0);

    // Width of the profile face from dimA (up to 50 mm over 40 pixels), the panel slot from dimC.
    const double w = std::clamp(a.dimA * 40.0 / 500.0, 7.0, 40.0);
    const double slot = std::clamp(a.dimC * 40.0 / 500.0, 1.6, w - 4.0);
    const bool thin = a.dimC <= 30; // a handle strip rather than a frame profile
    const bool symmetric = a.name.find("симетричн") != std::string::npos &&
                           a.name.find("ассиметричн") == std::string::npos;
    const double x0 = 29 - w / 2;
    const double top = 6;
    const double bottom = 52;

    QPainterPath outer;
    if (thin) {
        // A flat strip with a grip lip folded back at the top.
        outer.moveTo(x0, top + 6);
        outer.quadTo(x0, top, x0 + 6, top);
        outer.lineTo(x0 + w, top);
        outer.lineTo(x0 + w, top + 3);
        outer.lineTo(x0 + 6, top + 3);
        outer.quadTo(x0 + 3, top + 3, x0 + 3, top + 6);
        outer.lineTo(x0 + 3, bottom);
        outer.lineTo(x0, bottom);
        outer.closeSubpath();
        drawSection(p, outer);
        // The panel edge held by the strip.
        p.fillRect(QRectF(x0 + 3.5, top + 10, w - 3.5, 4), QColor(205, 170, 125));
        return pm;
    }
    if (symmetric) {
        outer.addRoundedRect(QRectF(x0, top, w, bottom - top), 3, 3);
    } else {
        // Asymmetric: the grip bulges out on the left side.
        outer.moveTo(x0 + w, top);
        outer.lineTo(x0 + 5, top);
        outer.cubicTo(x0 - 5, top + 12, x0 - 5, bottom - 12, x0 + 5, bottom);
        outer.lineTo(x0 + w, bottom);
        outer.closeSubpath();
    }
    QPainterPath channel;
    const double sx = symmetric ? 29 - slot / 2 : x0 + w - slot - 2;
    channel.addRect(QRectF(sx, bottom - 16, slot, 16.5));
    drawSection(p, outer.subtracted(channel));
    // The door panel sitting in the channel.
    p.fillRect(QRectF(sx + 0.6, bottom - 14, slot - 1.2, 8), QColor(205, 170, 125));
    return pm;
}

QPixmap paintSplitter(const Article& a, int size) {
    QPixmap pm = blank(size, size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 58.0, size / 58.0);
    // H section: two flanges of dimA, a web, and the two panels held in its grooves.
    const double h = std::clamp(a.dimA * 40.0 / 300.0, 8.0, 40.0);
    const double t = std::clamp(a.dimC * 8.0 / 100.0, 1.5, 6.0);
    const double y0 = 29 - h / 2;
    p.fillRect(QRectF(4, y0 + t + 1, 20, h - 2 * t - 2), QColor(205, 170, 125));
    p.fillRect(QRectF(34, y0 + t + 1, 20, h - 2 * t - 2), QColor(196, 216, 228));
    QPainterPath hp;
    hp.addRect(QRectF(18, y0, 22, t));
    hp.addRect(QRectF(18, y0 + h - t, 22, t));
    hp.addRect(QRectF(27, y0, 4, h));
    drawSection(p, hp.simplified());
    return pm;
}

QPixmap paintBar(int size) {
    QPixmap pm = blank(size, size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 58.0, size / 58.0);
    QPainterPath bar;
    bar.addRoundedRect(QRectF(10, 20, 38, 18), 3, 3);
    drawSection(p, bar);
    return pm;
}

} // namespace

QColor colorFromRgb(uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xff), static_cast<int>((bgr >> 8) & 0xff),
                  static_cast<int>((bgr >> 16) & 0xff));
}

QPixmap systemPicture(int systemIndex, int size) {
    const QString key = QStringLiteral("sys:%1:%2").arg(systemIndex).arg(size);
    return cached(key, [&] { return paintSystem(systemIndex, size); });
}

QPixmap profilePicture(const Article& article, int size) {
    const QString key = QStringLiteral("art:%1:%2:%3:%4:%5")
                            .arg(article.kind)
                            .arg(QString::fromStdString(article.code))
                            .arg(article.dimA)
                            .arg(article.dimC)
                            .arg(size);
    return cached(key, [&] {
        return article.kind == KindHandle     ? paintHandle(article, size)
               : article.kind == KindSplitter ? paintSplitter(article, size)
                                              : paintBar(size);
    });
}

QPixmap colorSwatch(uint32_t bgr, int size) {
    const QString key = QStringLiteral("rgb:%1:%2").arg(bgr).arg(size);
    return cachedSquare(key, size, [&](QPainter& p) {
        const QColor c = colorFromRgb(bgr);
        const QRectF r(2.5, 2.5, size - 5, size - 5);
        QLinearGradient g(r.topLeft(), r.bottomRight());
        g.setColorAt(0.0, c.lighter(122));
        g.setColorAt(0.5, c);
        g.setColorAt(1.0, c.darker(118));
        p.setPen(QPen(c.lightness() > 200 ? QColor(170, 170, 170) : c.darker(160), 1.0));
        p.setBrush(g);
        p.drawRoundedRect(r, 4, 4);
        // A soft diagonal sheen, as on an anodised or foiled surface.
        QPainterPath sheen;
        sheen.moveTo(r.left() + r.width() * 0.55, r.top());
        sheen.lineTo(r.left() + r.width() * 0.8, r.top());
        sheen.lineTo(r.left() + r.width() * 0.25, r.bottom());
        sheen.lineTo(r.left(), r.bottom());
        sheen.lineTo(r.left(), r.bottom() - r.height() * 0.2);
        sheen.closeSubpath();
        p.setClipRect(r.adjusted(1, 1, -1, -1));
        p.fillPath(sheen, QColor(255, 255, 255, 46));
    });
}

} // namespace pictures
