#pragma once

#include <initializer_list>
#include <string>
#include <vector>

class Project;

// Contents of the four result pages as plain data, so that the screen, the printer and the command
// line only lay them out. Texts are UTF-8; an article name may hold "\n" before its error text.
enum class ResultPage {
    Price = 0,    // price calculation: articles and fillings, then the totals table
    Order = 1,    // order information
    Profiles = 2, // profiles (cut list) and materials (filling pieces)
    Assembly = 3, // assembly list
};

enum class ResultRowKind {
    Heading, // the column titles (bold)
    Item,    // one row of the result (article, filling, piece, element)
    Field,   // field name (bold) and value of the order information
    Total,   // label (bold) and amount of the totals table
};

struct ResultCell {
    std::string text;
    bool bold = false;
};

struct ResultRow {
    ResultRowKind kind = ResultRowKind::Item;
    std::vector<ResultCell> cells; // exactly one per column
};

struct ResultTable {
    std::vector<double> columnFractions; // each column's width as a fraction of the page width
    double offsetFraction = 0.0;         // left offset as a fraction of the page width
    int gapAfterPoints = 15;             // space below the table before the next one on paper
    std::vector<ResultRow> rows;
    std::string continuedTitle; // repeated with "(продолжение)" where the table runs on a page
    bool keepWithNext = false; // a caption kept on one page with the next table's first rows

    int columnCount() const { return static_cast<int>(columnFractions.size()); }
    int rowCount() const { return static_cast<int>(rows.size()); }
};

// A row of texts; heading rows are bold, and so is the first cell of field and total rows.
ResultRow resultRow(ResultRowKind kind, std::initializer_list<std::string> texts);

// The tables of one page, rebuilt from the current project (reads the totals through the
// project's recompute-if-dirty accessors, hence the non-const project).
std::vector<ResultTable> buildResultTables(Project& project, ResultPage page);
