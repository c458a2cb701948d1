#pragma once

#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

class CuttingPlan;
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

    // Every page also names its order under the frame's bottom edge: "<order> · Стр. N из M",
    // N counted from the job's first page; M of 0 leaves the line out.
    void setOrderLine(const QString& order, int pageTotal) {
        orderLine_ = order;
        pageTotal_ = pageTotal;
    }
    // The order line of the n-th page of the job at the bottom of any page area.
    void paintOrderLine(const QRect& page, int n);

    // A job that only finds out how many pages there are: its output is thrown away, so pictures
    // are left out wherever the layout does not depend on them.
    void setMeasuring(bool measuring) { measuring_ = measuring; }
    bool measuring() const { return measuring_; }

    // The order's cutting plan when the caller has made it already (a job printed twice, once to
    // count its pages, plans once); null otherwise.
    void setCuttingPlan(const CuttingPlan* plan) { cuttingPlan_ = plan; }
    const CuttingPlan* cuttingPlan() const { return cuttingPlan_; }

    // Number of the page opened last (0 before the first).
    int pageNumber() const { return pageNumber_; }
    int pagesStarted() const { return pagesStarted_; }

    // Points to device units at the device's vertical resolution, truncated.
    int points(int pt) const { return dpiY_ * pt / 72; }

    // The page rectangle of a device of the given size and resolution.
    static QRect pageRectFor(int horzRes, int vertRes, int dpiY);
    // The printed size of a picture scaled to the printable width, keeping its proportions; a tall
    // picture is held to maxHeight (when given) and is narrower then.
    static QSize logoSizeFor(QSize picture, int printableWidth, int maxHeight = 0);
    // The tallest logo a page takes: a fifth of the printable height.
    static int logoHeightLimit(QRect pageRect) { return pageRect.height() / 5; }
    // Whether a picture scaled to the printable width would be taller than that limit, so that
    // it prints smaller than the page's width.
    static bool logoIsCapped(QSize picture, QRect pageRect);

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
    QString orderLine_;
    int pageTotal_ = 0;
    bool measuring_ = false;
    const CuttingPlan* cuttingPlan_ = nullptr;
};
