#include "model/SketchFile.h"

#include "calc/DSSystem.h"
#include "catalog/Catalog.h"
#include "model/AtomicFile.h"
#include "model/Project.h"
#include "text/ByteReader.h"
#include "text/ByteWriter.h"
#include "text/Encoding.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <map>

namespace {

// ---------------------------------------------------------------------------------------------
// Limits a file must keep to. They are those of the project's setters (or wider), so every file
// this program writes passes; values beyond them can only come from a damaged file. The door
// sizes are the door set's (kMaxDoorWidth, kMaxDoorHeight), which the setters keep to as well.

bool within(int32_t v, int32_t lo, int32_t hi) {
    return v >= lo && v <= hi;
}

// ---------------------------------------------------------------------------------------------
// The file's content, read into plain data before anything in the project changes.

struct EdgeData {
    int32_t cutLength = 0;
    std::string profileCode;
};

struct SplitterData {
    Splitter splitter; // links by id only
    std::string profileCode;
};

struct InsertData {
    Insert insert; // links by id only
    std::string groupName;
    std::string materialKey;
};

struct DoorData {
    int32_t width = 0;
    int32_t height = 0;
    int32_t nextInsertId = 0;
    int32_t nextSplitterId = 0;
    bool hasTrack = false;
    int32_t track = 0;
    std::array<EdgeData, 4> edges;
    std::map<int32_t, SplitterData> splitters;
    std::map<int32_t, InsertData> inserts;
};

struct FileData {
    int version = 0;
    DSSystem* system = nullptr;
    std::string handleCode;
    std::string colorName;
    std::string splitterCode;
    int32_t openingWidth = 0;
    int32_t height = 0;
    int32_t doorCount = 0;
    double discount = 0.0;
    bool hasCabinetSizes = false;
    int32_t chipboardThickness = 0;
    int32_t plinthHeight = 0;
    SketchBlockData systemBlock;
    int32_t setWidth = 0;
    int32_t setHeight = 0;
    int32_t setCount = 0;
    int32_t nominalWidth = 0;
    std::vector<DoorData> doors;
    OrderInfo order;
    bool orderHasCosts = false;
};

bool readEdge(ByteReader& r, EdgeData& e) {
    e.cutLength = r.i32();
    e.profileCode = r.str();
    return r.ok();
}

bool readSplitter(ByteReader& r, SplitterData& d) {
    Splitter& s = d.splitter;
    s.cutLength = r.i32();
    s.length = r.i32();
    s.edgeOffset = r.i32();
    s.position = r.i32();
    int32_t vertical = r.i32();
    s.startId = r.i32();
    s.endId = r.i32();
    d.profileCode = r.str();
    if (!r.ok() || (vertical != 0 && vertical != 1))
        return false;
    s.vertical = vertical == 1;
    return true;
}

bool readInsert(ByteReader& r, InsertData& d) {
    Insert& in = d.insert;
    in.fillX = r.i32();
    in.fillY = r.i32();
    in.fillWidth = r.i32();
    in.fillHeight = r.i32();
    in.left = r.i32();
    in.top = r.i32();
    in.right = r.i32();
    in.bottom = r.i32();
    in.thicknessMismatch = r.u8() != 0;
    in.topId = r.i32();
    in.leftId = r.i32();
    in.rightId = r.i32();
    in.bottomId = r.i32();
    in.spanDoors = r.u8() != 0;
    in.spanFirstDoor = r.i32();
    in.spanLastDoor = r.i32();
    d.groupName = r.str();
    d.materialKey = r.str();
    return r.ok();
}

// A bounding id must be the frame (0) or a splitter of the door with the given orientation.
bool linkValid(const DoorData& door, int32_t id, bool vertical, int32_t selfId = 0) {
    if (id == 0)
        return true;
    if (id == selfId)
        return false;
    auto it = door.splitters.find(id);
    return it != door.splitters.end() && it->second.splitter.vertical == vertical;
}

// The door's content must hold together: ids in range, links naming splitters of the right
// orientation, every splitter and insert inside the door.
bool doorConsistent(const DoorData& d) {
    if (!within(d.width, 0, kMaxDoorWidth) || !within(d.height, 0, kMaxDoorHeight))
        return false;
    if (d.hasTrack && d.track != 0 && d.track != 1)
        return false;
    if (d.inserts.empty())
        return false;
    if (d.splitters.rbegin() != d.splitters.rend() &&
        d.splitters.rbegin()->first >= d.nextSplitterId)
        return false;
    if (d.inserts.rbegin()->first >= d.nextInsertId)
        return false;
    for (const auto& [id, sd] : d.splitters) {
        const Splitter& s = sd.splitter;
        if (id <= 0)
            return false;
        int32_t across = s.vertical ? d.width : d.height; // where the position lies
        int32_t along = s.vertical ? d.height : d.width;  // what the length spans
        if (!within(s.position, 0, across) || !within(s.length, 0, along))
            return false;
        if (!linkValid(d, s.startId, !s.vertical, id) || !linkValid(d, s.endId, !s.vertical, id))
            return false;
    }
    for (const auto& [id, idata] : d.inserts) {
        const Insert& in = idata.insert;
        if (id <= 0)
            return false;
        if (!within(in.left, 0, d.width) || !within(in.right, in.left, d.width) ||
            !within(in.top, 0, d.height) || !within(in.bottom, in.top, d.height))
            return false;
        if (!linkValid(d, in.leftId, true) || !linkValid(d, in.rightId, true) ||
            !linkValid(d, in.topId, false) || !linkValid(d, in.bottomId, false))
            return false;
        if (!within(in.spanFirstDoor, 0, kMaxDoors - 1) ||
            !within(in.spanLastDoor, 0, kMaxDoors - 1))
            return false;
    }
    return true;
}

bool layoutHoldsTogether(const DoorData& d);

// The nominal width is the total the doors' widths were last distributed over; the next resize
// gives every door its share of the new total. Several doors never add up to more than it (the
// door widths dialog refuses an overfull opening, dragging a boundary keeps the sum), so a
// nominal width below their sum, or beyond any opening, is damage that would blow the shares up.
//
// A file without one (older versions write none) takes the doors' own total: the widths were
// last distributed over exactly that. Left at 0 the sketch would have no extent to draw, and a
// system that sizes its doors on every recalculation would store a nominal width on opening but
// share it out among the doors only on the next recalculation, so the file would settle only on
// its second reading.
bool settleNominalWidth(FileData& f) {
    int64_t sum = 0;
    for (const DoorData& d : f.doors)
        sum += d.width;
    if (f.nominalWidth == 0 && sum <= kMaxDoorWidth)
        f.nominalWidth = static_cast<int32_t>(sum);
    if (!within(f.nominalWidth, 0, kMaxDoorWidth))
        return false;
    return f.doors.size() < 2 || sum <= f.nominalWidth;
}

bool readDoor(ByteReader& r, int version, DoorData& d) {
    d.width = r.i32();
    d.height = r.i32();
    d.nextInsertId = r.i32();
    d.nextSplitterId = r.i32();
    if (version >= 5) {
        d.hasTrack = true;
        d.track = r.i32();
    }
    for (EdgeData& e : d.edges) {
        if (!readEdge(r, e))
            return false;
    }
    // Counts beyond what a door can hold are refused before anything is read or checked.
    uint16_t splitterCount = r.u16();
    if (splitterCount > kMaxSplittersPerDoor)
        return false;
    for (int i = 0; i < splitterCount; ++i) {
        int32_t id = r.i32();
        SplitterData s;
        if (!readSplitter(r, s) || d.splitters.count(id) != 0)
            return false;
        d.splitters.emplace(id, std::move(s));
    }
    uint16_t insertCount = r.u16();
    if (insertCount > kMaxSplittersPerDoor + 1)
        return false;
    for (int i = 0; i < insertCount; ++i) {
        int32_t id = r.i32();
        InsertData in;
        if (!readInsert(r, in) || d.inserts.count(id) != 0)
            return false;
        d.inserts.emplace(id, std::move(in));
    }
    return r.ok() && doorConsistent(d) && layoutHoldsTogether(d);
}

// The order block: the current layout after the marker 2, or the older one without phone and
// costs. The current version always writes the marker. In older files a block without marker
// whose order number has 2 code units starts with the byte 2 as well, so there the marker is
// taken only when the newer layout reads to the end of the file, or when the older one would not.
bool readOrder(ByteReader& r, FileData& f) {
    auto readNew = [&](ByteReader& q, OrderInfo& o) {
        if (q.u8() != 2)
            return false;
        o.orderNumber = q.str();
        o.clientName = q.str();
        o.address = q.str();
        o.phone = q.str();
        o.orderDate = q.t64();
        o.readyDate = q.t64();
        o.assemblyCost = q.i32();
        o.deliveryCost = q.i32();
        return q.ok();
    };
    auto readOld = [&](ByteReader& q, OrderInfo& o) {
        o.orderNumber = q.str();
        o.clientName = q.str();
        o.address = q.str();
        o.orderDate = q.t64();
        o.readyDate = q.t64();
        return q.ok();
    };

    ByteReader newer = r;
    OrderInfo newOrder;
    bool newOk = readNew(newer, newOrder);
    ByteReader older = r;
    OrderInfo oldOrder;
    bool oldOk = readOld(older, oldOrder);

    if (f.version == SketchFile::kCurrentVersion)
        oldOk = false;
    bool takeNew = newOk && (newer.remaining() == 0 || !(oldOk && older.remaining() == 0));
    if (takeNew) {
        f.order = newOrder;
        f.orderHasCosts = true;
        r = newer;
        return true;
    }
    if (oldOk) {
        f.order = oldOrder;
        f.orderHasCosts = false;
        r = older;
        return true;
    }
    return false;
}

// Reads the system's own block with the system's code into data; the system is not touched.
bool readSystemBlock(ByteReader& r, DSSystem& system, int version, SketchBlockData& data) {
    return system.parseSketchBlock(r, version, data) && r.ok();
}

int parse(const Catalog& catalog, std::string_view bytes, FileData& f) {
    ByteReader r(bytes);
    f.version = r.u8();
    if (!r.ok())
        return SketchFile::ReadFailed;
    if (f.version > SketchFile::kCurrentVersion)
        return SketchFile::UnsupportedVersion;
    if (f.version < 1)
        return SketchFile::ReadFailed;

    std::string systemCode = r.str();
    if (!r.ok())
        return SketchFile::ReadFailed;
    f.system = catalog.systemByName(systemCode);
    if (f.system == nullptr)
        return SketchFile::UnknownSystem;

    f.handleCode = r.str();
    f.colorName = r.str();
    f.splitterCode = r.str();
    f.openingWidth = r.i32();
    f.height = r.i32();
    f.doorCount = r.i32();
    f.discount = r.f64();
    if (f.version > 1) {
        f.hasCabinetSizes = true;
        f.chipboardThickness = r.i32();
        f.plinthHeight = r.i32();
    }
    if (!r.ok())
        return SketchFile::ReadFailed;
    if (!within(f.openingWidth, Project::kMinOpeningWidth, Project::kMaxOpeningWidth) ||
        !within(f.height, Project::kMinHeight, Project::kMaxHeight) ||
        !within(f.doorCount, 1, kMaxDoors) || !std::isfinite(f.discount) || f.discount < 0.0 ||
        f.discount > 100.0)
        return SketchFile::ReadFailed;
    if (f.hasCabinetSizes && (!within(f.chipboardThickness, 0, Project::kMaxChipboardThickness) ||
                              !within(f.plinthHeight, 0, Project::kMaxPlinthHeight)))
        return SketchFile::ReadFailed;

    if (!readSystemBlock(r, *f.system, f.version, f.systemBlock))
        return SketchFile::ReadFailed;

    f.setWidth = r.i32();
    f.setHeight = r.i32();
    f.setCount = r.i32();
    if (f.version >= 5)
        f.nominalWidth = r.i32();
    if (!r.ok() || f.setCount != f.doorCount || !within(f.setWidth, 0, kMaxDoorWidth) ||
        !within(f.setHeight, 0, kMaxDoorHeight))
        return SketchFile::ReadFailed;
    f.doors.resize(static_cast<std::size_t>(f.setCount));
    for (DoorData& d : f.doors) {
        if (!readDoor(r, f.version, d))
            return SketchFile::ReadFailed;
    }
    if (!settleNominalWidth(f))
        return SketchFile::ReadFailed;
    if (!readOrder(r, f))
        return SketchFile::ReadFailed;
    return SketchFile::ReadOk;
}

const Article* edgeProfileByCode(const Catalog& catalog, const std::string& code) {
    if (code.empty())
        return nullptr;
    if (const Article* a = catalog.articleByCode(code))
        return a;
    if (const Article* h = catalog.handleByCode(code))
        return h;
    return catalog.splitterByCode(code);
}

const Material* materialFor(const Catalog& catalog, const InsertData& d) {
    if (d.groupName.empty())
        return nullptr;
    const MaterialGroup* group = catalog.materialGroupByName(d.groupName);
    return group != nullptr ? group->findByKey(d.materialKey) : nullptr;
}

// The door's size and layout from the file; profiles and materials are looked up separately.
void fillLayout(Door& door, const DoorData& d) {
    door.width = d.width;
    door.height = d.height;
    door.laidOutWidth = d.width;
    door.laidOutHeight = d.height;
    door.nextInsertId = d.nextInsertId;
    door.nextSplitterId = d.nextSplitterId;
    if (d.hasTrack)
        door.track = d.track;
    for (std::size_t e = 0; e < 4; ++e) {
        door.edges[e].cutLength = d.edges[e].cutLength;
        door.edges[e].profile = nullptr;
    }
    door.splitters.clear();
    for (const auto& [id, sd] : d.splitters)
        door.splitters.emplace(id, sd.splitter);
    door.inserts.clear();
    for (const auto& [id, idata] : d.inserts)
        door.inserts.emplace(id, idata.insert);
    door.rebuildLinks();
}

// Inserts tile the door, splitters separate inserts along their whole length, lengths and bounds
// agree with the positions: what every saved door satisfies.
bool layoutHoldsTogether(const DoorData& d) {
    Door probe;
    fillLayout(probe, d);
    return probe.layoutFault().empty();
}

void applyDoor(const Catalog& catalog, DoorSet& set, Door& door, const DoorData& d) {
    // Everything pointing into the old layout goes first.
    set.forgetSelectionIn(door);
    door.clearPressed();
    door.materialTarget = nullptr;
    fillLayout(door, d);
    for (std::size_t e = 0; e < 4; ++e)
        door.edges[e].profile = edgeProfileByCode(catalog, d.edges[e].profileCode);
    for (const auto& [id, sd] : d.splitters) {
        if (!sd.profileCode.empty())
            door.splitters.at(id).profile = catalog.splitterByCode(sd.profileCode);
    }
    for (const auto& [id, idata] : d.inserts)
        door.inserts.at(id).material = materialFor(catalog, idata);
}

void apply(Project& project, const FileData& f) {
    const Catalog& catalog = project.catalog();
    project.system = f.system;
    project.handleProfile = f.handleCode.empty() ? nullptr : catalog.handleByCode(f.handleCode);
    project.color = f.colorName.empty() ? nullptr : catalog.colorByName(f.colorName);
    project.splitterProfile =
        f.splitterCode.empty() ? nullptr : catalog.splitterByCode(f.splitterCode);
    project.openingWidth = f.openingWidth;
    project.height = f.height;
    project.doorCount = f.doorCount;
    project.discountPercent = f.discount;
    if (f.hasCabinetSizes) {
        project.chipboardThickness = f.chipboardThickness;
        project.plinthHeight = f.plinthHeight;
    }
    project.result.discountPercent = f.discount;
    project.result.pricesDirty = 1;
    f.system->applySketchBlock(f.systemBlock);

    DoorSet& set = *project.doors;
    set.selectedSplitter = nullptr;
    set.selectedSplitterDoor = nullptr;
    set.openingWidth = f.setWidth;
    set.height = f.setHeight;
    set.doorCount = f.setCount;
    set.doorsNominalWidth = f.nominalWidth;
    for (std::size_t i = 0; i < f.doors.size(); ++i)
        applyDoor(catalog, set, set.doors[i], f.doors[i]);
    set.previousWidth = f.setWidth;
    set.previousHeight = f.setHeight;
    set.previousCount = f.setCount;
    set.changed = true;

    if (f.orderHasCosts) {
        project.order = f.order;
    } else {
        project.order.orderNumber = f.order.orderNumber;
        project.order.clientName = f.order.clientName;
        project.order.address = f.order.address;
        project.order.orderDate = f.order.orderDate;
        project.order.readyDate = f.order.readyDate;
    }
    project.afterOpen();
}

void writeDoor(ByteWriter& w, const Door& door, bool& fits) {
    w.i32(door.width);
    w.i32(door.height);
    w.i32(door.nextInsertId);
    w.i32(door.nextSplitterId);
    w.i32(door.track);
    for (const Edge& e : door.edges) {
        w.i32(e.cutLength);
        w.str(e.profile != nullptr ? e.profile->code : std::string());
    }
    if (door.splitters.size() > 0xFFFF || door.inserts.size() > 0xFFFF)
        fits = false;
    w.u16(static_cast<uint16_t>(door.splitters.size()));
    for (const auto& [id, s] : door.splitters) {
        w.i32(id);
        w.i32(s.cutLength);
        w.i32(s.length);
        w.i32(s.edgeOffset);
        w.i32(s.position);
        w.i32(s.vertical ? 1 : 0);
        w.i32(s.startId);
        w.i32(s.endId);
        w.str(s.profile != nullptr ? s.profile->code : std::string());
    }
    w.u16(static_cast<uint16_t>(door.inserts.size()));
    for (const auto& [id, in] : door.inserts) {
        w.i32(id);
        w.i32(in.fillX);
        w.i32(in.fillY);
        w.i32(in.fillWidth);
        w.i32(in.fillHeight);
        w.i32(in.left);
        w.i32(in.top);
        w.i32(in.right);
        w.i32(in.bottom);
        w.u8(in.thicknessMismatch ? 1 : 0);
        w.i32(in.topId);
        w.i32(in.leftId);
        w.i32(in.rightId);
        w.i32(in.bottomId);
        w.u8(in.spanDoors ? 1 : 0);
        w.i32(in.spanFirstDoor);
        w.i32(in.spanLastDoor);
        if (in.material != nullptr) {
            w.str(in.material->groupName);
            w.str(in.material->pictureKey());
        } else {
            w.str({});
            w.str({});
        }
    }
}

} // namespace

