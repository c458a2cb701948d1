#include "calc/systems/DSSystemLoven.h"

#include "calc/CalcResult.h"
#include "calc/DoorShares.h"
#include "catalog/Article.h"
#include "catalog/HandleProfile.h"
#include "catalog/RollerKit.h"
#include "catalog/SystemLists.h"
#include "model/DoorSet.h"
#include "text/ByteReader.h"
#include "text/ByteWriter.h"

#include <algorithm>

namespace {

// Height adjustments (mm) a sketch file may set. The program offers -40 and -33; anything beyond
// a decimetre either way is damage, and a lower value could make the doors of the lowest opening
// (100 mm) negative.
constexpr int32_t kMinHeightAdjust = -100;
constexpr int32_t kMaxHeightAdjust = 100;

} // namespace

DSSystemLoven::DSSystemLoven(int32_t catalogIndex, std::string displayName, int32_t picture)
    : DSSystem(catalogIndex, std::move(displayName), picture, 0, 0) {
    systemKind = SystemLoven;
}

void DSSystemLoven::takeLists(const SystemLists& lists) {
    DSSystem::takeLists(lists);
    pivotKit = dynamic_cast<RollerKit*>(lists.pivotKit);
}

int32_t DSSystemLoven::standardDoorHeight(const DoorSet& doorSet) const {
    if (pivotMode)
        return doorSet.height - 250;
    return doorSet.height + 10 * heightAdjust;
}

int32_t DSSystemLoven::standardDoorWidth(const DoorSet& doorSet) const {
    const int32_t n = std::max(doorSet.doorCount, 1);
    const int32_t w = doorSet.openingWidth;
    if (pivotMode)
        return (w - 3 * (n + 1)) / n; // a 0.3 mm gap at each end and between the doors
    const HandleProfile* handle = doorSet.handleProfile;
    const Article* brush = articleByCode("KL13");
    const int32_t overlap = handle != nullptr ? handle->dimA : 0;
    const int32_t brushWidth = brush != nullptr ? brush->dimC : 0;
    return (overlapCount(doorSet) * overlap + w - 2 * brushWidth) / n;
}

void DSSystemLoven::updateGeometry(DoorSet& doorSet, bool keepDoorWidths) {
    if (!keepDoorWidths)
        resizeDoors(doorSet, standardDoorHeight(doorSet), standardDoorWidth(doorSet));
    const HandleProfile* handle = doorSet.handleProfile;
    const int32_t depth = handle != nullptr ? handle->dimB : 0;
    assignFrameEdges(doorSet, articleByCode("KL08"), articleByCode("KL07"), 2 * (5 - depth));
    layoutSplitters(doorSet);
    layoutInserts(doorSet);
}

void DSSystemLoven::assignTracks(DoorSet& doorSet) {
    if (doorSet.doorCount > 2)
        pivotMode = 0;
    for (int i = 0; i < kMaxDoors; ++i)
        doorSet.doors[i].track = pivotMode ? 0 : i % 2;
}

void DSSystemLoven::choosePivotMode(DoorSet& doorSet, bool pivot) {
    pivotMode = pivot ? 1 : 0;
    assignTracks(doorSet);
}

void DSSystemLoven::chooseHeightAdjust(DoorSet& doorSet, const std::string& entry) {
    heightAdjust = entry == "-40" ? -40 : -33;
    doorSet.resizeAllDoors = true;
    doorSet.changed = true;
}

void DSSystemLoven::fitFilling(Insert& insert, int32_t /*topEdgeWidth*/,
                               int32_t /*bottomEdgeWidth*/) {
    fitFillingShrinkAllSides(insert, true);
}

void DSSystemLoven::calculate(DoorSet& doorSet, CalcResult& result, const ProfileColor* color) {
    clearResult(result);
    // The pivot mechanism turns every door on one pivot profile.
    recordDoorTracks(result, doorSet, pivotMode != 0);
    addStandardProfileGroups(result, doorSet, color);

    // The pivot profile runs at the top and at the bottom of the opening: two pieces.
    if (pivotMode)
        addLengthLine(result, "KL04", 2 * doorSet.openingWidth, color, 2);
    else
        addOpeningTracks(result, doorSet, color);

    if (pivotMode) {
        if (pivotKit != nullptr)
            addKitLine(result, doorSet, *pivotKit, true);
    } else {
        const HandleProfile* handle = doorSet.handleProfile;
        const char* automatic =
            (handle != nullptr && handle->rollerKind == 1) ? "KL10/11B" : "KL010/011B";
        addRollerKitLine(result, doorSet, dynamic_cast<const RollerKit*>(articleByCode(automatic)));
        const int32_t n = doorSet.doorCount;
        addEndBrushLine(*this, result, doorSet, "KL13", n, color);
        addStopperPerDoorLine(*this, result, "KL14", n);
    }

    calculateFillings(doorSet, result);
}

void DSSystemLoven::calculateFillings(DoorSet& doorSet, CalcResult& result) {
    calculateFillingsWithPerimeterSeal(doorSet, result, "KL17");
}

void DSSystemLoven::writeSketchBlock(ByteWriter& file, int version) {
    DSSystem::writeSketchBlock(file, version);
    if (version > 4)
        file.u8(pivotMode);
    if (version > 5)
        file.i32(heightAdjust);
}

bool DSSystemLoven::parseSketchBlock(ByteReader& file, int version, SketchBlockData& data) {
    if (!DSSystem::parseSketchBlock(file, version, data))
        return false;
    if (version > 4) {
        const uint8_t pivot = file.u8();
        if (!file.ok())
            return false;
        data.pivotMode = pivot;
    }
    if (version > 5) {
        const int32_t adjust = file.i32();
        if (!file.ok() || adjust < kMinHeightAdjust || adjust > kMaxHeightAdjust)
            return false;
        data.heightAdjust = adjust;
    }
    return true;
}

void DSSystemLoven::applySketchBlock(const SketchBlockData& data) {
    DSSystem::applySketchBlock(data);
    if (data.pivotMode)
        pivotMode = *data.pivotMode != 0 ? 1 : 0;
    if (data.heightAdjust)
        heightAdjust = *data.heightAdjust;
}
