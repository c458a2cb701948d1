#include "calc/systems/DSSystemKvert.h"

#include "calc/CalcResult.h"
#include "calc/DoorShares.h"
#include "calc/Seals.h"
#include "calc/SplitterGroups.h"
#include "catalog/HandleProfile.h"
#include "catalog/Material.h"
#include "catalog/RollerKit.h"
#include "model/DoorSet.h"

#include <algorithm>

DSSystemKvert::DSSystemKvert(int32_t catalogIndex, std::string displayName, int32_t picture)
    : DSSystem(catalogIndex, std::move(displayName), picture, 0, 0) {
    systemKind = SystemKvert;
}

int32_t DSSystemKvert::standardDoorWidth(const DoorSet& doorSet) const {
    const int32_t overlap = doorSet.handleProfile != nullptr ? doorSet.handleProfile->dimA : 0;
    return overlappingDoorWidth(doorSet, overlap, 0);
}

void DSSystemKvert::updateGeometry(DoorSet& doorSet, bool keepDoorWidths) {
    if (!keepDoorWidths)
        resizeDoors(doorSet, doorSet.height - 390, standardDoorWidth(doorSet));
    assignEdgeProfiles(doorSet, nullptr, nullptr);
    layoutSplitters(doorSet);
    layoutInserts(doorSet);
}

void DSSystemKvert::fitFilling(Insert& insert, int32_t /*topEdgeWidth*/,
                               int32_t /*bottomEdgeWidth*/) {
    if (insert.material == nullptr)
        return;
    switch (insert.material->thickness) {
    case 0:
    case 160:
        break;
    case 40:
        // A glass sits in a seal where it meets the handle profile.
        if (insert.leftSplitter == nullptr)
            insert.fillX += 15;
        if (insert.rightSplitter == nullptr)
            insert.fillWidth -= 30;
        break;
    default:
        insert.thicknessMismatch = true;
        return;
    }
    insert.thicknessMismatch = false;
}

void DSSystemKvert::calculate(DoorSet& doorSet, CalcResult& result, const ProfileColor* color) {
    clearResult(result);
    recordDoorTracks(result, doorSet);
    addVerticalEdgesGroup(result, doorSet, color);
    addSplitterGroupsByProfile(*this, result, doorSet, color, false);
    addOpeningTracks(result, doorSet, color);

    const int n = doorSet.doorsInUse();
    addEndBrushLine(*this, result, doorSet, "KL13", n, nullptr);
    addStopperPerDoorLine(*this, result, "KL14", n);
    addRollerKitLine(result, doorSet, dynamic_cast<const RollerKit*>(articleByCode("KSA")));

    addSideSeals(*this, result, doorSet, false);
    calculateFillings(doorSet, result);
}
