#pragma once

#include <filesystem>
#include <string>

class CuttingPlan;
class Project;

// Which worksheets go into the workbook, in the fixed order order, price, profiles, assembly,
// plan. The cutting plans are only written when asked for.
struct WorkbookSheets {
    bool order = true;    // "Заказ"
    bool price = true;    // "Рассчет цены"
    bool profiles = true; // "Профили и материалы"
    bool assembly = true; // "Сборка"
    bool plan = false;    // "Раскрой"

    bool any() const { return order || price || profiles || assembly || plan; }
};

// The SpreadsheetML 2003 workbook as Windows-1251 bytes (LF line ends). Reads the totals through
// the project's recompute-if-dirty accessors, hence the non-const project. The sheet "Раскрой"
// shows the given plan, or without one a plan with the standard settings and the data folder's
// offcuts.
std::string workbookBytes(Project& project, const WorkbookSheets& sheets,
                          const CuttingPlan* plan = nullptr);

// Writes the workbook to path. Returns true when it FAILED (the caller then shows
// fileio::saveErrorMessage with the path and the reason the failure leaves in reason). No sheet
// chosen: nothing is written and the result is false. The file is replaced atomically, so a
// failed export leaves an existing file untouched.
bool exportWorkbook(Project& project, const std::filesystem::path& path,
                    const WorkbookSheets& sheets, std::string* reason = nullptr,
                    const CuttingPlan* plan = nullptr);

// The accounting file's path for a workbook path: its last three characters replaced by "csv"
// ("00012.xml" -> "00012.csv").
std::filesystem::path accountingCsvPathFor(const std::filesystem::path& workbookPath);
