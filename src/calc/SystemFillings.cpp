// Filling rows per material and the list of filled inserts.
#include "calc/CalcResult.h"
#include "calc/DSSystem.h"
#include "calc/DoorShares.h"
#include "calc/RowFormat.h"
#include "calc/Totals.h"

#include "catalog/Article.h"
#include "catalog/Material.h"
#include "model/DoorSet.h"
#include "text/Encoding.h"
#include "text/Format.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {

struct FilledInsert {
    const Insert* insert;
    int door;
};

struct FillingGroup {
    FillingRow row;
    std::vector<FilledInsert> inserts; // door by door, in id order
};

// What the scan needs of a material, worked out once per material and calculation.
struct MaterialInfo {
    const Material* material;
    FillingGroup* group;
    std::string name; // with " (picture key)" for a material from a folder
};

std::string piecesSize(int32_t length, bool decimal) {
    return decimal ? rowformat::tenths(length) : rowformat::roundedWhole(length);
}

} // namespace

void DSSystem::calculateFillings(DoorSet& doorSet, CalcResult& result) {
    calculateFillingsWith(doorSet, result, false, false, nullptr);
}

void DSSystem::calculateFillingsWith(DoorSet& doorSet, CalcResult& result, bool groupByCodeOnly,
                                     bool decimalSizes, std::vector<int64_t>* perimeters) {
    FillingRow warning;
    warning.code = calctext::kNoMaterialCode;
    warning.name = calctext::kNoMaterialName;

    // Groups are listed in ascending order of their keys compared by UTF-16 code units.
    std::map<std::u16string, FillingGroup> groups;
    std::vector<MaterialInfo> known;

    const int n = doorSet.doorsInUse();
    if (perimeters != nullptr)
        perimeters->assign(static_cast<size_t>(n), 0);
    for (int i = 0; i < n; ++i) {
        for (const auto& [id, in] : doorSet.doors[i].inserts) {
            const Material* m = in.material;
            if (m == nullptr) {
                warning.area += in.fillHeight / 10000.0 * in.fillWidth / 10000.0;
                continue;
            }
            auto info = std::find_if(known.begin(), known.end(),
                                     [m](const MaterialInfo& k) { return k.material == m; });
            if (info == known.end()) {
                const std::string pictureKey = m->pictureKey();
                const std::string key = groupByCodeOnly ? m->code : m->code + pictureKey;
                FillingGroup& group = groups[text::utf8ToUtf16(key)];
                std::string name = m->name;
                if (m->fromFolder)
                    name += " (" + pictureKey + ")";
                known.push_back({m, &group, std::move(name)});
                info = known.end() - 1;
            }
            FillingRow& row = info->group->row;
            row.code = m->code;
            row.name = info->name;
            row.thickness = m->thickness;
            row.cost = m->price;
            row.area += in.fillWidth / 10000.0 * in.fillHeight / 10000.0;
            if (in.thicknessMismatch)
                row.error = text::format(calctext::kThicknessMismatch, m->thickness / 10.0);
            else if (perimeters != nullptr && m->thickness != 0 && m->thickness != 100)
                (*perimeters)[static_cast<size_t>(i)] +=
                    2 * (static_cast<int64_t>(in.fillWidth) + in.fillHeight);
            info->group->inserts.push_back({&in, i});
        }
    }

    for (auto& [key, group] : groups) {
        FillingRow& row = group.row;
        if (row.error.empty()) {
            row.cost = totals::kopecksOf(std::ceil(static_cast<double>(row.cost) * row.area));
            totals::refuseUnfitCost(row.cost, row.error);
        }
        result.fillings.push_back(row);
        int k = 0;
        for (const FilledInsert& f : group.inserts) {
            FillingPieceRow piece;
            piece.number = rowformat::pair(result.fillingGroupCounter, ++k);
            piece.code = row.code;
            piece.name = row.name;
            piece.height = piecesSize(f.insert->fillHeight, decimalSizes);
            piece.width = piecesSize(f.insert->fillWidth, decimalSizes);
            piece.mark = rowformat::integer(f.insert->number);
            piece.doorIndex = f.door;
            result.fillingPieces.push_back(std::move(piece));
        }
        ++result.fillingGroupCounter;
    }

    if (warning.area > 0)
        result.fillings.push_back(std::move(warning));
}

void DSSystem::calculateFillingsWithPerimeterSeal(DoorSet& doorSet, CalcResult& result,
                                                  std::string_view sealCode) {
    std::vector<int64_t> perimeters;
    calculateFillingsWith(doorSet, result, true, true, &perimeters);
    const int32_t length = sealLength(perimeters);
    if (length <= 0)
        return;
    if (const Article* seal = articleByCode(sealCode)) {
        result.articles.push_back(makeArticleRow(*seal, length, nullptr));
        recordSealShares(result, result.articles.back(), perimeters);
    }
}
