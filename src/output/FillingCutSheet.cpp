#include "output/FillingCutSheet.h"

#include "calc/CalcResult.h"
#include "model/OrderInfo.h"
#include "model/Project.h"
#include "text/Format.h"

namespace {

// The insert a filling piece row names (its door and mark); null when the row names none.
const Insert* insertOf(const Project& project, const FillingPieceRow& row) {
    if (!project.doors || !project.doors->isDoorInUse(row.doorIndex))
        return nullptr;
    const int32_t mark = leadingInteger(row.mark);
    for (const auto& [id, insert] :
         project.doors->doors[static_cast<size_t>(row.doorIndex)].inserts)
        if (insert.number == mark)
            return &insert;
    return nullptr;
}

// The filling group of a piece: the first number of "g-k".
int32_t groupOf(const FillingPieceRow& row) {
    return leadingInteger(row.number);
}

} // namespace

FillingCutSheet FillingCutSheet::build(const Project& project) {
    FillingCutSheet sheet;
    const CalcResult& result = project.result;
    int32_t currentGroup = 0;
    for (const FillingPieceRow& row : result.fillingPieces) {
        const int32_t g = groupOf(row);
        if (sheet.groups.empty() || g != currentGroup) {
            currentGroup = g;
            FillingCutGroup group;
            group.code = row.code;
            group.name = row.name;
            if (g >= 1 && static_cast<size_t>(g) <= result.fillings.size())
                group.thickness = result.fillings[static_cast<size_t>(g - 1)].thickness;
            sheet.groups.push_back(std::move(group));
        }
        FillingCutPiece piece;
        piece.number = row.number;
        piece.doorIndex = row.doorIndex;
        piece.mark = row.mark;
        piece.widthText = row.width;
        piece.heightText = row.height;
        if (const Insert* insert = insertOf(project, row)) {
            piece.width = insert->fillWidth;
            piece.height = insert->fillHeight;
            piece.area = insert->fillWidth / 10000.0 * (insert->fillHeight / 10000.0);
        }
        FillingCutGroup& group = sheet.groups.back();
        group.area += piece.area;
        group.pieces.push_back(std::move(piece));
    }
    return sheet;
}

std::size_t FillingCutSheet::pieceCount() const {
    std::size_t n = 0;
    for (const FillingCutGroup& g : groups)
        n += g.pieces.size();
    return n;
}

std::vector<ResultTable> FillingCutSheet::tables() const {
    std::vector<ResultTable> out;
    for (const FillingCutGroup& g : groups) {
        ResultTable caption;
        caption.columnFractions = {0.2, 0.65};
        caption.gapAfterPoints = 4;
        caption.keepWithNext = true;
        caption.rows.push_back(
            resultRow(ResultRowKind::Field, {"Материал", g.code + " " + g.name}));
        caption.rows.push_back(
            resultRow(ResultRowKind::Field, {"Толщина", text::format("%d мм", g.thickness / 10)}));
        caption.rows.push_back(
            resultRow(ResultRowKind::Field,
                      {"Итого", text::format("%d шт., %1.4f м2", static_cast<int>(g.pieces.size()),
                                             g.area)}));
        out.push_back(std::move(caption));

        ResultTable pieces;
        pieces.columnFractions = {0.1, 0.1, 0.1, 0.18, 0.18, 0.19};
        pieces.gapAfterPoints = 30;
        pieces.continuedTitle = g.code + " " + g.name;
        pieces.rows.push_back(
            resultRow(ResultRowKind::Heading,
                      {"№", "Дверь", "Номер", "Ширина, мм", "Высота, мм", "Площадь, м2"}));
        for (const FillingCutPiece& p : g.pieces) {
            pieces.rows.push_back(resultRow(
                ResultRowKind::Item, {p.number, text::format("%d", p.doorIndex + 1), p.mark,
                                      p.widthText, p.heightText, text::format("%1.4f", p.area)}));
        }
        out.push_back(std::move(pieces));
    }
    return out;
}
