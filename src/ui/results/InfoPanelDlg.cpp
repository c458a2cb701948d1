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
const QColor kWarningColor(170, 20, 20);
constexpr int kWarningHeight = 13;
constexpr int kWarningTop = 43;

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

void InfoPanelDlg::setWarning(const QString& text) {
    warning_ = text;
    setToolTip(text);
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
    // A warning moves the two lines up to make room for it.
    const int shift = warning_.isEmpty() ? 0 : -7;
    painter.drawText(QRect(kTextLeft, kFirstLineTop + shift, width, lineHeight + 4),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, first_);
    painter.drawText(QRect(kTextLeft, kSecondLineTop + shift, width, lineHeight + 4),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, second_);
    if (!warning_.isEmpty()) {
        painter.setPen(kWarningColor);
        painter.setFont(fontForCellHeight(QString::fromLatin1(kSerifFace), kWarningHeight, true));
        painter.drawText(QRect(kTextLeft, kWarningTop, width, kWarningHeight + 4),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, warning_);
    }
}
