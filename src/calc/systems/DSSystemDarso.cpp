#include "calc/systems/DSSystemDarso.h"

#include "calc/CalcResult.h"
#include "calc/DoorFrameGroup.h"
#include "calc/DoorShares.h"
#include "calc/Seals.h"
#include "catalog/HandleProfile.h"
#include "catalog/Material.h"
#include "catalog/RollerKit.h"
#include "catalog/SplitterProfile.h"
#include "model/DoorSet.h"

#include <algorithm>
#include <vector>

DSSystemDarso::DSSystemDarso(int32_t catalogIndex, std::string displayName, int32_t picture)
    : DSSystem(catalogIndex, std::move(displayName), picture, 0, 0) {
    systemKind = SystemDarso;
}

void DSSystemDarso::setHeight(DoorSet& doorSet, int32_t height, int32_t chipboardThickness,
                              int32_t plinthHeight) {
    DSSystem::setHeight(doorSet, height - 400, chipboardThickness, plinthHeight);
}

int32_t DSSystemDarso::standardDoorWidth(const DoorSet& doorSet) const {
    const int32_t overlap = doorSet.handleProfile != nullptr ? doorSet.handleProfile->dimA : 0;
    // The brush KL13 stands at both ends of the opening.
    const Article* brush = articleByCode("KL13");
    return overlappingDoorWidth(doorSet, overlap, 2 * (brush != nullptr ? brush->dimC : 0));
}

void DSSystemDarso::updateGeometry(DoorSet& doorSet, bool keepDoorWidths) {
    if (!keepDoorWidths)
        resizeDoors(doorSet, doorSet.height, standardDoorWidth(doorSet));
    const int32_t depth = doorSet.handleProfile != nullptr ? doorSet.handleProfile->dimB : 0;
    assignFrameEdges(doorSet, articleByCode("KD08"), articleByCode("KD07"), -2 * depth);
    layoutSplitters(doorSet);
    layoutInserts(doorSet);
}

void DSSystemDarso::fitFilling(Insert& insert, int32_t /*topEdgeWidth*/,
                               int32_t /*bottomEdgeWidth*/) {
    fitFillingShrinkAllSides(insert, false);
}

void DSSystemDarso::calculate(DoorSet& doorSet, CalcResult& result, const ProfileColor* color) {
    clearResult(result);
    recordDoorTracks(result, doorSet);
    addDoorFrameGroup(*this, result, doorSet, color, false);
    addHorizontalEdgesGroups(result, doorSet, color);
    addSplittersGroup(result, doorSet, color);

    addLengthLine(result, "KL02", doorSet.openingWidth, color);
    addLengthLine(result, "KL05", doorSet.openingWidth, color);

    const int n = doorSet.doorsInUse();
    addEndBrushLine(*this, result, doorSet, "KL13", n, nullptr);
    addRollerKitLine(result, doorSet, dynamic_cast<const RollerKit*>(articleByCode("KL10/11B")));

    // A glass side against the system's splitter profile sits in its seal "KD10"; against the
    // frame or any other splitter in the silicone seal "KL17".
    std::vector<int64_t> silicone(static_cast<size_t>(n), 0);
    std::vector<int64_t> splitterSeal(static_cast<size_t>(n), 0);
    for (int i = 0; i < n; ++i) {
        auto side = [&](const Splitter* s, int32_t length) {
            if (s != nullptr && s->profile != nullptr && s->profile->code == "KD09")
                splitterSeal[static_cast<size_t>(i)] += length;
            else
                silicone[static_cast<size_t>(i)] += length;
        };
        for (const auto& [id, in] : doorSet.doors[i].inserts) {
            if (in.material == nullptr || in.material->thickness != kGlassThickness)
                continue;
            side(in.topSplitter, in.fillWidth);
            side(in.bottomSplitter, in.fillWidth);
            side(in.leftSplitter, in.fillHeight);
            side(in.rightSplitter, in.fillHeight);
        }
    }
    addSealLine(*this, result, "KL17", silicone);
    addSealLine(*this, result, "KD10", splitterSeal);

    calculateFillings(doorSet, result);
}
