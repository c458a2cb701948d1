#include "calc/DSSystem.h"

#include "catalog/Article.h"
#include "catalog/HandleProfile.h"
#include "catalog/RollerKit.h"
#include "catalog/SplitterProfile.h"
#include "catalog/SystemLists.h"
#include "model/DoorSet.h"
#include "text/Encoding.h"

#include <algorithm>
#include <istream>
#include <ostream>

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

void DSSystem::writeByte(std::ostream& out, uint8_t v) {
    out.put(static_cast<char>(v));
}

void DSSystem::writeInt32(std::ostream& out, int32_t v) {
    const uint32_t u = static_cast<uint32_t>(v);
    const char bytes[4] = {static_cast<char>(u & 0xFF), static_cast<char>((u >> 8) & 0xFF),
                           static_cast<char>((u >> 16) & 0xFF), static_cast<char>(u >> 24)};
    out.write(bytes, 4);
}

void DSSystem::writeString16(std::ostream& out, const std::string& utf8) {
    std::u16string units = text::utf8ToUtf16(utf8);
    if (units.size() > 0xFFFF)
        units.resize(0xFFFF);
    const uint16_t n = static_cast<uint16_t>(units.size());
    out.put(static_cast<char>(n & 0xFF));
    out.put(static_cast<char>(n >> 8));
    for (char16_t c : units) {
        out.put(static_cast<char>(c & 0xFF));
        out.put(static_cast<char>(c >> 8));
    }
}

bool DSSystem::readByte(std::istream& in, uint8_t& v) {
    char c = 0;
    if (!in.get(c))
        return false;
    v = static_cast<uint8_t>(c);
    return true;
}

bool DSSystem::readInt32(std::istream& in, int32_t& v) {
    unsigned char b[4];
    if (!in.read(reinterpret_cast<char*>(b), 4))
        return false;
    v = static_cast<int32_t>(static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
                             (static_cast<uint32_t>(b[2]) << 16) |
                             (static_cast<uint32_t>(b[3]) << 24));
    return true;
}

bool DSSystem::readString16(std::istream& in, std::string& utf8) {
    unsigned char nb[2];
    if (!in.read(reinterpret_cast<char*>(nb), 2))
        return false;
    const std::size_t n = nb[0] | (nb[1] << 8);
    std::string bytes(n * 2, '\0');
    if (n > 0 && !in.read(bytes.data(), static_cast<std::streamsize>(bytes.size())))
        return false;
    utf8 = text::utf16leBytesToUtf8(bytes);
    return true;
}

void DSSystem::writeSketchBlock(std::ostream& file, int version) {
    if (version > 2)
        writeByte(file, edgeOption);
    if (version > 4)
        writeString16(file, selectedRollerKitCode());
}

bool DSSystem::parseSketchBlock(std::istream& file, int version, SketchBlockData& data) {
    if (version > 2) {
        uint8_t b = 0;
        if (!readByte(file, b))
            return false;
        data.edgeOption = b;
    }
    if (version > 4) {
        std::string code;
        if (!readString16(file, code))
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

bool DSSystem::readSketchBlock(std::istream& file, int version) {
    SketchBlockData data;
    if (!parseSketchBlock(file, version, data))
        return false;
    applySketchBlock(data);
    return true;
}
