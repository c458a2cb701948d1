#include "output/ProductionLabel.h"

#include "calc/CalcResult.h"
#include "calc/RowFormat.h"
#include "catalog/ProfileColor.h"
#include "model/OrderInfo.h"
#include "model/Project.h"
#include "plan/CuttingPlan.h"
#include "text/Format.h"

#include <map>

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

// "№ 5-0, отрезок 1 из 2": one of the equal pieces of a length line; a line cut in one piece
// names only its number.
std::string lengthPieceLine(const std::string& number, int32_t piece, int32_t count) {
    std::string line = "№ " + number;
    if (count > 1)
        line += text::format(", отрезок %d из %d", piece, count);
    return line;
}

std::string lengthText(int32_t tenths) {
    return rowformat::tenths(tenths) + " мм";
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
    // A piece is named by its article alone: the cut list's names of the handle profile also
    // give the bar length the bill bought ("… 5,5 м."), which on a piece reads like its size
    // and need not be the bar the cutting plan cuts it from.
    std::map<std::string, std::string> articleNames;
    for (const ArticleRow& a : result.articles)
        articleNames.emplace(a.code, a.name);
    for (const CutPieceRow& row : result.cutList) {
        if (isBarPiece(row)) {
            const auto named = articleNames.find(row.code);
            const std::string& name = named != articleNames.end() ? named->second : row.name;
            labels.push_back({Kind::Profile,
                              {order, placeLine(row.doorIndex, row.mark, row.number),
                               articleLine(row.code, name), row.length + " мм"},
                              {}});
            continue;
        }
        if (row.pieceLength <= 0)
            continue; // nothing to cut
        for (int32_t k = 1; k <= row.pieceCount; ++k)
            labels.push_back({Kind::Profile,
                              {order, lengthPieceLine(row.number, k, row.pieceCount),
                               articleLine(row.code, row.name), lengthText(row.pieceLength)},
                              {}});
    }
    for (const FillingPieceRow& row : result.fillingPieces) {
        labels.push_back({Kind::Filling,
                          {order, placeLine(row.doorIndex, row.mark, row.number),
                           articleLine(row.code, row.name), row.width + " × " + row.height + " мм"},
                          {}});
    }
    return labels;
}

std::vector<ProductionLabel> ProductionLabel::offcutLabels(const Project& project,
                                                           const CuttingPlan& plan) {
    std::vector<ProductionLabel> labels;
    const std::string order = orderLine(project.order);
    const std::string colour =
        "Цвет: " + (project.color != nullptr ? project.color->code : std::string("нет"));
    for (const ArticleCut& article : plan.articles)
        for (int32_t length : plan.keptOffcuts(article))
            labels.push_back({Kind::Offcut,
                              {order, "Деловой остаток", articleLine(article.code, article.name),
                               colour, lengthText(length)},
                              {}});
    return labels;
}
