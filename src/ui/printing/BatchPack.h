#pragma once

#include "output/ProductionLabel.h"

#include <QString>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

class CuttingPlan;
class Project;

// The pack of a batch, one A4 PDF for the saw: a title page listing its orders, the cutting plans
// of the batch (every piece named with its order), each order's filling cut sheet, then the
// label sheets: one label per cut piece of every order, then one per offcut the batch keeps.
class BatchPack {
public:
    struct Order {
        int64_t number = 0;
        std::string customer;
        Project* project = nullptr;
    };

    // title: "Партия № 3" for a started batch, else what the plan is. Returns the error message,
    // empty on success; the file is then complete, or on failure untouched.
    static QString writePdf(const std::filesystem::path& path, const QString& title,
                            const std::vector<Order>& orders, const CuttingPlan& plan,
                            const std::vector<ProductionLabel>& keptLabels);
};
