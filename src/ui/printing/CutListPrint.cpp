#include "ui/printing/CutListPrint.h"

#include "ui/printing/DocumentPrinter.h"
#include "ui/printing/LabelSheetPainter.h"
#include "ui/printing/PrintJob.h"
#include "ui/results/CuttingPlanPainter.h"

#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>

namespace {

// Paints the pages of one PDF with a painter begun and ended around them, and writes it in place
// of the file at path. Returns the error message, empty on success.
template <typename PaintPages>
QString writePdf(const std::filesystem::path& path, const QString& title, PaintPages paintPages) {
    QString error;
    const QByteArray bytes = DocumentPrinter::pdfOf(
        [&](QPagedPaintDevice& device) -> QString {
            QPainter painter;
            if (!painter.begin(&device))
                return QString::fromUtf8(DocumentPrinter::kStartDocFailed);
            if (const QString failed = paintPages(painter, device); !failed.isEmpty())
                return failed;
            if (!painter.end())
                return QString::fromUtf8(DocumentPrinter::kEndDocFailed);
            return {};
        },
        title, &error);
    return error.isEmpty() ? DocumentPrinter::writeFile(path, bytes) : error;
}

} // namespace

QString CutListPrint::printPlan(const CuttingPlan& plan, QPagedPaintDevice& device) {
    QPainter painter;
    if (!painter.begin(&device))
        return QString::fromUtf8(DocumentPrinter::kStartDocFailed);
    PrintJob job(painter, device, QImage());
    job.setCuttingPlan(&plan);
    const CuttingPlanPainter plans(plan);
    // Every page has the same frame, so the first page's room is every page's.
    if (!job.beginPage())
        return QString::fromUtf8(DocumentPrinter::kStartPageFailed);
    const int pages = plans.pageCount(job.rect().size(), job.dpiY());
    for (int i = 0; i < pages; ++i) {
        if (i > 0 && !job.beginPage())
            return QString::fromUtf8(DocumentPrinter::kStartPageFailed);
        plans.paint(job.painter(), job.rect(), i, job.dpiY());
    }
    if (!painter.end())
        return QString::fromUtf8(DocumentPrinter::kEndDocFailed);
    return {};
}

QString CutListPrint::writePlanPdf(const CuttingPlan& plan, const std::filesystem::path& path) {
    QString error;
    const QByteArray bytes =
        DocumentPrinter::pdfOf([&](QPagedPaintDevice& device) { return printPlan(plan, device); },
                               QStringLiteral("Раскрой"), &error);
    return error.isEmpty() ? DocumentPrinter::writeFile(path, bytes) : error;
}

QString CutListPrint::writeLabelsPdf(const std::vector<ProductionLabel>& labels,
                                     const LabelGrid& grid, const std::filesystem::path& path) {
    return writePdf(path, QStringLiteral("Этикетки"),
                    [&](QPainter& painter, QPagedPaintDevice& device) -> QString {
                        // Edge to edge on the label paper, as the pack's label sheets.
                        const LabelSheetPainter sheets(labels, grid);
                        const QRectF paper(0, 0, device.width(), device.height());
                        for (int page = 0; page < sheets.pageCount(); ++page) {
                            if (page > 0 && !device.newPage())
                                return QString::fromUtf8(DocumentPrinter::kStartPageFailed);
                            sheets.paintPage(painter, paper, page);
                        }
                        return {};
                    });
}
