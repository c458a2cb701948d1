#pragma once

#include <cstdint>
#include <string>

struct ArticleRow;
struct FillingRow;

// Texts of the priced rows shared by the result tables, the workbook and the accounting file.
namespace rowtext {

// Name, then " %3.1f м." of the stock bar length when the article is sold in bars, then " \n" and
// the error text when there is one.
std::string articleName(const ArticleRow& row);
// "%d шт." for counted rows, else "%1.2f м." of the length in metres.
std::string articleQuantity(const ArticleRow& row);
// "%1.4f м2" of the area.
std::string fillingQuantity(const FillingRow& row);
// "%1.2f" of kopecks / 100.0: the cost of a row.
std::string rowCost(int64_t kopecks);
// "%0.2f" of a money amount in roubles (totals).
std::string money(double roubles);

} // namespace rowtext
