#include "calc/systems/DSSystemNorsia.h"

#include "calc/AlternatingVerticals.h"
#include "calc/CabinetTracks.h"
#include "calc/CalcResult.h"
#include "calc/DoorShares.h"
#include "calc/Seals.h"
#include "catalog/HandleProfile.h"
#include "catalog/Material.h"
#include "catalog/RollerKit.h"
#include "model/DoorSet.h"

#include <algorithm>
#include <vector>

DSSystemNorsia::DSSystemNorsia(int32_t catalogIndex, std::string displayName, int32_t picture)
    : DSSystem(catalogIndex, std::move(displayName), picture, 1, 0) {
    systemKind = SystemNorsia;
}

void DSSystemNorsia::setHeight(DoorSet& doorSet, int32_t height, int32_t chipboardThickness,
                               int32_t plinthHeight) {
    DSSystem::setHeight(doorSet, cabinetDoorHeight(height, chipboardThickness, plinthHeight),
                        chipboardThickness, plinthHeight);
}

int DSSystemNorsia::minPlinthHeight() {
    return 650;
}

int32_t DSSystemNorsia::standardDoorWidth(const DoorSet& doorSet) const {
    return overlappingDoorWidth(doorSet, 220, 20);
}

void DSSystemNorsia::updateGeometry(DoorSet& doorSet, bool keepDoorWidths) {
    if (!keepDoorWidths)
        resizeDoors(doorSet, doorSet.height, standardDoorWidth(doorSet));
    const int32_t depth = doorSet.handleProfile != nullptr ? doorSet.handleProfile->dimB : 0;
    const Article* frame = articleByCode("KN03");
    assignFrameEdges(doorSet, frame, frame, -2 * depth);
    layoutSplitters(doorSet);
    layoutInserts(doorSet);
}

void DSSystemNorsia::fitFilling(Insert& insert, int32_t topEdgeWidth, int32_t bottomEdgeWidth) {
    if (insert.material == nullptr)
        return;
    switch (insert.material->thickness) {
    case 0:
    case 100:
        break;
    case 40:
        shrinkFilling(insert, 10, isBounded(insert, topEdgeWidth, bottomEdgeWidth));
        break;
    default:
        insert.thicknessMismatch = true;
        return;
    }
    insert.thicknessMismatch = false;
}

void DSSystemNorsia::calculate(DoorSet& doorSet, CalcResult& result, const ProfileColor* color) {
    clearResult(result);
    recordDoorTracks(result, doorSet);
    addAlternatingVerticalGroups(*this, result, doorSet, articleByCode("KN02"), color);

    // The frame profile: every door's top edge length twice (top and bottom are equal).
    const int n = doorSet.doorsInUse();
    if (const Article* frame = articleByCode("KN03")) {
        std::vector<CutPiece> pieces;
        for (int i = 0; i < n; ++i) {
            const Door& door = doorSet.doors[i];
            const int32_t top = door.edges[EdgeTop].cutLength;
            for (int side : {EdgeTop, EdgeBottom}) {
                const Edge& edge = door.edges[side];
                pieces.push_back({top, edge.cutLength, edge.number, i});
            }
        }
        std::vector<int32_t> lengths;
        for (const CutPiece& p : pieces)
            lengths.push_back(p.length);
        if (packBars(*frame, lengths, color).quantity > 0)
            addBarGroup(result, *frame, pieces, color);
    }
    addSplittersGroup(result, doorSet, color);

    addCabinetTracks(*this, result, doorSet, color);
    addLengthLine(result, "KN06", doorSet.height, color);
    addLengthLine(result, "KN07", doorSet.height, color);
    addRollerKitLine(result, doorSet, dynamic_cast<const RollerKit*>(articleByCode("KNR01")),
                     (n + 1) / 2);

    addGlassPerimeterSeal(*this, result, doorSet, "KN17");
    calculateFillings(doorSet, result);
}
