#include "output/ProductionLabel.h"

#include "calc/CalcResult.h"
#include "model/OrderInfo.h"
#include "model/Project.h"
#include "text/Format.h"

namespace {

// "Заказ 00041, Иванов И. И."
std::string orderLine(const OrderInfo& order) {
    std::string line = "Заказ " + order.orderNumberText();
    if (!order.clientName.empty())
        line += ", " + order.clientName;
    return line;
}

// "Дверь 2, метка 5, № 1-3"; pieces of no door name only the mark and number.
std::string placeLine(int32_t doorIndex, const std::string& mark, const std::string& number) {
    std::string line;
    if (doorIndex >= 0)
        line = text::format("Дверь %d, ", doorIndex + 1);
    return line + "метка " + mark + ", № " + number;
}

std::string articleLine(const std::string& code, const std::string& name) {
    return name.empty() ? code : code + " " + name;
}

// A cut row of a bar group: its number "g-k" has k from 1. Accessory rows have k = 0.
bool isBarPiece(const CutPieceRow& row) {
    const size_t dash = row.number.find('-');
    return dash != std::string::npos && leadingInteger(row.number.substr(dash + 1)) >= 1;
}

} // namespace

std::string ProductionLabel::text() const {
    std::string out;
    for (const std::string& line : lines) {
        if (!out.empty())
            out += '\n';
        out += line;
    }
    return out;
}

std::vector<ProductionLabel> ProductionLabel::listFor(const Project& project) {
    std::vector<ProductionLabel> labels;
    const CalcResult& result = project.result;
    const std::string order = orderLine(project.order);
    for (const CutPieceRow& row : result.cutList) {
        if (!isBarPiece(row))
            continue;
        labels.push_back({Kind::Profile,
                          {order, placeLine(row.doorIndex, row.mark, row.number),
                           articleLine(row.code, row.name), row.length + " мм"}});
    }
    for (const FillingPieceRow& row : result.fillingPieces) {
        labels.push_back(
            {Kind::Filling,
             {order, placeLine(row.doorIndex, row.mark, row.number),
              articleLine(row.code, row.name), row.width + " × " + row.height + " мм"}});
    }
    return labels;
}
