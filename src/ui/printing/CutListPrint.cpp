#include "ui/printing/CutListPrint.h"

#include "ui/printing/DocumentPrinter.h"
#include "ui/printing/LabelSheetPainter.h"
#include "ui/printing/PrintJob.h"
#include "ui/results/CuttingPlanPainter.h"

#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>

namespace {

QString written(const std::filesystem::path& path, const QByteArray& bytes, const QString& error) {
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
    return written(path, bytes, error);
}

QString CutListPrint::writeLabelsPdf(const std::vector<ProductionLabel>& labels,
                                     const LabelGrid& grid, const std::filesystem::path& path) {
    QString error;
    const QByteArray bytes = DocumentPrinter::pdfOf(
        [&](QPagedPaintDevice& device) -> QString {
            QPainter painter;
            if (!painter.begin(&device))
                return QString::fromUtf8(DocumentPrinter::kStartDocFailed);
            // Edge to edge on the label paper, as the pack's label sheets.
            const LabelSheetPainter sheets(labels, grid);
            const QRectF paper(0, 0, device.width(), device.height());
            for (int page = 0; page < sheets.pageCount(); ++page) {
                if (page > 0 && !device.newPage())
                    return QString::fromUtf8(DocumentPrinter::kStartPageFailed);
                sheets.paintPage(painter, paper, page);
            }
            if (!painter.end())
                return QString::fromUtf8(DocumentPrinter::kEndDocFailed);
            return {};
        },
        QStringLiteral("Этикетки"), &error);
    return written(path, bytes, error);
}
