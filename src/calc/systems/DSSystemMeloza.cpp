#include "calc/systems/DSSystemMeloza.h"

#include "calc/CalcResult.h"
#include "calc/DoorShares.h"
#include "catalog/Article.h"
#include "catalog/HandleProfile.h"
#include "catalog/RollerKit.h"
#include "catalog/SplitterProfile.h"
#include "model/DoorSet.h"
#include "text/ByteReader.h"
#include "text/ByteWriter.h"

#include <algorithm>
#include <string_view>

namespace {

constexpr int32_t kUsualMounting = 1;
constexpr int32_t kInsideOpening = 0;

// Mounted inside the opening the doors stand 4 mm above the opening height; in the usual mounting
// they are 62 mm lower.
constexpr int32_t kInsideHeightAllowance = 40;
constexpr int32_t kUsualHeightAllowance = -620;

std::string_view handleCode(const DoorSet& doorSet) {
    return doorSet.handleProfile != nullptr ? std::string_view(doorSet.handleProfile->code)
                                            : std::string_view();
}

int32_t articleDimB(const Article* a) {
    return a != nullptr ? a->dimB : 0;
}

} // namespace

DSSystemMeloza::DSSystemMeloza(int32_t catalogIndex, std::string displayName, int32_t picture)
    : DSSystem(catalogIndex, std::move(displayName), picture, 0, 0) {
    systemKind = SystemMeloza;
    tracksSwapped = 1;
}

const std::vector<HandleProfile*>& DSSystemMeloza::offeredHandles() {
    if (mountingMode == kInsideOpening)
        return handleProfiles;
    if (!filteredBuilt_) {
        for (HandleProfile* h : handleProfiles)
            if (h == nullptr || h->code != "KL150")
                filteredHandles_.push_back(h);
        filteredBuilt_ = true;
    }
    return filteredHandles_;
}

int DSSystemMeloza::handleProfileCount() {
    return static_cast<int>(offeredHandles().size());
}

std::vector<HandleProfile*>& DSSystemMeloza::listHandleProfiles(std::vector<HandleProfile*>& out) {
    out = offeredHandles();
    return out;
}

int DSSystemMeloza::maxDoors() {
    return mountingMode == kUsualMounting ? 4 : 2;
}

bool DSSystemMeloza::swapTracksFlag() {
    tracksSwapped = mountingMode == kInsideOpening ? 1 : 0;
    return tracksSwapped != 0;
}

void DSSystemMeloza::assignTracks(DoorSet& doorSet) {
    for (int i = 0; i < kMaxDoors; ++i)
        doorSet.doors[i].track = mountingMode == kInsideOpening ? 0 : i % 2;
}

int DSSystemMeloza::clampDoorCount(int n) {
    // Three doors cannot be hung in the usual mounting; the door set takes four.
    if (mountingMode == kUsualMounting && n == 3)
        return 4;
    return std::min(maxDoors(), n);
}

int32_t DSSystemMeloza::standardDoorHeight(const DoorSet& doorSet) const {
    return doorSet.height +
           (mountingMode == kInsideOpening ? kInsideHeightAllowance : kUsualHeightAllowance);
}

int32_t DSSystemMeloza::standardDoorWidth(const DoorSet& doorSet) const {
    const int32_t w = doorSet.openingWidth;
    const int32_t n = std::max(doorSet.doorCount, 1);
    const std::string_view code = handleCode(doorSet);
    if (mountingMode == kInsideOpening) {
        // The doors reach past the opening by what the handle profile needs on both sides.
        if (code == "KL300N")
            return w / n + 1310;
        if (code == "KL150")
            return w / n + 670;
        if (code == "KL100")
            return w / n + 1030;
        return w / n;
    }
    if (n == 1) {
        if (code == "KL300N")
            return w - static_cast<int32_t>((w - 1360) * 0.5) - 50;
        if (code == "KL100")
            return w - static_cast<int32_t>((w - 1130) * 0.5) - 100;
        return w / n;
    }
    const int32_t overlap = doorSet.handleProfile != nullptr ? doorSet.handleProfile->dimA : 0;
    return overlap / 2 - 50 + w / n;
}

int32_t DSSystemMeloza::nominalWidth(const DoorSet& doorSet, int32_t doorWidth) const {
    if (mountingMode == kUsualMounting && doorSet.doorCount == 1)
        return doorSet.openingWidth;
    return doorSet.doorCount * doorWidth;
}

