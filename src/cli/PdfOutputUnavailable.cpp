#include "cli/PdfOutput.h"

// The build without the user interface has no drawing for the printed documents.
namespace pdfoutput {

namespace {
const char* const kUnavailable = "вывод в PDF недоступен: программа собрана без Qt";
}

void prepareDrawing() {}

std::string usageError(const std::optional<std::string>&) {
    return kUnavailable;
}

std::string writePdf(Project&, const std::string&, const std::optional<std::string>&) {
    return kUnavailable;
}

std::string writePack(Project&, const std::string&, const LabelGrid&, const PlanSettings&) {
    return kUnavailable;
}

std::string writeCutListPlan(const CuttingPlan&, const std::string&) {
    return kUnavailable;
}

std::string writeCutListLabels(const std::vector<ProductionLabel>&, const std::string&) {
    return kUnavailable;
}

std::string writeBatchPack(const std::string&, const std::string&,
                           const std::vector<BatchPackOrder>&, const CuttingPlan&,
                           const std::vector<ProductionLabel>&) {
    return kUnavailable;
}

std::string writeReceipt(const JournalOrder&, const JournalPayment&, int64_t, const std::string&,
                         const std::string&) {
    return kUnavailable;
}

} // namespace pdfoutput
