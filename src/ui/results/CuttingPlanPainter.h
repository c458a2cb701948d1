#pragma once

#include <QRect>

#include <vector>

class CuttingPlan;
class QPainter;

// Draws a cutting plan to scale on any painter: every bar (pieces labelled with length, door and
// mark, kerf cuts, trimmed ends and offcuts hatched) and every sheet (pieces with sizes, door and
// mark, turned pieces marked, offcut rectangles hatched), each article and material under a
// heading that states the plan beside the bill. The screen view paints the plan as one long
// page; printing and PDF paint it page by page:
//
//     CuttingPlanPainter painter(plan);
//     const int pages = painter.pageCount(rect.size(), dpi);
//     for (int i = 0; i < pages; ++i) { /* open page */ painter.paint(qpainter, rect, i, dpi); }
//
// Blocks (a heading, a bar, a sheet) are never split across pages; a sheet is scaled down to fit
// a page.
class CuttingPlanPainter {
public:
    explicit CuttingPlanPainter(const CuttingPlan& plan);

    // Number of pages for page rectangles of the given size on a device of dpi dots per inch.
    int pageCount(QSize page, int dpi) const;
    // Paints page index (from 0) into the page rectangle.
    void paint(QPainter& painter, QRect page, int index, int dpi) const;

    // The whole plan as one page of the given width: its height, and painting it with its top
    // left corner at area's top left (the screen view).
    int height(int width, int dpi) const;
    void paintAll(QPainter& painter, QRect area, int dpi) const;

private:
    enum class Kind { Title, ArticleHead, Bar, MaterialHead, Sheet, Note };
    struct Block {
        Kind kind;
        int group = 0; // article or material
        int item = 0;  // bar or sheet (Note: unplaced piece)
        int height = 0;
    };

    std::vector<Block> layout(int width, int maxSheetHeight, int dpi) const;
    std::vector<std::vector<Block>> pages(QSize page, int dpi) const;
    void paintBlock(QPainter& painter, const Block& block, QRect r, int dpi) const;
    void paintBar(QPainter& painter, const Block& block, QRect r, int dpi) const;
    void paintSheet(QPainter& painter, const Block& block, QRect r, int dpi) const;

    const CuttingPlan& plan_;
    int32_t longestBar_ = 1;
};
