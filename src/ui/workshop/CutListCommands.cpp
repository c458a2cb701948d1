#include "ui/workshop/CutListCommands.h"

#include "output/CutListLabels.h"
#include "plan/CutListPlan.h"
#include "ui/printing/CutListPrint.h"
#include "ui/printing/PrintCommands.h"
#include "ui/shared/Dialogs.h"

#include <QPrinter>

namespace {

QString pdfPath(QWidget* parent, const QString& proposed) {
    return dialogs::saveFile(parent, proposed, QString::fromUtf8(PrintCommands::kPdfFilter),
                             QStringLiteral("pdf"));
}

} // namespace

CutListCommands::CutListCommands(const CutListPlan& plan, QWidget* parent)
    : plan_(plan), parent_(parent) {}

void CutListCommands::print() {
    // The print commands' printer dialogs, so that the shop sees the ones it knows.
    PrintCommands::Hooks& hooks = PrintCommands::hooks();
    if (!hooks.printerInstalled()) {
        if (dialogs::confirm(parent_, QString::fromUtf8(PrintCommands::kNoPrinterQuestion)))
            savePlanPdf();
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Раскрой"));
    if (!hooks.choosePrinter(parent_, printer))
        return;
    const QString error = CutListPrint::printPlan(plan_.cuts, printer);
    if (!error.isEmpty())
        dialogs::showError(parent_, error);
}

void CutListCommands::savePlanPdf() {
    const QString path = pdfPath(parent_, QStringLiteral("раскрой"));
    if (path.isEmpty())
        return;
    const QString error = CutListPrint::writePlanPdf(plan_.cuts, path.toStdString());
    if (!error.isEmpty())
        dialogs::showError(parent_, error);
}

void CutListCommands::saveLabelsPdf() {
    const QString path = pdfPath(parent_, QStringLiteral("этикетки"));
    if (path.isEmpty())
        return;
    const QString error =
        CutListPrint::writeLabelsPdf(cutListLabels(plan_), LabelGrid(), path.toStdString());
    if (!error.isEmpty())
        dialogs::showError(parent_, error);
}
