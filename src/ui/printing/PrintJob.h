#pragma once

#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

class QPagedPaintDevice;
class QPainter;

// The pages of one print job on any paged device (a printer, a PDF writer, the print preview).
// Every page gets the same frame: the page number in the header font, centred at the top, and
// under it the logo scaled to the printable width. Numbers run on through everything printed in
// the job, so several documents (and pages of other kinds) can share one numbering.
class PrintJob {
public:
    // The painter must be active on the device; its first page is already open.
    PrintJob(QPainter& painter, QPagedPaintDevice& device, const QImage& logo,
             int firstPageNumber = 1);

    // Opens the next page (a new sheet for every page but the first) and paints its frame.
    // The rest of the page below the frame is then rect(). False when the device refuses the
    // page; the job must stop then.
    bool beginPage();

    QPainter& painter() { return painter_; }
    QPagedPaintDevice& device() { return device_; }
    int dpiY() const { return dpiY_; }

    // The printable area of a page: margins of 50, 40, 25 and 40 points (left, top, right,
    // bottom) inside the device's page. Right and bottom are exclusive.
    QRect pageRect() const { return pageRect_; }
    // What remains of the current page; painters move its top down as they draw.
    QRect& rect() { return rect_; }

    // Times New Roman 12 pt (an em of 12 points) for page numbers, signatures and the info text.
    const QFont& headerFont() const { return headerFont_; }
    // The logo on white at its printed size, null without a logo.
    QSize logoSize() const { return logoSize_; }

    // Number of the page opened last (0 before the first).
    int pageNumber() const { return pageNumber_; }
    int pagesStarted() const { return pagesStarted_; }

    // Points to device units at the device's vertical resolution, truncated.
    int points(int pt) const { return dpiY_ * pt / 72; }

    // The page rectangle of a device of the given size and resolution.
    static QRect pageRectFor(int horzRes, int vertRes, int dpiY);
    // The printed size of a picture scaled to the printable width, keeping its proportions.
    static QSize logoSizeFor(QSize picture, int printableWidth);

private:
    void paintFrame();

    QPainter& painter_;
    QPagedPaintDevice& device_;
    int dpiY_;
    QRect pageRect_;
    QRect rect_;
    QFont headerFont_;
    QImage logo_;
    QSize logoSize_;
    int pageNumber_;
    int pagesStarted_ = 0;
};