void DSSystemMeloza::updateGeometry(DoorSet& doorSet, bool keepDoorWidths) {
    if (!keepDoorWidths) {
        DoorProportions proportions{};
        const bool noProportions = captureProportions(doorSet, proportions);
        const int32_t doorWidth = standardDoorWidth(doorSet);
        const int32_t nominal = nominalWidth(doorSet, doorWidth);
        if (nominal >= 0)
            doorSet.doorsNominalWidth = nominal;
        applyDoorSizes(doorSet, standardDoorHeight(doorSet), doorWidth);
        if (!noProportions)
            distributeWidths(doorSet, proportions);
    }
    const int32_t depth = doorSet.handleProfile != nullptr ? doorSet.handleProfile->dimB : 0;
    assignFrameEdges(doorSet, articleByCode("KL08"), articleByCode("KL07"), 2 * (5 - depth));
    layoutSplitters(doorSet);
    layoutInserts(doorSet);
}

void DSSystemMeloza::layoutSplitters(DoorSet& doorSet) {
    const int n = doorSet.doorsInUse();
    for (int i = 0; i < n; ++i) {
        Door& door = doorSet.doors[i];
        const int32_t leftDepth = articleDimB(door.edges[EdgeLeft].profile);
        const int32_t rightDepth = articleDimB(door.edges[EdgeRight].profile);
        for (auto& [id, s] : door.splitters) {
            int32_t cut = s.length;
            // Only a horizontal splitter's ends at the frame reach into the handle profile.
            if (!s.vertical) {
                if (s.startSplitter == nullptr)
                    cut = s.length - leftDepth + 5;
                if (s.endSplitter == nullptr)
                    cut += 5 - rightDepth;
            }
            s.cutLength = cut;
            s.edgeOffset = s.position - (s.profile != nullptr ? s.profile->dimC : 0) / 2;
        }
    }
}

void DSSystemMeloza::fitFilling(Insert& insert, int32_t /*topEdgeWidth*/,
                                int32_t /*bottomEdgeWidth*/) {
    fitFillingShrinkAllSides(insert, true);
}

void DSSystemMeloza::calculate(DoorSet& doorSet, CalcResult& result, const ProfileColor* color) {
    clearResult(result);
    recordDoorTracks(result, doorSet);
    addStandardProfileGroups(result, doorSet, color);

    const int32_t w = doorSet.openingWidth;
    const int n = doorSet.doorsInUse();
    int32_t upper = 0;
    int32_t lower = 0;
    // Two or four doors hang on two tracks: an upper running profile of the opening width each.
    int32_t upperPieces = 1;
    if (mountingMode == kUsualMounting) {
        upperPieces = (n == 2 || n == 4) ? 2 : 1;
        upper = upperPieces * w;
        lower = w;
    } else {
        int64_t doorWidths = 0;
        for (int i = 0; i < n; ++i)
            doorWidths += doorSet.doors[i].width;
        upper = lower = static_cast<int32_t>(w + 100 + doorWidths);
    }
    addLengthLine(result, "ME01", upper, color, upperPieces);
    addLengthLine(result, "ME02", lower, color);

    if (handleCode(doorSet) == "KL100")
        addEndBrushLine(*this, result, doorSet, "ME-SHL", n, nullptr);
    addRollerKitLine(result, doorSet, dynamic_cast<const RollerKit*>(articleByCode("ME03")));

    calculateFillings(doorSet, result);
}

void DSSystemMeloza::calculateFillings(DoorSet& doorSet, CalcResult& result) {
    calculateFillingsWithPerimeterSeal(doorSet, result, "KL17");
}

void DSSystemMeloza::writeSketchBlock(ByteWriter& file, int version) {
    DSSystem::writeSketchBlock(file, version);
    if (version > 4)
        file.i32(mountingMode);
}

bool DSSystemMeloza::parseSketchBlock(ByteReader& file, int version, SketchBlockData& data) {
    if (!DSSystem::parseSketchBlock(file, version, data))
        return false;
    if (version > 4) {
        const int32_t mode = file.i32();
        if (!file.ok())
            return false;
        data.mountingMode = mode;
    }
    return true;
}

void DSSystemMeloza::applySketchBlock(const SketchBlockData& data) {
    DSSystem::applySketchBlock(data);
    // Only the two modes exist; a damaged value means the usual mounting.
    if (data.mountingMode)
        mountingMode = *data.mountingMode == kInsideOpening ? kInsideOpening : kUsualMounting;
}
