#include "cli/PdfOutput.h"

#include "ui/printing/BatchPack.h"
#include "ui/printing/CutListPrint.h"
#include "ui/printing/DocumentPrinter.h"
#include "ui/printing/PaymentReceipt.h"
#include "ui/printing/PrintedDocument.h"
#include "ui/printing/ProductionPack.h"

#include <QGuiApplication>

#include <cstdio>

#include <memory>

namespace pdfoutput {
namespace {

// Fonts and painting need an application object; the command line has no display, so it runs
// on the offscreen platform whatever the environment says.
// The platform's chatter (a missing runtime folder and the like) is not the tool's output; only
// real failures reach the error stream.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

void ensureApplication() {
    if (QCoreApplication::instance())
        return;
    qInstallMessageHandler(quietMessages);
    static int argc = 3;
    static char name[] = "tavrolab-cli";
    static char platformOption[] = "-platform";
    static char platform[] = "offscreen";
    static char* argv[] = {name, platformOption, platform, nullptr};
    static std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace

void prepareDrawing() {
    ensureApplication();
}

std::string usageError(const std::optional<std::string>& documents) {
    std::string unknown;
    if (!documents || PrintedDocument::fromKeys(*documents, unknown))
        return {};
    if (unknown.empty())
        return "в --documents не указан ни один документ";
    return "неизвестный документ " + unknown;
}

std::string writePdf(Project& project, const std::string& path,
                     const std::optional<std::string>& documents) {
    std::string unknown;
    const DocumentChoice choice =
        documents ? PrintedDocument::fromKeys(*documents, unknown).value_or(DocumentChoice())
                  : PrintedDocument::workshop();
    if (!PrintedDocument::anyChosen(choice))
        return usageError(documents);
    ensureApplication();
    return DocumentPrinter(project).writePdf(path, choice).toStdString();
}

std::string writePack(Project& project, const std::string& path, const LabelGrid& labels,
                      const PlanSettings& plan) {
    ensureApplication();
    ProductionPack pack(project, labels);
    pack.setPlanSettings(plan);
    return pack.writePdf(path).toStdString();
}

std::string writeCutListPlan(const CuttingPlan& plan, const std::string& path) {
    ensureApplication();
    return CutListPrint::writePlanPdf(plan, path).toStdString();
}

std::string writeCutListLabels(const std::vector<ProductionLabel>& labels,
                               const std::string& path) {
    ensureApplication();
    return CutListPrint::writeLabelsPdf(labels, LabelGrid(), path).toStdString();
}

std::string writeBatchPack(const std::string& path, const std::string& title,
                           const std::vector<BatchPackOrder>& orders, const CuttingPlan& plan,
                           const std::vector<ProductionLabel>& keptLabels) {
    ensureApplication();
    std::vector<BatchPack::Order> packed;
    for (const BatchPackOrder& o : orders)
        packed.push_back({o.number, o.customer, o.project});
    return BatchPack::writePdf(path, QString::fromStdString(title), packed, plan, keptLabels)
        .toStdString();
}

std::string writeReceipt(const JournalOrder& order, const JournalPayment& payment,
                         int64_t balanceAfter, const std::string& dataFolder,
                         const std::string& path) {
    ensureApplication();
    PaymentReceipt receipt(order, payment, balanceAfter);
    receipt.setLogoFrom(dataFolder);
    return receipt.writePdf(path).toStdString();
}

} // namespace pdfoutput
