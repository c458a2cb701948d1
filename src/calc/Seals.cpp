#include "calc/Seals.h"

#include "calc/CalcResult.h"
#include "calc/DSSystem.h"
#include "catalog/Material.h"
#include "model/DoorSet.h"

#include <algorithm>
#include <cstdint>

namespace {

template <typename Fn>
void forEachInsertOfThickness(const DoorSet& doorSet, int32_t t, Fn fn) {
    const int n = doorSet.doorsInUse();
    for (int i = 0; i < n; ++i)
        for (const auto& [id, in] : doorSet.doors[i].inserts)
            if (in.material != nullptr && in.material->thickness == t)
                fn(in);
}

} // namespace

int64_t fillingPerimeters(const DoorSet& doorSet, int32_t thickness) {
    int64_t sum = 0;
    forEachInsertOfThickness(doorSet, thickness, [&sum](const Insert& in) {
        sum += 2 * (static_cast<int64_t>(in.fillWidth) + in.fillHeight);
    });
    return sum;
}

int64_t frameSideHeights(const DoorSet& doorSet, int32_t thickness) {
    int64_t sum = 0;
    forEachInsertOfThickness(doorSet, thickness, [&sum](const Insert& in) {
        if (in.leftSplitter == nullptr)
            sum += in.fillHeight;
        if (in.rightSplitter == nullptr)
            sum += in.fillHeight;
    });
    return sum;
}

void addSealLine(DSSystem& system, CalcResult& result, std::string_view code, int64_t length) {
    if (length <= 0)
        return;
    const int32_t quantity = static_cast<int32_t>(std::min<int64_t>(length, INT32_MAX));
    system.addLengthLine(result, code, quantity, nullptr);
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
