#include "calc/systems/DSSystemFolm.h"

#include "calc/CabinetTracks.h"
#include "calc/CalcResult.h"
#include "calc/DoorFrameGroup.h"
#include "calc/DoorShares.h"
#include "calc/Seals.h"
#include "calc/Totals.h"
#include "catalog/HandleProfile.h"
#include "catalog/Material.h"
#include "catalog/RollerKit.h"
#include "catalog/SplitterProfile.h"
#include "model/DoorSet.h"

#include <algorithm>
#include <vector>

namespace {

// What the cover strip of a splitter leaves free at each end (0.1 mm).
constexpr int32_t kStripGapAtSplitter = 40;
constexpr int32_t kStripGapAtFrame = 570;

int32_t stripGap(const Splitter* end) {
    return end != nullptr ? kStripGapAtSplitter : kStripGapAtFrame;
}

// Kits and hardware sets serve two doors each.
int32_t setsForDoors(int32_t n) {
    return (n + 1) / 2;
}

} // namespace

DSSystemFolm::DSSystemFolm(int32_t catalogIndex, std::string displayName, int32_t picture)
    : DSSystem(catalogIndex, std::move(displayName), picture, 1, 0) {
    systemKind = SystemFolm;
}

void DSSystemFolm::setHeight(DoorSet& doorSet, int32_t height, int32_t chipboardThickness,
                             int32_t plinthHeight) {
    DSSystem::setHeight(doorSet, cabinetDoorHeight(height, chipboardThickness, plinthHeight),
                        chipboardThickness, plinthHeight);
}

int DSSystemFolm::minPlinthHeight() {
    return 650;
}

int32_t DSSystemFolm::standardDoorWidth(const DoorSet& doorSet) const {
    return overlappingDoorWidth(doorSet, 140, 40);
}

void DSSystemFolm::updateGeometry(DoorSet& doorSet, bool keepDoorWidths) {
    if (!keepDoorWidths)
        resizeDoors(doorSet, doorSet.height, standardDoorWidth(doorSet));
    // The handle profile frames the door on all four sides.
    assignFrameEdges(doorSet, doorSet.handleProfile, doorSet.handleProfile, 0);
    layoutSplitters(doorSet);
    layoutInserts(doorSet);
}

void DSSystemFolm::fitFilling(Insert& insert, int32_t topEdgeWidth, int32_t bottomEdgeWidth) {
    if (insert.material == nullptr)
        return;
    const bool bounded = isBounded(insert, topEdgeWidth, bottomEdgeWidth);
    switch (insert.material->thickness) {
    case 40:
        shrinkFilling(insert, 15, bounded);
        break;
    case 0:
    case 100:
        shrinkFilling(insert, 5, bounded);
        break;
    default:
        insert.thicknessMismatch = true;
        return;
    }
    insert.thicknessMismatch = false;
}

void DSSystemFolm::calculate(DoorSet& doorSet, CalcResult& result, const ProfileColor* color) {
    clearResult(result);
    recordDoorTracks(result, doorSet);
    addDoorFrameGroup(*this, result, doorSet, color, true);

    // The splitters, then their cover strip, each group only when it has pieces.
    const int n = doorSet.doorsInUse();
    addSplittersGroup(result, doorSet, color);
    std::vector<CutPiece> strips;
    bool tooShort = false;
    for (int i = 0; i < n; ++i) {
        for (const auto& [id, s] : doorSet.doors[i].splitters) {
            if (s.profile == nullptr)
                continue;
            int32_t strip = s.cutLength - stripGap(s.startSplitter) - stripGap(s.endSplitter);
            if (strip < 0) {
                strip = 0;
                tooShort = true;
            }
            strips.push_back({strip, strip, s.number, i});
        }
    }
    if (!strips.empty()) {
        if (const Article* cover = articleByCode("KF04")) {
            ArticleRow& row = addBarGroup(result, *cover, strips, color);
            if (tooShort)
                row.error = calctext::kCoverStripTooShort;
        }
    }

    addCabinetTracks(*this, result, doorSet, color);

    // A filler strip at each side of the cabinet.
    addLengthLine(result, "KF07", 2 * doorSet.height, color, 2);
    addRollerKitLine(result, doorSet, dynamic_cast<const RollerKit*>(articleByCode("KFR01")),
                     setsForDoors(n));
    // The hardware set is billed without a cut row and without a group number.
    if (const Article* hardware = articleByCode("KFR03")) {
        ArticleRow row;
        row.code = hardware->code;
        row.name = hardware->name;
        row.quantity = setsForDoors(n);
        row.cost = int64_t{basePrice(*hardware)} * row.quantity;
        row.counted = 1;
        totals::refuseUnfitCost(row.cost, row.error);
        result.articles.push_back(std::move(row));
    }

    addGlassPerimeterSeal(*this, result, doorSet, "KF06");
    calculateFillings(doorSet, result);
}
