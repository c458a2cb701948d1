#include "model/Project.h"

#include "calc/DSSystem.h"
#include "calc/Totals.h"
#include "calc/systems/DSSystemMeloza.h"
#include "catalog/Catalog.h"
#include "model/OrderNumberFile.h"
#include "text/Format.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

Project::Project(Catalog& catalog) : catalog_(&catalog) {
    order.newOrder(OrderNumberFile(catalog.baseFolder()).readPath());
    if (catalog.systems().empty() || !catalog.systems().front()) {
        throw std::invalid_argument("the catalog offers no sliding-door system");
    }
    system = catalog.systems().front();
    chooseHandleProfile();
    recheckColor();
    recheckSplitterProfile();
    createDoorSet();
    recalculate(false);
}

const HandleProfile* Project::firstHandleProfileOf(DSSystem& s) const {
    // The system's own list: a system may hide profiles in some of its modes.
    std::vector<HandleProfile*> offered;
    s.listHandleProfiles(offered);
    return offered.empty() ? nullptr : offered.front();
}

void Project::chooseHandleProfile() {
    handleProfile = firstHandleProfileOf(*system);
}

bool Project::standardDoorsFit(DSSystem& s, int32_t width, int32_t h, int32_t count,
                               int32_t thickness, int32_t plinth,
                               const HandleProfile* handle) const {
    // Door sizes do not depend on the doors' content: a fresh door set shows them.
    DoorSet probe(width, h, count, handle, s.swapTracksFlag());
    if (&s == system) {
        for (int i = 0; i < kMaxDoors; ++i) {
            probe.doors[i].track = doors->doors[i].track; // overlaps widen the doors
        }
    }
    s.setHeight(probe, h, thickness, plinth);
    s.updateGeometry(probe, false);
    return probe.sizesStorable();
}

bool Project::doorsFit(int32_t width, int32_t h, int32_t count, int32_t thickness,
                       int32_t plinth) const {
    return standardDoorsFit(*system, width, h, count, thickness, plinth, handleProfile);
}

void Project::recheckColor() {
    if (!handleProfile) {
        color = nullptr;
        return;
    }
    const auto& choices = handleProfile->colorChoices;
    const bool offered = std::any_of(choices.begin(), choices.end(),
                                     [&](const ColorChoice& c) { return c.color == color; });
    if ((!color || !offered) && !choices.empty()) {
        color = choices.front().color;
    }
}

void Project::recheckSplitterProfile() {
    const auto& offered = system->splitterProfiles;
    if (!splitterProfile ||
        std::find(offered.begin(), offered.end(), splitterProfile) == offered.end()) {
        splitterProfile = offered.empty() ? nullptr : offered.front();
    }
}

void Project::createDoorSet() {
    doors = std::make_unique<DoorSet>(openingWidth, height, doorCount, handleProfile,
                                      system->swapTracksFlag());
}

bool Project::setOpeningWidth(int32_t w) {
    if (w < kMinOpeningWidth || w > kMaxOpeningWidth ||
        !doorsFit(w, height, doorCount, chipboardThickness, plinthHeight)) {
        return false;
    }
    openingWidth = w;
    doors->previousWidth = doors->openingWidth;
    doors->openingWidth = w;
    doors->changed = true;
    recalculate(false);
    return true;
}

bool Project::setHeight(int32_t h) {
    if (h < kMinHeight || h > kMaxHeight ||
        !doorsFit(openingWidth, h, doorCount, chipboardThickness, plinthHeight)) {
        return false;
    }
    height = h;
    system->setHeight(*doors, h, chipboardThickness, plinthHeight);
    recalculate(false);
    return true;
}

bool Project::setDoorCount(int32_t n) {
    // The door set has ten doors; the system may allow fewer.
    const int32_t limit = std::min<int32_t>(kMaxDoors, system->maxDoors());
    if (n == doorCount || n < 1 || n > limit ||
        !doorsFit(openingWidth, height, n, chipboardThickness, plinthHeight)) {
        return false;
    }
    doorCount = n;
    doors->previousCount = doors->doorCount;
    doors->doorCount = n;
    doors->changed = true;
    doors->zoomDoor = -1;
    system->assignTracks(*doors);
    recalculate(false);
    return true;
}

bool Project::setChipboardThickness(int32_t t) {
    if (t < 0 || t > kMaxChipboardThickness ||
        !doorsFit(openingWidth, height, doorCount, t, plinthHeight)) {
        return false;
    }
    chipboardThickness = t;
    system->setHeight(*doors, height, t, plinthHeight);
    recalculate(false);
    return true;
}

