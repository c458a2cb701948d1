#include "ui/printing/ProductionPack.h"

#include "calc/RowFormat.h"
#include "model/OrderInfo.h"
#include "model/Project.h"
#include "output/DoorAssemblySheet.h"
#include "output/FillingCutSheet.h"
#include "output/ProductionLabel.h"
#include "plan/CuttingPlan.h"
#include "ui/printing/DocumentPrinter.h"
#include "ui/printing/DoorAssemblyPainter.h"
#include "ui/printing/LabelSheetPainter.h"
#include "ui/printing/PrintJob.h"
#include "ui/printing/PrintedDocument.h"
#include "ui/results/DlgPlan.h"
#include "ui/results/DlgTable.h"
#include "ui/results/TableRenderer.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

const char* const ProductionPack::kDocumentName = "Производство";
const char* const ProductionPack::kCancelled = "Производство прервано.";

namespace {

const QColor kTitleColor(40, 40, 40);
constexpr double kDrawingShare = 0.58; // of the page below the frame, for a door's drawing
constexpr double kFittingsShare = 0.5; // of the drawing's width, for the fittings beside it
constexpr double kTablesShare = 0.98;  // of their rectangle's width, the tables' columns

// Opens a page of the job and writes the title under its frame.
bool beginTitledPage(PrintJob& job, const QString& title) {
    if (!job.beginPage())
        return false;
    QPainter& p = job.painter();
    p.save();
    QFont font = job.headerFont();
    font.setBold(true);
    p.setFont(font);
    p.setPen(kTitleColor);
    const QFontMetrics metrics(font, &job.device());
    QRect& rect = job.rect();
    p.drawText(QRect(rect.left(), rect.top(), rect.width(), metrics.height()),
               Qt::AlignLeft | Qt::AlignTop, title);
    rect.setTop(rect.top() + metrics.height() + job.points(8));
    p.restore();
    return true;
}

// The tables on as many titled pages as they need.
bool printTitledTables(PrintJob& job, TablePage& page, const QString& title) {
    do {
        if (!beginTitledPage(job, title))
            return false;
    } while (!page.printPage(job.painter(), job.rect()));
    return true;
}

bool printDoor(PrintJob& job, const AssemblyDoor& door, int doorCount) {
    const QString title = QStringLiteral("Сборка двери %1 из %2: %3 × %4 мм")
                              .arg(door.index + 1)
                              .arg(doorCount)
                              .arg(QString::fromStdString(rowformat::wholeOrTenths(door.width)),
                                   QString::fromStdString(rowformat::wholeOrTenths(door.height)));
    std::vector<ResultTable> below = DoorAssemblySheet::tables(door);
    const std::vector<ResultTable> fittings = DoorAssemblySheet::fittingTables(door);
    if (!beginTitledPage(job, title))
        return false;
    QRect& rect = job.rect();
    QRect drawing(rect.left(), rect.top(), rect.width(),
                  static_cast<int>(rect.height() * kDrawingShare));
    // The fittings go beside a door drawn narrow enough to leave them the room, else below it
    // with the other tables.
    if (!fittings.empty()) {
        TablePage side;
        side.setTables(DlgTable::gridTables(fittings));
        // Its right edge lines up with the tables' below (their columns fill kTablesShare).
        const int width = static_cast<int>(drawing.width() * kFittingsShare);
        const QRect beside(drawing.left() +
                               static_cast<int>((drawing.width() - width) * kTablesShare),
                           drawing.top(), width, drawing.height());
        const int free =
            drawing.width() - DoorAssemblyPainter::widthNeeded(drawing, door, job.dpiY());
        if (free >= beside.width() &&
            side.printedHeight(beside.width(), job.dpiY()) <= beside.height()) {
            QRect area = beside;
            side.printPage(job.painter(), area);
            drawing.setRight(beside.left() - 1);
        } else {
            below.insert(below.begin(), fittings.begin(), fittings.end());
        }
    }
    TablePage tables;
    tables.setTables(DlgTable::gridTables(below));
    const int used = DoorAssemblyPainter::paint(job.painter(), drawing, door, job.dpiY());
    rect.setTop(rect.top() + used + job.points(12));
    while (!tables.printPage(job.painter(), job.rect())) {
        if (!beginTitledPage(job, title))
            return false;
    }
    return true;
}

} // namespace

ProductionPack::ProductionPack(Project& project, const LabelGrid& labels)
    : project_(project), labels_(labels) {}

bool ProductionPack::printFillingCutSheet(PrintJob& job, Project& project) {
    const FillingCutSheet sheet = FillingCutSheet::build(project);
    if (sheet.groups.empty())
        return true; // nothing to cut
    TablePage page;
    page.setTables(DlgTable::gridTables(sheet.tables()));
    return printTitledTables(job, page, QStringLiteral("Раскрой наполнения"));
}

int ProductionPack::partCount() const {
    int documents = 0;
    for (const PrintedDocument& d : PrintedDocument::all())
        documents += d.forCustomerOnly() ? 0 : 1;
    return documents + 1 + project_.doorCount + 1;
}

