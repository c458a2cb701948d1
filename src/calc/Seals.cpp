#include "calc/Seals.h"

#include "calc/CalcResult.h"
#include "calc/DSSystem.h"
#include "calc/DoorShares.h"
#include "catalog/Article.h"
#include "catalog/Material.h"
#include "model/DoorSet.h"

#include <algorithm>
#include <cstdint>

namespace {

// Per door in use, the sum of fn over its inserts whose material has thickness t.
template <typename Fn>
std::vector<int64_t> sumPerDoor(const DoorSet& doorSet, int32_t t, Fn fn) {
    std::vector<int64_t> sums(static_cast<size_t>(doorSet.doorsInUse()), 0);
    for (size_t i = 0; i < sums.size(); ++i)
        for (const auto& [id, in] : doorSet.doors[i].inserts)
            if (in.material != nullptr && in.material->thickness == t)
                sums[i] += fn(in);
    return sums;
}

} // namespace

std::vector<int64_t> fillingPerimeters(const DoorSet& doorSet, int32_t thickness) {
    return sumPerDoor(doorSet, thickness, [](const Insert& in) {
        return 2 * (static_cast<int64_t>(in.fillWidth) + in.fillHeight);
    });
}

std::vector<int64_t> frameSideHeights(const DoorSet& doorSet, int32_t thickness) {
    return sumPerDoor(doorSet, thickness, [](const Insert& in) {
        int64_t sides = 0;
        if (in.leftSplitter == nullptr)
            sides += in.fillHeight;
        if (in.rightSplitter == nullptr)
            sides += in.fillHeight;
        return sides;
    });
}

void addSealLine(DSSystem& system, CalcResult& result, std::string_view code,
                 const std::vector<int64_t>& perDoor) {
    const int32_t length = sealLength(perDoor);
    const Article* article = system.articleByCode(code);
    if (length <= 0 || article == nullptr)
        return;
    recordSealShares(result, system.addLengthLine(result, *article, length, nullptr), perDoor);
}

void addSideSeals(DSSystem& system, CalcResult& result, const DoorSet& doorSet, bool panelInsert) {
    if (panelInsert)
        addSealLine(system, result, "KS15", fillingPerimeters(doorSet, kPanelThickness));
    addSealLine(system, result, "TL11", frameSideHeights(doorSet, kGlassThickness));
}

void addGlassPerimeterSeal(DSSystem& system, CalcResult& result, const DoorSet& doorSet,
                           std::string_view code) {
    addSealLine(system, result, code, fillingPerimeters(doorSet, kGlassThickness));
}
