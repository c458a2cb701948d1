#include "support/OutputTestSupport.h"

#include "calc/DSSystem.h"
#include "calc/SystemFactory.h"
#include "calc/systems/DSSystemLoven.h"
#include "calc/systems/DSSystemMeloza.h"
#include "catalog/MaterialGroup.h"
#include "text/Encoding.h"
#include "text/Format.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <unistd.h>

namespace outtest {

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeDataFolder(const std::filesystem::path& base) {
    // Every code the built-in tables know gets a price of its own: read them from a catalog
    // built without data files.
    std::set<std::string> codes;
    {
        Catalog bare((base / "none").string(), makeAllSystems);
        for (const Article* a : bare.articleList())
            codes.insert(a->code);
        for (const HandleProfile* h : bare.handleTable())
            codes.insert(h->code);
        for (const SplitterProfile* s : bare.splitterTable())
            codes.insert(s->code);
    }
    std::string price = "код;коллекция;цена\r\n";
    int n = 0;
    for (const std::string& code : codes) {
        ++n;
        price += text::format("%s;;%d,%02d;\r\n", code.c_str(), 100 + 37 * n, (n * 13) % 100);
    }
    writeFile(base / "profiles" / "price.csv", text::utf8ToCp1251(price));

    std::filesystem::path mirror = base / "materials" / "Зеркало";
    writeFile(mirror / "price.csv", text::utf8ToCp1251("код;изображение;название;цена;толщина\r\n"
                                                       "З-01;серебро.jpg;Зеркало серебро;1500;4\r\n"
                                                       "З-02;фото;Фотопечать;2100;4\r\n"));
    writeFile(mirror / "images" / "серебро.jpg", "jpg");
    writeFile(mirror / "images" / "фото" / "a.jpg", "jpg");
    writeFile(mirror / "images" / "фото" / "b.png", "png");
    std::filesystem::path board = base / "materials" / "ЛДСП";
    writeFile(board / "price.csv", text::utf8ToCp1251("код;изображение;название;цена;толщина\r\n"
                                                      "Д-01;дуб.jpg;ЛДСП дуб;900;10\r\n"));
    writeFile(board / "images" / "дуб.jpg", "jpg");
    std::filesystem::create_directories(base / "config");
}

World::World() {
    writeDataFolder(base());
    catalog = std::make_unique<Catalog>(base().string(), makeAllSystems);
    project = std::make_unique<Project>(*catalog);
}

const Material* World::material(const std::string& group, const std::string& key) const {
    const MaterialGroup* g = catalog->materialGroupByName(group);
    return g != nullptr ? g->findByKey(key) : nullptr;
}

namespace {

void placeOnScreen(Door& d) {
    d.rect = {0, 0, d.width, d.height};
    for (auto& [id, in] : d.inserts)
        in.rect = {in.left, in.top, in.right, in.bottom};
}

} // namespace

bool split(Door& d, int32_t x, int32_t y, bool vertical, const SplitterProfile* profile) {
    placeOnScreen(d);
    bool done = d.splitAtPoint({x, y}, profile, vertical, 1.0) != nullptr;
    d.clearPressed(); // hit-testing leaves the insert pressed
    return done;
}

bool buildSampleProject(World& s, const std::string& systemName) {
    Project& p = *s.project;
    DSSystem* system = s.catalog->systemByName(systemName);
    if (system == nullptr)
        return false;
    p.setSystem(system);
    p.setOpeningWidth(30000);
    p.setHeight(24000);
    if (p.system->maxDoors() >= 3 && p.system->clampDoorCount(3) == 3)
        p.setDoorCount(3);
    else
        p.setDoorCount(2);

    const Material* silver = s.material("Зеркало", "серебро.jpg");
    const Material* photo = s.material("Зеркало", "фото\\a.jpg");
    const Material* oak = s.material("ЛДСП", "дуб.jpg");
    DoorSet& set = *p.doors;
    for (int i = 0; i < set.doorCount; ++i) {
        Door& d = set.doors[static_cast<std::size_t>(i)];
        split(d, d.width / 2, d.height / 2, true, p.splitterProfile);
        split(d, d.width / 4, d.height / 3, false, p.splitterProfile);
        int k = 0;
        for (auto& [id, in] : d.inserts) {
            // One insert of door 1 stays without material.
            if (i == 1 && k == 2)
                in.material = nullptr;
            else
                in.material = (k + i) % 3 == 0 ? silver : (k + i) % 3 == 1 ? oak : photo;
            ++k;
        }
    }
    Insert& spanned = set.doors[0].inserts.begin()->second;
    spanned.spanDoors = true;
    spanned.spanFirstDoor = 0;
    spanned.spanLastDoor = set.doorCount - 1;
    p.recalculate(true);

    p.discountPercent = 10.0;
    p.result.discountPercent = 10.0;
    p.result.pricesDirty = 1;
    p.order.orderNumber = "00042";
    p.order.clientName = "Иванов & Сын <ООО>";
    p.order.address = "ул. \"Ленина\", д. 5; кв. 'А'";
    p.order.phone = "+7 900 123-45-67";
    p.order.orderDate = kOrderDate;
    p.order.readyDate = kReadyDate;
    p.order.assemblyCost = 1500;
    p.order.deliveryCost = 0;
    return true;
}

namespace {

class LegacyWriter {
public:
    void u8(int v) { out.push_back(static_cast<char>(v & 0xFF)); }
    void u16(int v) {
        u8(v);
        u8(v >> 8);
    }
    void i32(int32_t v) {
        auto u = static_cast<uint32_t>(v);
        for (int i = 0; i < 4; ++i)
            u8(static_cast<int>(u >> (8 * i)));
    }
    void i64(int64_t v) {
        auto u = static_cast<uint64_t>(v);
        for (int i = 0; i < 8; ++i)
            u8(static_cast<int>(u >> (8 * i)));
    }
    void f64(double v) {
        uint64_t u = 0;
        std::memcpy(&u, &v, sizeof u);
        i64(static_cast<int64_t>(u));
    }
    void str(const std::string& utf8) {
        std::string units = text::utf8ToUtf16leBytes(utf8);
        u16(static_cast<int>(units.size() / 2));
        out += units;
    }
    std::string out;
};

} // namespace

std::string legacySketchBytes(const Project& p, int version, bool withMarker) {
    LegacyWriter w;
    w.u8(version);
    w.str(p.system->code);
    w.str(p.handleProfile ? p.handleProfile->code : "");
    w.str(p.color ? p.color->code : "");
    w.str(p.splitterProfile ? p.splitterProfile->code : "");
    w.i32(p.openingWidth);
    w.i32(p.height);
    w.i32(p.doorCount);
    w.f64(p.discountPercent);
    if (version >= 2) {
        w.i32(p.chipboardThickness);
        w.i32(p.plinthHeight);
    }
    // The system block.
    if (version > 2)
        w.u8(p.system->edgeOption);
    if (version > 4)
        w.str(p.system->selectedRollerKitCode());
    if (auto* loven = dynamic_cast<const DSSystemLoven*>(p.system)) {
        if (version > 4)
            w.u8(loven->pivotMode);
        if (version > 5)
            w.i32(loven->heightAdjust);
    }
    if (auto* meloza = dynamic_cast<const DSSystemMeloza*>(p.system)) {
        if (version > 4)
            w.i32(meloza->mountingMode);
    }
    const DoorSet& set = *p.doors;
    w.i32(set.openingWidth);
    w.i32(set.height);
    w.i32(set.doorCount);
    if (version >= 5)
        w.i32(set.doorsNominalWidth);
    for (int i = 0; i < set.doorCount; ++i) {
        const Door& d = set.doors[static_cast<std::size_t>(i)];
        w.i32(d.width);
        w.i32(d.height);
        w.i32(d.nextInsertId);
        w.i32(d.nextSplitterId);
        if (version >= 5)
            w.i32(d.track);
        for (const Edge& e : d.edges) {
            w.i32(e.cutLength);
            w.str(e.profile ? e.profile->code : "");
        }
        w.u16(static_cast<int>(d.splitters.size()));
        for (const auto& [id, s] : d.splitters) {
            w.i32(id);
            w.i32(s.cutLength);
            w.i32(s.length);
            w.i32(s.edgeOffset);
            w.i32(s.position);
            w.i32(s.vertical ? 1 : 0);
            w.i32(s.startId);
            w.i32(s.endId);
            w.str(s.profile ? s.profile->code : "");
        }
        w.u16(static_cast<int>(d.inserts.size()));
        for (const auto& [id, in] : d.inserts) {
            w.i32(id);
            for (int32_t v : {in.fillX, in.fillY, in.fillWidth, in.fillHeight, in.left, in.top,
                              in.right, in.bottom})
                w.i32(v);
            w.u8(in.thicknessMismatch ? 1 : 0);
            for (int32_t v : {in.topId, in.leftId, in.rightId, in.bottomId})
                w.i32(v);
            w.u8(in.spanDoors ? 1 : 0);
            w.i32(in.spanFirstDoor);
            w.i32(in.spanLastDoor);
            w.str(in.material ? in.material->groupName : "");
            w.str(in.material ? in.material->pictureKey() : "");
        }
    }
    const OrderInfo& o = p.order;
    if (withMarker) {
        w.u8(2);
        w.str(o.orderNumber);
        w.str(o.clientName);
        w.str(o.address);
        w.str(o.phone);
        w.i64(o.orderDate);
        w.i64(o.readyDate);
        w.i32(o.assemblyCost);
        w.i32(o.deliveryCost);
    } else {
        w.str(o.orderNumber);
        w.str(o.clientName);
        w.str(o.address);
        w.i64(o.orderDate);
        w.i64(o.readyDate);
    }
    return w.out;
}

} // namespace outtest
