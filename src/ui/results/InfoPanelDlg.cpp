#include "ui/results/InfoPanelDlg.h"

#include "model/Project.h"
#include "ui/shared/CellFont.h"

#include <QPainter>

namespace {

const QColor kBackground(245, 245, 245);
const QColor kTextColor(100, 100, 100);
constexpr int kFontHeight = 18;
constexpr int kTextLeft = 20;
constexpr int kFirstLineTop = 10;
constexpr int kSecondLineTop = 30;

} // namespace

InfoPanelDlg::InfoPanelDlg(Project& project, QWidget* parent) : QWidget(parent), project_(project) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void InfoPanelDlg::receive(Notify n) {
    if (n == Notify::Hover)
        refresh();
}

void InfoPanelDlg::refresh() {
    hover_ = describeHover(*project_.doors);
    const InfoLines lines = infoLines(hover_);
    first_ = QString::fromStdString(lines.first);
    second_ = QString::fromStdString(lines.second);
    setAccessibleDescription((first_ + QLatin1Char(' ') + second_).trimmed());
    update();
}

void InfoPanelDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setPen(kTextColor);
    painter.setFont(fontForCellHeight(QString::fromLatin1(kSerifFace), kFontHeight, false));
    const int lineHeight = kSecondLineTop - kFirstLineTop;
    const int width = std::max(0, this->width() - kTextLeft);
    painter.drawText(QRect(kTextLeft, kFirstLineTop, width, lineHeight + 4),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, first_);
    painter.drawText(QRect(kTextLeft, kSecondLineTop, width, lineHeight + 4),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, second_);
}
