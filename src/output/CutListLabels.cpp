#include "output/CutListLabels.h"

#include "calc/RowFormat.h"
#include "plan/CutListPlan.h"

namespace {

std::string nameOf(const std::vector<std::string>& names, int piece) {
    const auto i = static_cast<size_t>(piece);
    return i < names.size() && !names[i].empty() ? names[i] : "Без обозначения";
}

std::string sizeText(int32_t length, int32_t width) {
    return rowformat::wholeOrTenths(length) + " × " + rowformat::wholeOrTenths(width) + " мм";
}

} // namespace

std::vector<ProductionLabel> cutListLabels(const CutListPlan& plan) {
    using Kind = ProductionLabel::Kind;
    std::vector<ProductionLabel> labels, offcuts;
    const PlanSettings& s = plan.cuts.settings;
    for (const ArticleCut& a : plan.cuts.articles) {
        for (const PlannedBar& bar : a.plan.bars) {
            for (int p : bar.pieces)
                labels.push_back(
                    {Kind::Profile,
                     {nameOf(a.names, p), a.code,
                      rowformat::wholeOrTenths(a.pieces[static_cast<size_t>(p)].length) + " мм"},
                     {}});
            if (s.keepsOffcut(bar.offcut))
                offcuts.push_back(
                    {Kind::Offcut,
                     {"Деловой остаток", a.code, rowformat::wholeOrTenths(bar.offcut) + " мм"},
                     {}});
        }
    }
    for (const MaterialCut& m : plan.cuts.materials) {
        for (const PlannedSheet& sheet : m.plan.sheets) {
            for (const PlacedPiece& placed : sheet.pieces) {
                const SheetPlanPiece& piece = m.pieces[static_cast<size_t>(placed.piece)];
                labels.push_back(
                    {Kind::Filling,
                     {nameOf(m.names, placed.piece), m.code, sizeText(piece.height, piece.width)},
                     {}});
            }
            for (const SheetRect& r : sheet.offcuts)
                if (s.keepsOffcut(r.width) && s.keepsOffcut(r.height))
                    offcuts.push_back({Kind::Offcut,
                                       {"Деловой остаток", m.code, sizeText(r.height, r.width)},
                                       {}});
        }
    }
    labels.insert(labels.end(), offcuts.begin(), offcuts.end());
    return labels;
}
