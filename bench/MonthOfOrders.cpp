#include "MonthOfOrders.h"

#include "calc/DSSystem.h"
#include "catalog/Catalog.h"
#include "catalog/MaterialGroup.h"
#include "model/DoorSet.h"
#include "model/Project.h"

#include <algorithm>
#include <string>
#include <vector>

namespace monthoforders {
namespace {

int32_t between(std::mt19937& random, int32_t low, int32_t high) {
    return low + static_cast<int32_t>(random() % static_cast<uint32_t>(high - low + 1));
}

// A shop sells its first systems most: weights for the catalog's systems in their order.
size_t systemIndex(std::mt19937& random, size_t count) {
    static const int weights[] = {30, 20, 15, 10, 8, 6, 5, 3, 3};
    int total = 0;
    for (size_t i = 0; i < count; ++i)
        total += i < std::size(weights) ? weights[i] : 1;
    int pick = static_cast<int>(random() % static_cast<uint32_t>(total));
    for (size_t i = 0; i < count; ++i) {
        pick -= i < std::size(weights) ? weights[i] : 1;
        if (pick < 0)
            return i;
    }
    return 0;
}

// The fillings people order: mirror and glass most, then boards.
std::vector<const Material*> fillings(const Catalog& catalog) {
    std::vector<const Material*> out;
    for (const MaterialGroup* g : catalog.materialGroups()) {
        const int weight = g->name == "Зеркало"                      ? 3
                           : g->name == "Стекло" || g->name == "ДСП" ? 2
                                                                     : 0;
        for (const Material& m : g->materials)
            for (int w = 0; w < weight; ++w)
                out.push_back(&m);
    }
    return out;
}

} // namespace

void makeOrder(Project& project, std::mt19937& random) {
    Catalog& catalog = project.catalog();
    const std::vector<DSSystem*>& systems = catalog.systems();
    if (systems.empty())
        return;
    project.setSystem(systems[systemIndex(random, systems.size())]);
    int doors = between(random, 2, 4);
    while (doors > 2 &&
           (doors > project.system->maxDoors() || project.system->clampDoorCount(doors) != doors))
        --doors;
    project.setDoorCount(doors);
    project.setOpeningWidth(between(random, 1200, 4800) * 10);
    project.setHeight(between(random, 2000, 2800) * 10);
    project.recalculate(false);

    const std::vector<const Material*> all = fillings(catalog);
    std::vector<const Material*> chosen;
    const int kinds = between(random, 1, 2);
    for (int k = 0; k < kinds && !all.empty(); ++k)
        chosen.push_back(all[random() % all.size()]);
    DoorSet& set = *project.doors;
    for (int i = 0; i < set.doorCount; ++i) {
        Door& door = set.doors[static_cast<size_t>(i)];
        // Up to two horizontal splitters, at a third or a half of the door.
        const int splits = between(random, 0, 2);
        for (int s = 0; s < splits; ++s) {
            door.rect = {0, 0, door.width, door.height};
            for (auto& [id, insert] : door.inserts)
                insert.rect = {insert.left, insert.top, insert.right, insert.bottom};
            const int32_t y = door.height / (s == 0 ? 3 : 2);
            door.splitAtPoint({door.width / 2, y}, project.splitterProfile, false, 1.0);
            door.clearPressed();
        }
        for (auto& [id, insert] : door.inserts)
            insert.material = chosen.empty() ? nullptr : chosen[random() % chosen.size()];
    }
    project.recalculate(true);
}

} // namespace monthoforders
