#pragma once

#include <QFont>
#include <QRect>
#include <QString>

#include <climits>
#include <cstddef>
#include <map>
#include <utility>
#include <vector>

class QPainter;

struct GridCell {
    QString text;
    bool bold = false;
};

// One grid of a result page. Column widths and the horizontal offset are fractions of the page
// width; row heights follow the word-wrapped texts and are recomputed for every page width and
// device resolution.
class GridTable {
public:
    GridTable(int columns, int rows, std::vector<double> fractions, double offset = 0.0,
              int gapAfterPoints = 15);

    void setCell(int column, int row, const QString& text, bool bold = false);
    // Null for a cell that was never set (drawn empty).
    const GridCell* cell(int column, int row) const;

    int columns() const { return columns_; }
    int rows() const { return rows_; }
    const std::vector<double>& fractions() const { return fractions_; }
    double offset() const { return offset_; }
    // Space below the table on paper before the next table.
    int gapAfterPoints() const { return gapAfterPoints_; }

    // Results of the last layout.
    const std::vector<int>& columnWidths() const { return columnWidths_; }
    const std::vector<int>& rowHeights() const { return rowHeights_; }
    int height() const { return height_; }

private:
    friend class TablePage;
    int columns_;
    int rows_;
    std::vector<double> fractions_;
    double offset_;
    int gapAfterPoints_;
    std::map<std::pair<int, int>, GridCell> cells_;
    std::vector<int> columnWidths_;
    std::vector<int> rowHeights_;
    int height_ = 0;
};

// Fonts and spacings of a result page for one device resolution (pixels per inch vertically).
struct TableMetrics {
    int dpiY = 96;
    QFont regular;
    QFont bold;
    int padding = 0; // inner margin of a cell, 5 pt
    int spacing = 0; // extra space under the text, 2 pt

    static TableMetrics forDpi(int dpiY);
};

// The tables of one result page with their layout, their screen painting and their printing in
// page-sized pieces. Knows nothing of the model: the tables are built by the caller.
class TablePage {
public:
    static constexpr int kTopMargin = 30;  // first table's top on screen
    static constexpr int kTableGap = 15;   // between tables on screen
    static constexpr int kLeftMargin = 50; // tables start this far in
    static constexpr int kWideLimit = 800; // wider pages use only 700 pixels
    static constexpr int kBottomReserve = 50;

    void setTables(std::vector<GridTable> tables);
    const std::vector<GridTable>& tables() const { return tables_; }

    // Width the columns are laid out for on a screen page of the given client width.
    static int contentWidth(int clientWidth);

    // Screen layout for a client width; returns the content height.
    int layout(int clientWidth, int dpiY);
    int contentHeight() const { return contentHeight_; }

    // Paints the content with its top at y = 0 (the caller scrolls); rows wholly outside
    // visibleTop..visibleBottom are skipped.
    void paint(QPainter& painter, int clientWidth, int visibleTop = INT_MIN,
               int visibleBottom = INT_MAX) const;

    // Prints the rows that fit into rect on a printer page, continuing where the previous call
    // stopped. Moves rect's top below what it drew. Returns true when every table is complete
    // (and starts the next print from the beginning again).
    bool printPage(QPainter& painter, QRect& rect);

    // Continuation state, for callers that want to know where printing stands.
    std::size_t continuationTable() const { return contTable_; }
    int continuationRow() const { return contRow_; }
    void resetContinuation();

private:
    static void layoutTable(GridTable& table, int pageWidth, const TableMetrics& metrics);
    void paintTable(QPainter& painter, const GridTable& table, int left, int top, int visibleTop,
                    int visibleBottom) const;

    std::vector<GridTable> tables_;
    TableMetrics screen_;
    int contentHeight_ = 0;
    std::size_t contTable_ = 0;
    int contRow_ = 0;
};
