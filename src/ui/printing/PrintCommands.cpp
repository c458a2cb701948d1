#include "ui/printing/PrintCommands.h"

#include "model/Project.h"
#include "ui/printing/DocumentPrinter.h"
#include "ui/shared/Dialogs.h"

#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <filesystem>

const char* const PrintCommands::kNoPrinterQuestion =
    "Принтер не установлен. Сохранить документы в PDF?";
const char* const PrintCommands::kPdfFilter = "PDF файлы (*.pdf)";

namespace {

PrintCommands::Hooks qtHooks() {
    PrintCommands::Hooks h;
    h.printerInstalled = [] { return !QPrinterInfo::availablePrinterNames().isEmpty(); };
    h.choosePrinter = [](QWidget* parent, QPrinter& printer) {
        QPrintDialog dialog(&printer, parent);
        // Copies and collation are left to the printer driver.
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
        dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
        dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
        return dialog.exec() == QDialog::Accepted;
    };
    h.showPreview = [](QPrintPreviewDialog& preview) { preview.exec(); };
    return h;
}

} // namespace

PrintCommands::Hooks& PrintCommands::hooks() {
    static Hooks h = qtHooks();
    return h;
}

void PrintCommands::resetHooks() {
    hooks() = qtHooks();
}

PrintCommands::PrintCommands(Project& project, QWidget* parent)
    : project_(project), parent_(parent) {}

void PrintCommands::print(const DocumentChoice& choice) {
    if (!PrintedDocument::anyChosen(choice))
        return;
    if (!hooks().printerInstalled()) {
        if (dialogs::confirm(parent_, QString::fromUtf8(kNoPrinterQuestion)))
            savePdf(choice);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromUtf8(DocumentPrinter::kDocumentName));
    if (!hooks().choosePrinter(parent_, printer))
        return;
    const QString error = DocumentPrinter(project_).print(printer, choice);
    if (!error.isEmpty())
        dialogs::showError(parent_, error);
}

void PrintCommands::preview(const DocumentChoice& choice) {
    if (!PrintedDocument::anyChosen(choice))
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromUtf8(DocumentPrinter::kDocumentName));
    QPrintPreviewDialog preview(&printer, parent_);
    preview.setWindowTitle(QStringLiteral("Предварительный просмотр"));
    QString error;
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [this, &choice, &error](QPrinter* target) {
                         error = DocumentPrinter(project_).print(*target, choice);
                     });
    hooks().showPreview(preview);
    if (!error.isEmpty())
        dialogs::showError(parent_, error);
}

void PrintCommands::savePdf(const DocumentChoice& choice) {
    if (!PrintedDocument::anyChosen(choice))
        return;
    const QString path =
        dialogs::saveFile(parent_, QString::fromStdString(project_.order.orderNumber),
                          QString::fromUtf8(kPdfFilter), QStringLiteral("pdf"));
    if (path.isEmpty())
        return;
    const QString error =
        DocumentPrinter(project_).writePdf(std::filesystem::path(path.toStdString()), choice);
    if (!error.isEmpty())
        dialogs::showError(parent_, error);
}
