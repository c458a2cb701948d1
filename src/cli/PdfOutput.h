#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <vector>

class CuttingPlan;
struct JournalOrder;
struct JournalPayment;
struct LabelGrid;
struct PlanSettings;
class Project;
struct ProductionLabel;

// --pdf: the printed documents of the desktop program as one A4 PDF, drawn without a display.
// Built only with the user interface; without it every call reports that PDF is not available.
namespace pdfoutput {

// Makes the application object drawing needs, before anything else makes a plainer one (the
// journal's database drivers need one too). Call it before the journal when PDF will be written.
void prepareDrawing();

// The usage error of --pdf with its --documents list ("order,price,profiles,assembly"; every
// document without one), empty when valid.
std::string usageError(const std::optional<std::string>& documents);

// Writes the chosen documents (all four without a list) to path. Returns the error message,
// empty on success; the file is then complete, or on failure untouched.
std::string writePdf(Project& project, const std::string& path,
                     const std::optional<std::string>& documents);

// --pack: the production pack (printed documents, filling cut sheet, door assembly sheets and
// the labels on sheets of the given grid) as one A4 PDF, its cutting plan (and so the offcuts
// it labels) made with the plan settings of --plan. Returns the error message, empty on success.
std::string writePack(Project& project, const std::string& path, const LabelGrid& labels,
                      const PlanSettings& plan);

// The cutting plan of a cut list on the pack's plan pages, and its labels on label sheets of
// the usual grid. Each returns the error message, empty on success.
std::string writeCutListPlan(const CuttingPlan& plan, const std::string& path);
std::string writeCutListLabels(const std::vector<ProductionLabel>& labels, const std::string& path);

// The pack of a batch: its title page, plans, the orders' filling cut sheets and the labels of
// every order's pieces and of the offcuts the batch keeps. Returns the error message, empty on
// success.
struct BatchPackOrder {
    int64_t number = 0;
    std::string customer;
    Project* project = nullptr;
};
std::string writeBatchPack(const std::string& path, const std::string& title,
                           const std::vector<BatchPackOrder>& orders, const CuttingPlan& plan,
                           const std::vector<ProductionLabel>& keptLabels);

// The receipt of a payment ("Квитанция об оплате") with the logo of the data folder. Returns the
// error message, empty on success.
std::string writeReceipt(const JournalOrder& order, const JournalPayment& payment,
                         int64_t balanceAfter, const std::string& dataFolder,
                         const std::string& path);

} // namespace pdfoutput
