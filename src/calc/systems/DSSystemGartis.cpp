#include "calc/systems/DSSystemGartis.h"

#include "calc/CalcResult.h"
#include "calc/DoorShares.h"
#include "catalog/Article.h"
#include "catalog/RollerKit.h"
#include "catalog/SystemLists.h"
#include "model/DoorSet.h"

#include <algorithm>

DSSystemGartis::DSSystemGartis(int32_t catalogIndex, std::string displayName, int32_t picture)
    : DSSystem(catalogIndex, std::move(displayName), picture, 0, 0) {
    systemKind = SystemGartis;
}

void DSSystemGartis::takeLists(const SystemLists& lists) {
    DSSystem::takeLists(lists);
    railVariant = lists.railVariant;
    frameVariant = lists.frameVariant;
}

bool DSSystemGartis::railIs(const char* code) const {
    return railVariant != nullptr && railVariant->code == code;
}

bool DSSystemGartis::frameIs(const char* code) const {
    return frameVariant != nullptr && frameVariant->code == code;
}

void DSSystemGartis::nextRailVariant() {
    if (railIs("KG01")) {
        railVariant = articleByCode("KG02");
        frameVariant = articleByCode("KG04");
    } else {
        railVariant = articleByCode("KG01");
    }
}

void DSSystemGartis::nextFrameVariant() {
    if (railIs("KG02") || frameIs("KG03"))
        frameVariant = articleByCode("KG04");
    else
        frameVariant = articleByCode("KG03");
}

int32_t DSSystemGartis::standardDoorWidth(const DoorSet& doorSet) const {
    // On the two-runner rail neighbouring doors on different tracks overlap by 5 mm.
    return overlappingDoorWidth(doorSet, railIs("KG01") ? 50 : 0, 0);
}

int32_t DSSystemGartis::standardDoorHeight(const DoorSet& doorSet) const {
    return doorSet.height - (frameIs("KG03") ? 160 : 450);
}

void DSSystemGartis::updateGeometry(DoorSet& doorSet, bool /*keepDoorWidths*/) {
    // The doors hang from the rail: they are sized on every recalculation, sketch edits included.
    resizeDoors(doorSet, standardDoorHeight(doorSet), standardDoorWidth(doorSet));
    layoutInserts(doorSet);
}

void DSSystemGartis::calculate(DoorSet& doorSet, CalcResult& result, const ProfileColor* color) {
    clearResult(result);
    const int32_t n = doorSet.doorsInUse();
    const int32_t w = doorSet.openingWidth;
    const bool twoRunners = railIs("KG01");
    // On the one-runner rail every door hangs in the same row.
    recordDoorTracks(result, doorSet, !twoRunners);

    if (railVariant != nullptr)
        addLengthLine(result, *railVariant, w, color);
    // The two-runner rail is guided at the top and at the bottom: two guide pieces.
    if (frameVariant != nullptr)
        addLengthLine(result, *frameVariant, twoRunners ? 2 * w : w, color, twoRunners ? 2 : 1);

    addRollerKitLine(result, doorSet, dynamic_cast<const RollerKit*>(articleByCode("KG05")));
    // Two guide parts and two fixing screws on every door.
    const std::vector<int32_t> twoEach(static_cast<size_t>(std::max(n, 0)), 2);
    addPartsPerDoorLine(*this, result, "KG16", twoEach);

    addPartsPerDoorLine(*this, result, "KG06", twoEach);
    if (twoRunners)
        addStoppersBetweenDoorsLine(*this, result, "KG07", n - 1);
    addPieceLine(result, "KG08", 1);
    addPieceLine(result, "KG09", 1);
    if (n - 2 > 0)
        addPieceLine(result, "KG10", n - 2);

    addPieceLine(result, "KG11", 2 * n + 1);
    addPieceLine(result, "KG12/KG13", 4 * n);

    // The surface-mounted frame needs two corners on every door: front-door corners on the odd
    // doors, rear-door corners on the even ones (2 × floor(n / 2) and 2 × ceil(n / 2)).
    if (!frameIs("KG04")) {
        std::vector<int32_t> front, rear;
        for (int32_t i = 0; i < n; ++i) {
            front.push_back(i % 2 == 1 ? 2 : 0);
            rear.push_back(i % 2 == 0 ? 2 : 0);
        }
        addPartsPerDoorLine(*this, result, "KG14", front);
        addPartsPerDoorLine(*this, result, "KG15", rear);
    }

    calculateFillings(doorSet, result);
}
