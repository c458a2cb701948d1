#include "ui/printing/DocumentPrinter.h"

#include "catalog/Catalog.h"
#include "catalog/DataPaths.h"
#include "model/AtomicFile.h"
#include "model/Project.h"
#include "model/SketchFile.h"
#include "ui/printing/PrintJob.h"

#include <QBuffer>
#include <QImageReader>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <string_view>

const char* const DocumentPrinter::kDocumentName = "Рассчет дверей";
const char* const DocumentPrinter::kStartDocFailed = "Ошибка печати. (StartDoc == -1)";
const char* const DocumentPrinter::kStartPageFailed = "Ошибка печати. (StartPage <= 0)";
const char* const DocumentPrinter::kEndDocFailed = "Ошибка печати. (EndDoc == 0)";
const char* const DocumentPrinter::kLogoCapped =
    "Логотип (logo.jpg) слишком высокий: в документах он напечатан уменьшенным до пятой части "
    "страницы, пропорции сохранены.";

DocumentPrinter::DocumentPrinter(Project& project) : project_(project) {}

QString DocumentPrinter::logoPath() const {
    return QString::fromStdString(
        DataPaths::join(DataPaths::configPath(project_.catalog().baseFolder()), "logo.jpg"));
}

QImage DocumentPrinter::logo() const {
    return QImage(logoPath());
}

bool DocumentPrinter::logoCapped() const {
    // The picture's size from its header: the printing decodes it anyway.
    const QSize picture = QImageReader(logoPath()).size();
    if (!picture.isValid())
        return false;
    // The A4 page of the PDF; a printer's A4 page differs only by its margins.
    const QSize page = QPageSize(QPageSize::A4).sizePixels(kPdfDpi);
    return PrintJob::logoIsCapped(picture,
                                  PrintJob::pageRectFor(page.width(), page.height(), kPdfDpi));
}

bool DocumentPrinter::printInto(PrintJob& job, const DocumentChoice& choice) {
    const std::vector<PrintedDocument>& documents = PrintedDocument::all();
    for (std::size_t k = 0; k < documents.size() && k < choice.size(); ++k) {
        if (choice[k] && !documents[k].print(job, project_))
            return false;
    }
    return true;
}

QString DocumentPrinter::print(QPagedPaintDevice& device, const DocumentChoice& choice) {
    if (!PrintedDocument::anyChosen(choice))
        return {};
    if (auto* printer = dynamic_cast<QPrinter*>(&device))
        printer->setDocName(QString::fromUtf8(kDocumentName));
    QPainter painter;
    if (!painter.begin(&device))
        return QString::fromUtf8(kStartDocFailed);
    PrintJob job(painter, device, logo());
    if (!printInto(job, choice)) {
        // The job is given up, not finished.
        if (auto* printer = dynamic_cast<QPrinter*>(&device))
            printer->abort();
        painter.end();
        return QString::fromUtf8(kStartPageFailed);
    }
    if (!painter.end())
        return QString::fromUtf8(kEndDocFailed);
    return {};
}

void DocumentPrinter::setUpPdf(QPdfWriter& writer) {
    writer.setResolution(kPdfDpi);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Point));
    writer.setTitle(QString::fromUtf8(kDocumentName));
    writer.setCreator(QStringLiteral("tavrolab"));
}

QByteArray DocumentPrinter::pdfOf(const std::function<QString(QPagedPaintDevice&)>& job,
                                  const QString& title, QString* error) {
    QByteArray bytes;
    QString message;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        setUpPdf(writer);
        writer.setTitle(title);
        message = job(writer);
    }
    if (error)
        *error = message;
    if (!message.isEmpty())
        return {};
    return bytes;
}

QString DocumentPrinter::writeFile(const std::filesystem::path& path, const QByteArray& bytes) {
    if (!fileio::writeFileAtomically(
            path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))))
        return QString::fromStdString(SketchFile::saveErrorMessage(path.string()));
    return {};
}

QByteArray DocumentPrinter::pdf(const DocumentChoice& choice, QString* error) {
    if (error)
        error->clear();
    if (!PrintedDocument::anyChosen(choice))
        return {};
    return pdfOf([&](QPagedPaintDevice& device) { return print(device, choice); },
                 QString::fromUtf8(kDocumentName), error);
}

QString DocumentPrinter::writePdf(const std::filesystem::path& path, const DocumentChoice& choice) {
    if (!PrintedDocument::anyChosen(choice))
        return {};
    QString error;
    const QByteArray bytes = pdf(choice, &error);
    if (!error.isEmpty())
        return error;
    return writeFile(path, bytes);
}
