#pragma once

#include "output/LabelGrid.h"
#include "output/ProductionLabel.h"

#include <QString>

#include <filesystem>
#include <vector>

class CuttingPlan;
class QPagedPaintDevice;

// The printed forms of a cut list without an order: its cutting plan on framed A4 pages as the
// production pack draws them, and its labels on the label sheets of a grid.
class CutListPrint {
public:
    // Each writes an A4 PDF in place of the file at path. Returns the error message, empty on
    // success.
    // The plan's pages on a device (a printer, or the PDF writer below). Returns the error
    // message, empty on success.
    static QString printPlan(const CuttingPlan& plan, QPagedPaintDevice& device);
    static QString writePlanPdf(const CuttingPlan& plan, const std::filesystem::path& path);
    static QString writeLabelsPdf(const std::vector<ProductionLabel>& labels, const LabelGrid& grid,
                                  const std::filesystem::path& path);
};