QString ProductionPack::orderLine(const Project& project) {
    QString line =
        QStringLiteral("Заказ № %1").arg(QString::fromStdString(project.order.orderNumberText()));
    if (!project.order.clientName.empty())
        line += QStringLiteral(" · ") + QString::fromStdString(project.order.clientName);
    line += QStringLiteral(" · ") + QString::fromStdString(orderDateText(project.order.orderDate));
    return line;
}

QString ProductionPack::print(QPagedPaintDevice& device, const Progress& progress) {
    // The pages are counted first on a writer of the same page, so that each can say
    // "Стр. N из M".
    int pages = 0;
    const CuttingPlan plan = planSettings_
                                 ? CuttingPlan::buildWithShopOffcuts(project_, *planSettings_)
                                 : DlgPlan::planFor(project_);
    plan_ = &plan;
    // Both passes print the one logo.
    const QImage logo = DocumentPrinter(project_).logo();
    {
        QBuffer sink;
        sink.open(QIODevice::WriteOnly);
        QPdfWriter counter(&sink);
        counter.setResolution(device.logicalDpiY() > 0 ? device.logicalDpiY()
                                                       : DocumentPrinter::kPdfDpi);
        counter.setPageLayout(device.pageLayout());
        const QString error = printPages(counter, logo, 0, &pages, {});
        if (!error.isEmpty()) {
            plan_ = nullptr;
            return error;
        }
    }
    const QString error = printPages(device, logo, pages, nullptr, progress);
    plan_ = nullptr;
    return error;
}

QString ProductionPack::printPages(QPagedPaintDevice& device, const QImage& logo, int pageTotal,
                                   int* pages, const Progress& progress) {
    const int total = partCount();
    int done = 0;
    auto step = [&] { return !progress || progress(++done, total); };
    const QString startPageFailed = QString::fromUtf8(DocumentPrinter::kStartPageFailed);

    QPainter painter;
    if (!painter.begin(&device))
        return QString::fromUtf8(DocumentPrinter::kStartDocFailed);
    PrintJob job(painter, device, logo);
    job.setOrderLine(orderLine(project_), pageTotal);
    job.setMeasuring(pages != nullptr);
    job.setCuttingPlan(plan_);
    auto stop = [&](const QString& message) {
        painter.end();
        return message;
    };
    const std::vector<PrintedDocument>& documents = PrintedDocument::all();
    for (size_t k = 0; k < documents.size(); ++k) {
        if (documents[k].forCustomerOnly())
            continue;
        if (!documents[k].print(job, project_))
            return stop(startPageFailed);
        if (!step())
            return stop(QString::fromUtf8(kCancelled));
    }
    if (!printFillingCutSheet(job, project_))
        return stop(startPageFailed);
    if (!step())
        return stop(QString::fromUtf8(kCancelled));
    const DoorAssemblySheet assembly = DoorAssemblySheet::build(project_);
    for (const AssemblyDoor& door : assembly.doors) {
        if (!printDoor(job, door, static_cast<int>(assembly.doors.size())))
            return stop(startPageFailed);
        if (!step())
            return stop(QString::fromUtf8(kCancelled));
    }
    // Label sheets: no frame, the labels where the label paper has them; the offcuts the plan
    // keeps after the cut pieces.
    std::vector<ProductionLabel> all = ProductionLabel::listFor(project_);
    if (plan_ != nullptr) {
        std::vector<ProductionLabel> offcuts = ProductionLabel::offcutLabels(project_, *plan_);
        all.insert(all.end(), offcuts.begin(), offcuts.end());
    }
    const LabelSheetPainter labels(std::move(all), labels_);
    if (pages) {
        *pages = job.pagesStarted() + labels.pageCount();
        painter.end();
        return {};
    }
    const QRectF paper(0, 0, device.width(), device.height());
    // A grid that leaves room under it takes the order line as well; the usual sheet is labels
    // to its edges, and each label names the order itself.
    const bool lineFits = labels_.top() >= kLabelLineRoom;
    const QRect gridArea = labels.gridRect(paper).toRect();
    for (int page = 0; page < labels.pageCount(); ++page) {
        if (job.pagesStarted() + page > 0 && !device.newPage())
            return stop(startPageFailed);
        labels.paintPage(painter, paper, page);
        if (lineFits)
            job.paintOrderLine(gridArea, job.pagesStarted() + page + 1);
    }
    if (!step())
        return stop(QString::fromUtf8(kCancelled));
    if (!painter.end())
        return QString::fromUtf8(DocumentPrinter::kEndDocFailed);
    return {};
}

QByteArray ProductionPack::pdf(QString* error, const Progress& progress) {
    return DocumentPrinter::pdfOf(
        [&](QPagedPaintDevice& device) { return print(device, progress); },
        QString::fromUtf8(kDocumentName), error);
}

QString ProductionPack::writePdf(const std::filesystem::path& path, const Progress& progress) {
    QString error;
    const QByteArray bytes = pdf(&error, progress);
    if (!error.isEmpty())
        return error;
    return DocumentPrinter::writeFile(path, bytes);
}