std::optional<std::string> SketchFile::toBytes(const Project& project) {
    ByteWriter w;
    w.u8(kCurrentVersion);
    w.str(project.system->code);
    w.str(project.handleProfile != nullptr ? project.handleProfile->code : std::string());
    w.str(project.color != nullptr ? project.color->code : std::string());
    w.str(project.splitterProfile != nullptr ? project.splitterProfile->code : std::string());
    w.i32(project.openingWidth);
    w.i32(project.height);
    w.i32(project.doorCount);
    w.f64(project.discountPercent);
    w.i32(project.chipboardThickness);
    w.i32(project.plinthHeight);

    project.system->writeSketchBlock(w, kCurrentVersion);

    const DoorSet& set = *project.doors;
    w.i32(set.openingWidth);
    w.i32(set.height);
    w.i32(set.doorCount);
    w.i32(set.doorsNominalWidth);
    bool fits = true;
    for (int i = 0; i < set.doorsInUse(); ++i)
        writeDoor(w, set.doors[static_cast<std::size_t>(i)], fits);
    if (!fits)
        return std::nullopt;

    const OrderInfo& o = project.order;
    w.u8(2);
    w.str(o.orderNumber);
    w.str(o.clientName);
    w.str(o.address);
    w.str(o.phone);
    w.t64(o.orderDate);
    w.t64(o.readyDate);
    w.i32(o.assemblyCost);
    w.i32(o.deliveryCost);
    return std::move(w.bytes());
}

int SketchFile::write(const Project& project, const std::filesystem::path& path,
                      std::string* reason) {
    std::optional<std::string> bytes = toBytes(project);
    if (!bytes) {
        if (reason != nullptr)
            *reason = "Файл слишком велик";
        return WriteFailed;
    }
    return fileio::writeFileAtomically(path, *bytes, reason) ? WriteOk : WriteFailed;
}

int SketchFile::fromBytes(Project& project, std::string_view bytes) {
    FileData f;
    int result = parse(project.catalog(), bytes, f);
    if (result != ReadOk)
        return result;
    apply(project, f);
    return ReadOk;
}

int SketchFile::read(Project& project, const std::filesystem::path& path) {
    std::optional<std::string> bytes = fileio::readWholeFile(path);
    if (!bytes)
        return ReadFailed;
    return fromBytes(project, *bytes);
}

std::string SketchFile::openErrorMessage(int result, const std::string& path) {
    if (result == UnsupportedVersion)
        return "Ошибка открытия файла: версия файла не поддерживается данной программой.";
    return "Ошибка открытия файла " + path;
}

std::string SketchFile::saveErrorMessage(const std::string& path, const std::string& reason) {
    return fileio::saveErrorMessage(path, reason);
}
