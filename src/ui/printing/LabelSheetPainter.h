#pragma once

#include "output/LabelGrid.h"
#include "output/ProductionLabel.h"

#include <QRectF>
#include <QStringList>

#include <vector>

class QPaintDevice;
class QPainter;

// Paints production labels onto A4 label sheets: per label the texts on the left and the QR code
// holding the same text on the right; an offcut label is marked by a dark stripe down its left
// edge. The same painting serves the PDF, the printer and the screen.
class LabelSheetPainter {
public:
    LabelSheetPainter(std::vector<ProductionLabel> labels, const LabelGrid& grid);

    int pageCount() const;
    const std::vector<ProductionLabel>& labels() const { return labels_; }
    const LabelGrid& grid() const { return grid_; }

    // Paints the labels of one sheet; paper is the whole A4 sheet in the painter's coordinates
    // (the labels sit where the label sheet has them, whatever the device's margins).
    void paintPage(QPainter& painter, const QRectF& paper, int page) const;

    // The rectangle the grid of labels takes on the paper.
    QRectF gridRect(const QRectF& paper) const;

    // One label into its rectangle.
    static void paintLabel(QPainter& painter, const QRectF& rect, const ProductionLabel& label);
    // The label's text as paintLabel breaks it into lines in rect on the device (null: the
    // screen), top to bottom. A piece number such as "№ 1-3" is never broken.
    static QStringList paintedLines(const ProductionLabel& label, const QRectF& rect,
                                    QPaintDevice* device = nullptr);

private:
    std::vector<ProductionLabel> labels_;
    LabelGrid grid_;
};
