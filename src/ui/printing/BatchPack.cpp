#include "ui/printing/BatchPack.h"

#include "calc/DSSystem.h"
#include "model/Project.h"
#include "ui/printing/DocumentPrinter.h"
#include "ui/printing/LabelSheetPainter.h"
#include "ui/printing/PrintJob.h"
#include "ui/printing/ProductionPack.h"
#include "ui/results/CuttingPlanPainter.h"

#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

// The title page: the batch, then one line per order.
void paintTitle(PrintJob& job, const QString& title, const std::vector<BatchPack::Order>& orders) {
    QPainter& p = job.painter();
    QRect r = job.rect();
    QFont heading = job.headerFont();
    heading.setPointSize(16);
    p.setFont(heading);
    const int headingHeight = p.fontMetrics().height() * 2;
    p.drawText(QRect(r.left(), r.top(), r.width(), headingHeight), Qt::AlignLeft | Qt::AlignTop,
               title);
    QFont body = job.headerFont();
    body.setBold(false);
    p.setFont(body);
    const int line = p.fontMetrics().height() * 3 / 2;
    int y = r.top() + headingHeight;
    p.drawText(QRect(r.left(), y, r.width(), line), Qt::AlignLeft,
               QStringLiteral("Заказов в партии: %1").arg(orders.size()));
    y += line * 2;
    for (const BatchPack::Order& o : orders) {
        if (y + line > r.bottom()) {
            if (!job.beginPage())
                return;
            r = job.rect();
            y = r.top();
            p.setFont(body);
        }
        const Project& project = *o.project;
        const QString system =
            project.system != nullptr ? qs(project.system->code) : QStringLiteral("—");
        p.drawText(QRect(r.left(), y, r.width(), line), Qt::AlignLeft,
                   QStringLiteral("Заказ № %1 · %2 · %3 · дверей: %4 · проем %5 x %6 мм")
                       .arg(QString::number(o.number).rightJustified(5, QLatin1Char('0')),
                            o.customer.empty() ? QStringLiteral("—") : qs(o.customer), system)
                       .arg(project.doorCount)
                       .arg(project.openingWidth / 10)
                       .arg(project.height / 10));
        y += line;
    }
}

} // namespace

QString BatchPack::writePdf(const std::filesystem::path& path, const QString& title,
                            const std::vector<Order>& orders, const CuttingPlan& plan,
                            const std::vector<ProductionLabel>& keptLabels) {
    QString error;
    const QByteArray bytes = DocumentPrinter::pdfOf(
        [&](QPagedPaintDevice& device) -> QString {
            const QString startPageFailed = QString::fromUtf8(DocumentPrinter::kStartPageFailed);
            QPainter painter;
            if (!painter.begin(&device))
                return QString::fromUtf8(DocumentPrinter::kStartDocFailed);
            PrintJob job(painter, device, QImage());
            job.setOrderLine(title, 0);
            job.setCuttingPlan(&plan);
            if (!job.beginPage())
                return startPageFailed;
            paintTitle(job, title, orders);
            const CuttingPlanPainter plans(plan);
            const int pages = plans.pageCount(job.rect().size(), job.dpiY());
            for (int i = 0; i < pages; ++i) {
                if (!job.beginPage())
                    return startPageFailed;
                plans.paint(job.painter(), job.rect(), i, job.dpiY());
            }
            for (const Order& o : orders) {
                job.setOrderLine(ProductionPack::orderLine(*o.project), 0);
                if (!ProductionPack::printFillingCutSheet(job, *o.project))
                    return startPageFailed;
            }
            // Label sheets edge to edge on the label paper: every order's pieces, then the
            // offcuts the batch keeps.
            std::vector<ProductionLabel> all;
            for (const Order& o : orders) {
                std::vector<ProductionLabel> own = ProductionLabel::listFor(*o.project);
                all.insert(all.end(), own.begin(), own.end());
            }
            all.insert(all.end(), keptLabels.begin(), keptLabels.end());
            const LabelSheetPainter labels(std::move(all), LabelGrid());
            const QRectF paper(0, 0, device.width(), device.height());
            for (int page = 0; page < labels.pageCount(); ++page) {
                if (!device.newPage())
                    return startPageFailed;
                labels.paintPage(painter, paper, page);
            }
            if (!painter.end())
                return QString::fromUtf8(DocumentPrinter::kEndDocFailed);
            return {};
        },
        title, &error);
    return error.isEmpty() ? DocumentPrinter::writeFile(path, bytes) : error;
}
