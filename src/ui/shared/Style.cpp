#include "ui/shared/Style.h"

#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QWidget>

namespace style {
namespace {

QPixmap weave(const QColor& base) {
    QPixmap tile(8, 8);
    tile.fill(base);
    QPainter p(&tile);
    p.setPen(base.darker(103));
    p.drawLine(0, 0, 7, 0);
    p.drawLine(0, 4, 3, 4);
    p.setPen(base.lighter(102));
    p.drawLine(4, 2, 4, 6);
    return tile;
}

} // namespace

QFont boldFont() {
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(14);
    f.setWeight(QFont::Bold);
    return f;
}

QFont labelFont() {
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSize(8);
    f.setWeight(QFont::Bold);
    return f;
}

QFont captionFont() {
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(11);
    return f;
}

QBrush panelBrush() {
    static const QPixmap tile = weave(QColor(247, 245, 240));
    return QBrush(tile);
}

QBrush popupBrush() {
    static const QPixmap tile = weave(QColor(240, 237, 230));
    return QBrush(tile);
}

void makePanelLabel(QLabel* label) {
    label->setFont(labelFont());
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, labelColor());
    label->setPalette(pal);
}

void dressPopupDialog(QWidget* dialog, const QString& title, const QString& accessibleName) {
    dialog->setWindowTitle(title);
    dialog->setObjectName(title);
    dialog->setAccessibleName(accessibleName);
    dialog->setFont(boldFont());
    setBackground(dialog, popupBrush());
}

void setBackground(QWidget* w, const QBrush& brush) {
    QPalette pal = w->palette();
    pal.setBrush(QPalette::Window, brush);
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

} // namespace style
