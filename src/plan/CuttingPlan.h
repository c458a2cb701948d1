#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "plan/BarPlanner.h"
#include "plan/PlanSettings.h"
#include "plan/SheetPlanner.h"

class CalcResult;
class DoorSet;
class OffcutStock;
class Project;

// The plan of one profile article: its pieces on stock bars and offcuts, beside the bill.
struct ArticleCut {
    std::string code;
    std::string name;
    int32_t pricePerMetre = 0;        // kopecks
    std::vector<BarPlanPiece> pieces; // of every bar group of the article, in bill order
    std::vector<std::string> names;   // per piece, for pieces named rather than marked on a door
    std::vector<int64_t> orders;      // per piece, when several orders are cut together
    std::vector<BarStock> stock;      // the new stock lengths, then the offcuts that fit
    BarPlan plan;
    int billBars = 0;
    int64_t billCost = 0;
    bool billError = false; // the bill could not pack every piece
    int fromStore = -1;     // offcuts of the journal's store a plan would cut; -1: not asked
};

// The plan of one filling material: its fitted pieces on sheets.
struct MaterialCut {
    std::string code;
    std::string name;
    std::string group;
    int32_t sheetWidth = 0;  // 0.1 mm, the material's "ширина"
    int32_t sheetHeight = 0; // 0.1 mm, the material's "длина"
    bool rotation = false;
    std::vector<SheetPlanPiece> pieces;
    std::vector<std::string> names; // per piece, for pieces named rather than marked on a door
    std::vector<int64_t> orders;    // per piece, when several orders are cut together
    SheetPlan plan;
    SheetPlan firstFit; // the simple plan it is compared with
    int fromStore = -1; // offcuts of the journal's store a plan would cut; -1: not asked
};

// Cutting plans of an order for the workshop: the bar-sold profile articles of the bill and the
// fillings of the doors. The bill itself is left as the rules computed it.
class CuttingPlan {
public:
    PlanSettings settings;
    std::vector<ArticleCut> articles;
    std::vector<MaterialCut> materials;

    static CuttingPlan build(const Project& project, const PlanSettings& settings,
                             const OffcutStock& offcuts);
    // With the offcuts the shop keeps in the project's data folder; the number of lines of that
    // file that could not be read goes to badOffcutLines.
    static CuttingPlan buildWithShopOffcuts(const Project& project, const PlanSettings& settings,
                                            int* badOffcutLines = nullptr);
    static CuttingPlan build(const CalcResult& result, const DoorSet* doors,
                             const std::string& colour, const PlanSettings& settings,
                             const OffcutStock& offcuts);

    // The offcuts the plan leaves that are worth keeping (at least the minimum).
    std::vector<int32_t> keptOffcuts(const ArticleCut& article) const;
    // Totals over all articles.
    int planBars() const;
    int billBars() const;
};

// Texts of the plans.
namespace plantext {
inline constexpr const char* kPieceTooLong = "ОШИБКА! Отрезок %0.1f мм длиннее любого хлыста.";
inline constexpr const char* kPieceTooLarge = "ОШИБКА! Деталь %d×%d мм больше листа.";
inline constexpr const char* kNoSheetSize = "Размер листа не задан в прайсе материала.";
} // namespace plantext
