#include "calc/DSSystem.h"

#include "catalog/Article.h"
#include "catalog/HandleProfile.h"
#include "catalog/RollerKit.h"
#include "catalog/SplitterProfile.h"
#include "catalog/SystemLists.h"
#include "model/DoorSet.h"
#include "text/ByteReader.h"
#include "text/ByteWriter.h"

#include <algorithm>

DSSystem::DSSystem(int32_t catalogIndex, std::string displayName, int32_t picture, uint8_t cabinet,
                   uint8_t edgeOptionOffered)
    : DSItem(catalogIndex, std::move(displayName), picture, std::string()), cabinetMode(cabinet),
      hasEdgeOption(edgeOptionOffered) {}

DSSystem::~DSSystem() = default;

int DSSystem::handleProfileCount() {
    return static_cast<int>(handleProfiles.size());
}

std::vector<HandleProfile*>& DSSystem::listHandleProfiles(std::vector<HandleProfile*>& out) {
    out = handleProfiles;
    return out;
}

void DSSystem::setHeight(DoorSet& doorSet, int32_t height, int32_t /*chipboardThickness*/,
                         int32_t /*plinthHeight*/) {
    doorSet.previousHeight = doorSet.height;
    doorSet.height = height;
    doorSet.changed = true;
}

int DSSystem::maxDoors() {
    return maxDoorCount;
}

bool DSSystem::swapTracksFlag() {
    return tracksSwapped != 0;
}

void DSSystem::assignTracks(DoorSet& doorSet) {
    for (int i = 0; i < kMaxDoors; ++i)
        doorSet.doors[i].track = i % 2;
}

int DSSystem::clampDoorCount(int n) {
    return std::min(maxDoorCount, n);
}

int DSSystem::minPlinthHeight() {
    return 0;
}

bool DSSystem::rollerKitFits(const DoorSet& doorSet, const RollerKit* kit) {
    if (kit == nullptr)
        return false;
    if (kit->rollerType == 0)
        return true;
    const Edge& left = doorSet.doors[0].edges[EdgeLeft];
    if (left.profile == nullptr)
        return true;
    const HandleProfile* handle = dynamic_cast<const HandleProfile*>(left.profile);
    if (handle == nullptr)
        handle = doorSet.handleProfile;
    if (handle == nullptr)
        return false;
    if (kit->rollerType == 2)
        return handle->rollerKind == 1;
    if (kit->rollerType == 1)
        return handle->rollerKind == 0;
    return false;
}

int DSSystem::rollerKitPacks(int doorCount, const RollerKit* kit) {
    if (kit == nullptr)
        return 0;
    const int count = kit->count;
    if (kit->perSet) {
        // A set of zero doors makes no sense; bill one pack per door rather than divide by zero.
        if (count <= 0)
            return doorCount;
        return (doorCount + count - 1) / count;
    }
    return doorCount * count;
}

// --- lookups ---

SplitterProfile* DSSystem::splitterProfileByCode(std::string_view code) const {
    for (SplitterProfile* p : splitterProfiles)
        if (p != nullptr && p->code == code)
            return p;
    return nullptr;
}

Article* DSSystem::articleByCode(std::string_view code) const {
    for (Article* a : systemArticles)
        if (a != nullptr && a->code == code)
            return a;
    return nullptr;
}

bool DSSystem::hasArticle(std::string_view code) const {
    return articleByCode(code) != nullptr;
}

std::vector<SplitterProfile*> DSSystem::listSplitterProfiles() const {
    return splitterProfiles;
}

std::vector<RollerKit*> DSSystem::rollerKits() const {
    std::vector<RollerKit*> kits;
    for (Article* a : systemArticles)
        if (a != nullptr && a->kind == KindRollerKit)
            if (RollerKit* kit = dynamic_cast<RollerKit*>(a))
                kits.push_back(kit);
    return kits;
}

int DSSystem::rollerKitCount() const {
    if (selectedRollerKit == nullptr)
        return 0;
    return static_cast<int>(rollerKits().size());
}

std::string DSSystem::selectedRollerKitCode() const {
    return selectedRollerKit != nullptr ? selectedRollerKit->code : std::string();
}

void DSSystem::takeLists(const SystemLists& lists) {
    handleProfiles = lists.handleProfiles;
    splitterProfiles = lists.splitterProfiles;
    systemArticles = lists.systemArticles;
    selectedRollerKit = lists.selectedRollerKit;
}

// --- sketch block ---

void DSSystem::writeSketchBlock(ByteWriter& file, int version) {
    if (version > 2)
        file.u8(edgeOption);
    if (version > 4)
        file.str(selectedRollerKitCode());
}

bool DSSystem::parseSketchBlock(ByteReader& file, int version, SketchBlockData& data) {
    if (version > 2) {
        const uint8_t b = file.u8();
        if (!file.ok())
            return false;
        data.edgeOption = b;
    }
    if (version > 4) {
        std::string code = file.str();
        if (!file.ok())
            return false;
        data.rollerKitCode = std::move(code);
    }
    return true;
}

void DSSystem::applySketchBlock(const SketchBlockData& data) {
    if (data.edgeOption)
        edgeOption = *data.edgeOption != 0 ? 1 : 0;
    if (data.rollerKitCode) {
        if (data.rollerKitCode->empty()) {
            selectedRollerKit = nullptr;
        } else if (Article* a = articleByCode(*data.rollerKitCode)) {
            // Only a roller kit can be the selection; any other article keeps the current one.
            if (RollerKit* kit = dynamic_cast<RollerKit*>(a))
                selectedRollerKit = kit;
        }
    }
}

bool DSSystem::readSketchBlock(ByteReader& file, int version) {
    SketchBlockData data;
    if (!parseSketchBlock(file, version, data))
        return false;
    applySketchBlock(data);
    return true;
}
