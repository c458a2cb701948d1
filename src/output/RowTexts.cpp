#include "output/RowTexts.h"

#include "calc/CalcResult.h"
#include "text/Format.h"

namespace rowtext {

std::string articleName(const ArticleRow& row) {
    std::string name = row.name;
    if (row.stockLength != 0)
        name += text::format(" %3.1f м.", row.stockLength / 10000.0);
    if (!row.error.empty())
        name += " \n" + row.error;
    return name;
}

std::string articleQuantity(const ArticleRow& row) {
    if (row.counted)
        return text::format("%d шт.", row.quantity);
    return text::format("%1.2f м.", row.quantity / 10000.0);
}

std::string fillingQuantity(const FillingRow& row) {
    return text::format("%1.4f м2", row.area);
}

std::string rowCost(int64_t kopecks) {
    return text::format("%1.2f", kopecks / 100.0);
}

std::string money(double roubles) {
    return text::format("%0.2f", roubles);
}

} // namespace rowtext