bool Project::setPlinthHeight(int32_t p) {
    if (p < 0 || p > kMaxPlinthHeight ||
        !doorsFit(openingWidth, height, doorCount, chipboardThickness, p)) {
        return false;
    }
    plinthHeight = p;
    system->setHeight(*doors, height, chipboardThickness, p);
    recalculate(false);
    return true;
}

bool Project::setHandleProfile(const HandleProfile* h) {
    if (h == handleProfile || !standardDoorsFit(*system, openingWidth, height, doorCount,
                                                chipboardThickness, plinthHeight, h)) {
        return false;
    }
    handleProfile = h;
    doors->changed = true;
    doors->resizeAllDoors = true;
    recheckColor();
    doors->handleProfile = h;
    recalculate(false);
    return true;
}

bool Project::setColor(const ProfileColor* c) {
    if (c == color) {
        return false;
    }
    color = c;
    doors->changed = true;
    // Only the prices depend on the colour: no geometry update and no renumbering.
    system->calculate(*doors, result, color);
    buildElementList();
    return true;
}

bool Project::setSystem(DSSystem* s) {
    if (!s || s == system) {
        return false;
    }
    const int32_t count = std::clamp<int32_t>(s->clampDoorCount(doorCount), 1, kMaxDoors);
    if (!standardDoorsFit(*s, openingWidth, height, count, chipboardThickness, s->minPlinthHeight(),
                          firstHandleProfileOf(*s))) {
        return false;
    }
    system = s;
    doorCount = count;
    plinthHeight = s->minPlinthHeight();
    chooseHandleProfile();
    recheckColor();
    recheckSplitterProfile();
    resetDoors();
    return true;
}

bool Project::setSplitterProfile(const SplitterProfile* p) {
    if (p == splitterProfile) {
        return false;
    }
    splitterProfile = p;
    doors->changed = true;
    return true;
}

void Project::systemOptionsChanged() {
    if (system->maxDoors() < doorCount) {
        doorCount = std::max<int32_t>(1, system->maxDoors());
    }
    if (plinthHeight < system->minPlinthHeight()) {
        plinthHeight = system->minPlinthHeight();
    }
    chooseHandleProfile();
    recheckColor();
    recheckSplitterProfile();
    resetDoors();
}

bool Project::toggleMountingMode() {
    auto* meloza = dynamic_cast<DSSystemMeloza*>(system);
    if (system->systemKind != SystemMeloza || !meloza) {
        return false;
    }
    meloza->mountingMode = meloza->mountingMode == 1 ? 0 : 1;
    systemOptionsChanged();
    return true;
}

bool Project::toggleEdgeOption() {
    if (!system->hasEdgeOption) {
        return false;
    }
    system->edgeOption = system->edgeOption ? 0 : 1;
    doors->changed = true;
    recalculate(true);
    return true;
}

void Project::resetDoors() {
    doors.reset();
    createDoorSet();
    system->assignTracks(*doors);
    system->setHeight(*doors, height, chipboardThickness, plinthHeight);
    doors->changed = true;
    recalculate(false);
}

bool Project::setStockChoice(int choice) {
    if (!handleProfile || choice < 1 || choice > 3)
        return false;
    const int32_t lengths[] = {handleProfile->stockLength1, handleProfile->stockLength2,
                               handleProfile->stockLength3};
    if (lengths[choice - 1] <= 0)
        return false;
    // The choice belongs to the catalog's record, which the project only points to.
    for (HandleProfile* h : catalog_->handleTable()) {
        if (h == handleProfile) {
            h->stockChoice = static_cast<uint8_t>(choice);
            recalculate(false);
            return true;
        }
    }
    return false;
}

bool Project::setDoorWidths(const std::vector<int32_t>& widths) {
    if (widths.size() != static_cast<size_t>(doorCount))
        return false;
    for (int32_t w : widths)
        if (w <= 0)
            return false;
    for (int i = 0; i < doorCount; ++i) {
        Door& d = doors->doors[static_cast<size_t>(i)];
        if (d.width != widths[static_cast<size_t>(i)]) {
            d.laidOutWidth = d.width;
            d.width = widths[static_cast<size_t>(i)];
        }
        d.relayout(false);
    }
    doors->changed = true;
    recalculate(true);
    return true;
}

bool Project::setDoorTracks(const std::vector<int32_t>& tracks) {
    if (tracks.size() != static_cast<size_t>(doorCount))
        return false;
    for (int i = 0; i < doorCount; ++i) {
        Door& d = doors->doors[static_cast<size_t>(i)];
        // A door of width 0 makes the next geometry update give every door the standard width.
        d.laidOutWidth = d.width;
        d.width = 0;
        d.track = tracks[static_cast<size_t>(i)] == 1 ? 1 : 0;
    }
    doors->changed = true;
    doors->resizeAllDoors = true;
    recalculate(false);
    return true;
}

