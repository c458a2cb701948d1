#include "calc/systems/DSSystemStenvik.h"

#include "calc/CalcResult.h"
#include "calc/DoorFrameGroup.h"
#include "calc/DoorShares.h"
#include "calc/FillingFits.h"
#include "calc/Seals.h"
#include "calc/SplitterGroups.h"
#include "catalog/HandleProfile.h"
#include "catalog/RollerKit.h"
#include "model/DoorSet.h"

#include <algorithm>

DSSystemStenvik::DSSystemStenvik(int32_t catalogIndex, std::string displayName, int32_t picture)
    : DSSystem(catalogIndex, std::move(displayName), picture, 0, 0) {
    systemKind = SystemStenvik;
}

int32_t DSSystemStenvik::standardDoorWidth(const DoorSet& doorSet) const {
    const int32_t overlap = doorSet.handleProfile != nullptr ? doorSet.handleProfile->dimA : 0;
    return overlappingDoorWidth(doorSet, overlap, 0);
}

void DSSystemStenvik::updateGeometry(DoorSet& doorSet, bool keepDoorWidths) {
    if (!keepDoorWidths)
        resizeDoors(doorSet, doorSet.height - 330, standardDoorWidth(doorSet));
    assignEdgeProfiles(doorSet, nullptr, articleByCode("KS14"));
    layoutSplitters(doorSet);
    layoutInserts(doorSet);
}

void DSSystemStenvik::fitFilling(Insert& insert, int32_t topEdgeWidth, int32_t bottomEdgeWidth) {
    fitChipboardOrGlass(*this, insert, topEdgeWidth, bottomEdgeWidth);
}

void DSSystemStenvik::calculate(DoorSet& doorSet, CalcResult& result, const ProfileColor* color) {
    clearResult(result);
    recordDoorTracks(result, doorSet);
    addDoorFrameGroup(*this, result, doorSet, color, false);
    // Стенвик's doors have a bottom edge only; a top group would be billed at the first price.
    addHorizontalEdgesGroups(result, doorSet, color, nullptr);
    addSplitterGroupsByProfile(*this, result, doorSet, color, false);
    addOpeningTracks(result, doorSet, color);

    const int n = doorSet.doorsInUse();
    addEndBrushLine(*this, result, doorSet, "KL13", n, nullptr);
    addStopperPerDoorLine(*this, result, "KL14", n);
    addRollerKitLine(result, doorSet, dynamic_cast<const RollerKit*>(articleByCode("W1406")));

    addSideSeals(*this, result, doorSet, true);
    calculateFillings(doorSet, result);
}
