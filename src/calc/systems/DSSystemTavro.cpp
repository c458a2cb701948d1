#include "calc/systems/DSSystemTavro.h"

#include "calc/AlternatingVerticals.h"
#include "calc/CalcResult.h"
#include "calc/DoorShares.h"
#include "calc/FillingFits.h"
#include "calc/Seals.h"
#include "calc/SplitterGroups.h"
#include "catalog/HandleProfile.h"
#include "catalog/RollerKit.h"
#include "catalog/SplitterProfile.h"
#include "model/DoorSet.h"

#include <algorithm>

namespace {

// Overlap of two neighbouring doors on different tracks (0.1 mm).
constexpr int32_t kDoorOverlap = 150;

} // namespace

DSSystemTavro::DSSystemTavro(int32_t catalogIndex, std::string displayName, int32_t picture)
    : DSSystem(catalogIndex, std::move(displayName), picture, 1, 1) {
    systemKind = SystemTavro;
}

void DSSystemTavro::setHeight(DoorSet& doorSet, int32_t height, int32_t chipboardThickness,
                              int32_t plinthHeight) {
    DSSystem::setHeight(doorSet, cabinetDoorHeight(height, chipboardThickness, plinthHeight),
                        chipboardThickness, plinthHeight);
}

int DSSystemTavro::minPlinthHeight() {
    return 540;
}

int32_t DSSystemTavro::standardDoorWidth(const DoorSet& doorSet) const {
    return overlappingDoorWidth(doorSet, kDoorOverlap, 0);
}

void DSSystemTavro::updateGeometry(DoorSet& doorSet, bool keepDoorWidths) {
    if (!keepDoorWidths)
        resizeDoors(doorSet, doorSet.height, standardDoorWidth(doorSet));
    // "По краям TL13" off: the splitter profile TL13 frames the doors at the top and bottom.
    const Article* horizontal = edgeOption == 0 ? splitterProfileByCode("TL13") : nullptr;
    assignEdgeProfiles(doorSet, horizontal, horizontal);
    layoutSplitters(doorSet);
    layoutInserts(doorSet);
}

void DSSystemTavro::fitFilling(Insert& insert, int32_t topEdgeWidth, int32_t bottomEdgeWidth) {
    fitChipboardOrGlass(*this, insert, topEdgeWidth, bottomEdgeWidth);
}

const RollerKit* DSSystemTavro::automaticKit(int doorCount, int32_t& quantity) const {
    // A three-door kit serves every door count divisible by three; otherwise two-door kits, one
    // more for the odd door.
    if (doorCount % 3 == 0) {
        quantity = doorCount / 3;
        return dynamic_cast<const RollerKit*>(articleByCode("TL12-1"));
    }
    quantity = doorCount / 2 + (doorCount % 2 == 0 ? 0 : 1);
    return dynamic_cast<const RollerKit*>(articleByCode("TL12"));
}

void DSSystemTavro::calculate(DoorSet& doorSet, CalcResult& result, const ProfileColor* color) {
    clearResult(result);
    recordDoorTracks(result, doorSet);
    const HandleProfile* handle = doorSet.handleProfile;
    const bool narrowHandle = handle != nullptr && handle->code == "TL02";
    addAlternatingVerticalGroups(*this, result, doorSet,
                                 articleByCode(narrowHandle ? "TL04" : "TL03"), color);
    addSplitterGroupsByProfile(*this, result, doorSet, color, true);

    addLengthLine(result, "KI01", doorSet.openingWidth, color);
    addLengthLine(result, "TL10NEW", doorSet.openingWidth, color);

    // Filler strips at the cabinet's sides: a large one when the doors end on different tracks.
    const int n = doorSet.doorCount;
    if (n % 2 == 0)
        addLengthLine(result, "TL07", doorSet.height, nullptr);
    addLengthLine(result, "TL06", (n % 2 + 1) * doorSet.height, nullptr, n % 2 + 1);

    int32_t quantity = 0;
    const RollerKit* kit = automaticKit(n, quantity);
    addRollerKitLine(result, doorSet, kit, quantity);

    addSideSeals(*this, result, doorSet, true);
    calculateFillings(doorSet, result);
}
