#include "ui/printing/PrintJob.h"

#include "ui/shared/CellFont.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>

namespace {

const QColor kTextColor(76, 76, 76);

QImage onWhite(const QImage& picture) {
    if (picture.isNull())
        return {};
    QImage white(picture.size(), QImage::Format_RGB32);
    white.fill(Qt::white);
    QPainter p(&white);
    p.drawImage(0, 0, picture);
    return white;
}

} // namespace

PrintJob::PrintJob(QPainter& painter, QPagedPaintDevice& device, const QImage& logo,
                   int firstPageNumber)
    : painter_(painter), device_(device),
      dpiY_(device.logicalDpiY() > 0 ? device.logicalDpiY() : 96),
      pageRect_(pageRectFor(device.width(), device.height(), dpiY_)), rect_(pageRect_),
      logo_(onWhite(logo)), pageNumber_(firstPageNumber - 1) {
    headerFont_.setFamilies({QString::fromLatin1(kSerifFace), QStringLiteral("Liberation Serif")});
    headerFont_.setWeight(QFont::Normal);
    headerFont_.setPixelSize(std::max(1, points(12)));
    if (!logo_.isNull())
        logoSize_ = logoSizeFor(logo_.size(), pageRect_.width(), logoHeightLimit(pageRect_));
}

QRect PrintJob::pageRectFor(int horzRes, int vertRes, int dpiY) {
    const int left = dpiY * 50 / 72;
    const int top = dpiY * 40 / 72;
    const int right = horzRes - dpiY * 25 / 72;
    const int bottom = vertRes - dpiY * 40 / 72;
    return QRect(left, top, right - left, bottom - top);
}

QSize PrintJob::logoSizeFor(QSize picture, int printableWidth, int maxHeight) {
    if (picture.width() <= 0 || picture.height() <= 0 || printableWidth <= 0)
        return {};
    const float height = static_cast<float>(picture.height()) * static_cast<float>(printableWidth) /
                         static_cast<float>(picture.width());
    if (maxHeight > 0 && height > static_cast<float>(maxHeight)) {
        const float width = static_cast<float>(picture.width()) * static_cast<float>(maxHeight) /
                            static_cast<float>(picture.height());
        return QSize(std::max(1, static_cast<int>(width)), maxHeight);
    }
    return QSize(printableWidth, static_cast<int>(height));
}

bool PrintJob::logoIsCapped(QSize picture, QRect pageRect) {
    const int limit = logoHeightLimit(pageRect);
    return logoSizeFor(picture, pageRect.width(), limit) != logoSizeFor(picture, pageRect.width());
}

bool PrintJob::beginPage() {
    if (pagesStarted_ > 0 && !device_.newPage())
        return false;
    ++pagesStarted_;
    ++pageNumber_;
    rect_ = pageRect_;
    paintFrame();
    if (pageTotal_ > 0)
        paintOrderLine(pageRect_, pagesStarted_);
    return true;
}

void PrintJob::paintFrame() {
    painter_.save();
    painter_.setFont(headerFont_);
    painter_.setPen(kTextColor);
    const QFontMetrics metrics(headerFont_, &device_);
    const QString number = QString::number(pageNumber_);
    const int width = metrics.horizontalAdvance(number);
    const int h = metrics.height();
    const int x = (rect_.right() + 1 - width) / 2;
    painter_.drawText(QRect(x, rect_.top(), width + 1, h), Qt::AlignLeft | Qt::AlignTop, number);
    rect_.setTop(rect_.top() + h + static_cast<int>(0.2 * h));
    if (!logo_.isNull() && !logoSize_.isEmpty()) {
        if (!measuring_)
            painter_.drawImage(QRect(QPoint(rect_.left(), rect_.top()), logoSize_), logo_);
        rect_.setTop(rect_.top() + logoSize_.height() + points(10));
    }
    painter_.restore();
}

void PrintJob::paintOrderLine(const QRect& page, int n) {
    if (pageTotal_ <= 0)
        return;
    painter_.save();
    QFont font = headerFont_;
    font.setPixelSize(std::max(1, points(8)));
    painter_.setFont(font);
    painter_.setPen(kTextColor);
    const QFontMetrics metrics(font, &device_);
    const QString text = orderLine_ + QStringLiteral(" · Стр. %1 из %2").arg(n).arg(pageTotal_);
    // In the bottom margin, clear of everything the page's area holds.
    const QRect line(page.left(), page.bottom() + 1 + points(6), page.width(), metrics.height());
    painter_.drawText(line, Qt::AlignRight | Qt::AlignTop, text);
    painter_.restore();
}
