#pragma once

#include "output/LabelGrid.h"
#include "output/ProductionLabel.h"

#include <QRectF>

#include <vector>

class QPainter;

// Paints production labels onto A4 label sheets: per label the texts on the left and the QR code
// holding the same text on the right. The same painting serves the PDF, the printer and the
// screen.
class LabelSheetPainter {
public:
    LabelSheetPainter(std::vector<ProductionLabel> labels, const LabelGrid& grid);

    int pageCount() const;
    const std::vector<ProductionLabel>& labels() const { return labels_; }
    const LabelGrid& grid() const { return grid_; }

    // Paints the labels of one sheet; paper is the whole A4 sheet in the painter's coordinates
    // (the labels sit where the label sheet has them, whatever the device's margins).
    void paintPage(QPainter& painter, const QRectF& paper, int page) const;

    // One label into its rectangle.
    static void paintLabel(QPainter& painter, const QRectF& rect, const ProductionLabel& label);

private:
    std::vector<ProductionLabel> labels_;
    LabelGrid grid_;
};