bool Project::addSplitterAtPoint(ScreenPoint p) {
    if (!splitterProfile) {
        return false;
    }
    if (!doors->addSplitterAtPoint(p, splitterProfile, splitterVertical)) {
        return false;
    }
    recalculate(true);
    return true;
}

bool Project::deleteSplitterAtPoint(ScreenPoint p) {
    if (!doors->deleteSplitterAtPoint(p)) {
        return false;
    }
    recalculate(true);
    return true;
}

bool Project::finishDrag(ScreenPoint p) {
    if (!doors->finishDrag(p)) {
        return false;
    }
    recalculate(true);
    return true;
}

bool Project::assignMaterial(const Material* m) {
    const bool assigned = doors->assignMaterial(m);
    doors->changed = true;
    recalculate(true);
    return assigned;
}

bool Project::assignMaterialAcrossDoors(const Material* m, int32_t firstDoor, int32_t lastDoor) {
    const bool assigned = doors->assignMaterialAcrossDoors(m, firstDoor, lastDoor);
    doors->changed = true;
    recalculate(true);
    return assigned;
}

bool Project::removeMaterialOfHoveredInsert() {
    if (!doors->removeMaterialOfPressedInsert()) {
        return false;
    }
    doors->changed = true;
    recalculate(true);
    return true;
}

bool Project::setInsertSize(int32_t size, InsertSide side) {
    if (!doors->setInsertSize(size, side)) {
        return false;
    }
    recalculate(true);
    return true;
}

void Project::copyDoor(int i) {
    doors->copyDoor(i);
}

PasteResult Project::pasteDoor(int t) {
    const PasteResult pasted = doors->pasteDoor(t);
    if (pasted == PasteDone) {
        doors->resizeAllDoors = true;
        doors->changed = true;
        recalculate(false);
    }
    return pasted;
}

void Project::alignSplitters(int door, bool vertical) {
    if (door < 0 || door >= kMaxDoors) {
        return;
    }
    doors->doors[door].alignSplitters(vertical);
    doors->resizeAllDoors = true;
    doors->changed = true;
    recalculate(false);
}

bool Project::setDiscountPercent(double percent) {
    if (!(percent >= 0.0 && percent <= 100.0)) {
        return false;
    }
    discountPercent = percent;
    result.discountPercent = percent;
    result.pricesDirty = 1;
    return true;
}

void Project::recalculate(bool keepDoorWidths) {
    system->updateGeometry(*doors, keepDoorWidths);
    numberPieces();
    system->calculate(*doors, result, color);
    buildElementList();
}

void Project::afterOpen() {
    doors->handleProfile = handleProfile;
    recalculate(true);
}

void Project::numberPieces() {
    int32_t profileNumber = 1;
    int32_t insertNumber = 1;
    for (int i = 0; i < doors->doorsInUse(); ++i) {
        Door& d = doors->doors[i];
        for (Edge& e : d.edges) {
            e.number = e.profile ? profileNumber++ : 0;
        }
        for (auto& [id, s] : d.splitters) {
            s.number = s.profile ? profileNumber++ : 0;
        }
        for (auto& [id, in] : d.inserts) {
            in.number = insertNumber++;
        }
    }
    doors->nextProfileNumber = profileNumber;
}

void Project::buildElementList() {
    result.elements.clear();
    for (int i = 0; i < doors->doorsInUse(); ++i) {
        const std::string doorNumber = text::format("%d", i + 1);
        for (const CutPieceRow& row : result.cutList) {
            if (row.doorIndex == i) {
                result.elements.push_back({"Профиль", row.code, row.name, row.mark, doorNumber});
            }
        }
        for (const FillingPieceRow& row : result.fillingPieces) {
            if (row.doorIndex == i) {
                result.elements.push_back({"Вставка", row.code, row.name, row.mark, doorNumber});
            }
        }
    }
}

int64_t Project::priceTotal() {
    return result.priceTotal();
}

int64_t Project::discountAmount() {
    return result.discountAmount();
}

int64_t Project::grandTotal() {
    const int64_t total = result.priceTotal();
    return totals::grandTotal(total, result.discountAmount(), order.assemblyCost,
                              order.deliveryCost);
}

std::string Project::grandTotalText() {
    const int64_t total = result.priceTotal();
    return totals::grandTotalText(total, grandTotal());
}
