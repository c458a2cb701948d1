#include "support/CalcTestSupport.h"

#include "calc/CalcResult.h"

namespace calctest {

TestSystem::TestSystem(SystemKind kind) : DSSystem(0, "Тест", 0, 0, 0) {
    systemKind = kind;
}

void TestSystem::updateGeometry(DoorSet& doorSet, bool keepDoorWidths) {
    if (!keepDoorWidths)
        resizeDoors(doorSet, doorHeight, doorWidth);
    assignEdgeProfiles(doorSet, topEdge, bottomEdge);
    layoutSplitters(doorSet);
    layoutInserts(doorSet);
}

void TestSystem::calculate(DoorSet& doorSet, CalcResult& result, const ProfileColor* color) {
    clearResult(result);
    addStandardProfileGroups(result, doorSet, color);
    calculateFillings(doorSet, result);
}

Article* Records::article(const std::string& code, int32_t kind, int32_t price, int32_t stock,
                          int32_t dimA, int32_t dimB, int32_t dimC) {
    auto a = std::make_unique<Article>(static_cast<int32_t>(articles.size()), code, 0,
                                       "Артикул " + code, kind);
    a->setSizes(dimA, dimB, dimC, stock);
    a->prices[0] = price;
    articles.push_back(std::move(a));
    return articles.back().get();
}

HandleProfile* Records::handle(const std::string& code, int32_t dimA, int32_t dimB, int32_t dimC,
                               int32_t stock, int32_t rollerKind) {
    auto h = std::make_unique<HandleProfile>(0, code, 0, "Ручка " + code);
    h->setSizes(dimA, dimB, dimC, stock);
    h->rollerKind = rollerKind;
    HandleProfile* raw = h.get();
    articles.push_back(std::move(h));
    return raw;
}

SplitterProfile* Records::splitter(const std::string& code, int32_t dimC, int32_t dimD,
                                   int32_t price, int32_t stock) {
    auto s = std::make_unique<SplitterProfile>(0, code, 0, "Разделитель " + code);
    s->setSizes(0, 0, dimC, stock);
    s->dimD = dimD;
    s->prices[0] = price;
    SplitterProfile* raw = s.get();
    articles.push_back(std::move(s));
    return raw;
}

RollerKit* Records::kit(const std::string& code, int32_t rollerType, uint8_t perSet, uint8_t count,
                        int32_t price) {
    auto k = std::make_unique<RollerKit>(0, code, 0, "Ролики " + code);
    k->rollerType = rollerType;
    k->perSet = perSet;
    k->count = count;
    k->prices[0] = price;
    RollerKit* raw = k.get();
    articles.push_back(std::move(k));
    return raw;
}

const Material* Records::material(const std::string& code, int32_t thickness, int32_t pricePerM2,
                                  const std::string& picture, bool fromFolder,
                                  const std::string& name) {
    auto m = std::make_unique<Material>();
    m->groupName = "Группа";
    m->code = code;
    m->name = name;
    m->thickness = thickness;
    m->price = pricePerM2;
    m->fromFolder = fromFolder;
    if (fromFolder) {
        m->folderName = "папка";
        m->fileName = picture;
    }
    m->imagePath = "/data/" + picture;
    materials.push_back(std::move(m));
    return materials.back().get();
}

Splitter* split(Door& d, int32_t pos, bool vertical, int32_t inside,
                const SplitterProfile* profile) {
    // The door drawn at scale 1 at the origin, as the sketch would place it.
    d.rect = ScreenRect{0, 0, d.width, d.height};
    for (auto& [id, in] : d.inserts)
        in.rect = ScreenRect{in.left, in.top, in.right, in.bottom};
    const ScreenPoint p = vertical ? ScreenPoint{pos, inside} : ScreenPoint{inside, pos};
    return d.splitAtPoint(p, profile, vertical, 1.0);
}

void numberPieces(DoorSet& doorSet) {
    int32_t profileNumber = 1;
    int32_t insertNumber = 1;
    for (int i = 0; i < doorSet.doorCount; ++i) {
        Door& d = doorSet.doors[i];
        for (Edge& e : d.edges)
            e.number = e.profile ? profileNumber++ : 0;
        for (auto& [id, s] : d.splitters)
            s.number = s.profile ? profileNumber++ : 0;
        for (auto& [id, in] : d.inserts)
            in.number = insertNumber++;
    }
}

} // namespace calctest
