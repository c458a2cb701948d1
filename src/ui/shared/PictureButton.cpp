#include "ui/shared/PictureButton.h"

#include "ui/shared/Style.h"

#include <QEnterEvent>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>

PictureButton::PictureButton(QWidget* parent) : QAbstractButton(parent) {
    setFont(style::captionFont());
    setCursor(Qt::PointingHandCursor);
    // Reached with Tab and pressed with Space; a click does not take the focus from a field.
    setFocusPolicy(Qt::TabFocus);
}

PictureButton::PictureButton(const QPixmap& picture, const QString& caption, QWidget* parent)
    : PictureButton(parent) {
    picture_ = picture;
    setText(caption);
}

void PictureButton::setPicture(const QPixmap& picture) {
    picture_ = picture;
    update();
}

void PictureButton::setLayout(Layout layout) {
    layout_ = layout;
    update();
}

void PictureButton::setToggle(bool toggle) {
    toggle_ = toggle;
    setCheckable(toggle);
    update();
}

void PictureButton::setFramed(bool framed) {
    framed_ = framed;
    update();
}

void PictureButton::setCaptionLines(int lines) {
    captionLines_ = std::max(1, lines);
    update();
}

QSize PictureButton::sizeHint() const {
    const QFontMetrics fm(font());
    if (layout_ == Layout::PictureLeft)
        return {picture_.width() + fm.horizontalAdvance(text()) + 24,
                std::max(picture_.height(), fm.height()) + 10};
    return {std::max(picture_.width(), fm.horizontalAdvance(text())) + 10,
            picture_.height() + 2 * fm.height() + 10};
}

void PictureButton::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void PictureButton::leaveEvent(QEvent* event) {
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

namespace {

// Draws text word-wrapped into rect, at most maxLines lines, the last one elided.
void drawWrapped(QPainter& p, const QRect& rect, const QString& text, int maxLines) {
    const QFontMetrics fm(p.font());
    QTextLayout layout(text, p.font());
    layout.beginLayout();
    QStringList lines;
    while (true) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(rect.width());
        if (static_cast<int>(lines.size()) == maxLines - 1) {
            lines << fm.elidedText(text.mid(line.textStart()).simplified(), Qt::ElideRight,
                                   rect.width());
            break;
        }
        lines << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    const int lineHeight = fm.height();
    int y =
        rect.top() + std::max(0, (rect.height() - lineHeight * static_cast<int>(lines.size())) / 2);
    for (const QString& l : lines) {
        p.drawText(QRect(rect.left(), y, rect.width(), lineHeight), Qt::AlignHCenter | Qt::AlignTop,
                   l);
        y += lineHeight;
    }
}

} // namespace

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
    const bool on = (isChecked() && !toggle_) || isDown();
    if (framed_) {
        QLinearGradient g(frame.topLeft(), frame.bottomLeft());
        const bool lit = isEnabled() && (hovered_ || on);
        g.setColorAt(0.0, on ? QColor(236, 224, 210) : QColor(255, 253, 249));
        g.setColorAt(1.0, on    ? QColor(246, 238, 228)
                          : lit ? QColor(246, 236, 224)
                                : QColor(238, 232, 224));
        p.setPen(QPen(lit ? QColor(190, 160, 136) : QColor(204, 190, 178), 1));
        p.setBrush(g);
        p.drawRoundedRect(frame, 4, 4);
    } else if (!isEnabled()) {
        // Disabled: no highlight at all.
    } else if (on) {
        p.setPen(QPen(QColor(190, 160, 136), 1));
        p.setBrush(QColor(238, 226, 212));
        p.drawRoundedRect(frame, 4, 4);
    } else if (hovered_) {
        p.setPen(QPen(QColor(214, 197, 181), 1));
        p.setBrush(QColor(255, 252, 246));
        p.drawRoundedRect(frame, 4, 4);
    }
    if (hasFocus()) {
        p.setPen(QPen(style::labelColor(), 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(frame.adjusted(1, 1, -1, -1), 3, 3);
    }
    const QColor textColor = isEnabled() ? style::labelColor() : QColor(160, 160, 160);
    p.setPen(textColor);
    p.setFont(font());
    const QFontMetrics fm(font());
    QPixmap pic = picture_;
    if (layout_ == Layout::PictureLeft) {
        const int px = 6;
        int x = px;
        if (!pic.isNull()) {
            p.setOpacity(isEnabled() ? 1.0 : 0.45);
            p.drawPixmap(px, (height() - pic.height()) / 2, pic);
            p.setOpacity(1.0);
            x += pic.width() + 6;
        }
        p.drawText(QRect(x, 0, width() - x - 4, height()), Qt::AlignVCenter | Qt::AlignLeft,
                   fm.elidedText(text(), Qt::ElideRight, width() - x - 4));
        return;
    }
    // Picture above, scaled down when the button is too small for it.
    const int captionLines = text().trimmed().isEmpty() ? 0 : captionLines_;
    const int captionHeight = captionLines * fm.height();
    const int room = height() - captionHeight - 8;
    if (!pic.isNull() && pic.height() > room && room > 8)
        pic = pic.scaledToHeight(room, Qt::SmoothTransformation);
    const int py = 4 + std::max(0, (room - pic.height()) / 2);
    if (!pic.isNull()) {
        p.setOpacity(isEnabled() ? 1.0 : 0.45);
        p.drawPixmap((width() - pic.width()) / 2, py, pic);
        p.setOpacity(1.0);
    }
    if (captionLines > 0)
        drawWrapped(p, QRect(3, height() - captionHeight - 3, width() - 6, captionHeight), text(),
                    captionLines);
}
