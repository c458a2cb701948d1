#include "support/RandomOrder.h"

#include "calc/DSSystem.h"
#include "catalog/Catalog.h"
#include "catalog/MaterialGroup.h"
#include "model/DoorSet.h"
#include "model/Project.h"

#include <algorithm>
#include <random>
#include <vector>

namespace {

int32_t between(std::mt19937& random, int32_t low, int32_t high) {
    return low + static_cast<int32_t>(random() % static_cast<uint32_t>(high - low + 1));
}

// Splits the insert under a random point of the door (drawn at scale 1 at the origin).
void splitSomewhere(std::mt19937& random, Door& door, const SplitterProfile* profile) {
    door.rect = {0, 0, door.width, door.height};
    for (auto& [id, insert] : door.inserts)
        insert.rect = {insert.left, insert.top, insert.right, insert.bottom};
    const bool vertical = random() % 4 == 0;
    const ScreenPoint p{between(random, 1, std::max(1, door.width - 1)),
                        between(random, 1, std::max(1, door.height - 1))};
    door.splitAtPoint(p, profile, vertical, 1.0);
    door.clearPressed();
}

} // namespace

void makeRandomOrder(Project& project, uint32_t seed) {
    std::mt19937 random(seed * 2654435761u + 17u);
    Catalog& catalog = project.catalog();
    const std::vector<DSSystem*>& systems = catalog.systems();
    if (systems.empty())
        return;
    project.setSystem(systems[seed % systems.size()]);
    std::vector<HandleProfile*> handles;
    project.system->listHandleProfiles(handles);
    if (!handles.empty())
        project.setHandleProfile(handles[random() % handles.size()]);

    int doors = between(random, 1, 10);
    while (doors > 1 &&
           (doors > project.system->maxDoors() || project.system->clampDoorCount(doors) != doors))
        --doors;
    project.setDoorCount(doors);
    project.setOpeningWidth(doors * between(random, 5500, 11000));
    project.setHeight(between(random, 20000, 27000));
    project.recalculate(false);

    std::vector<const Material*> materials;
    for (const MaterialGroup* g : catalog.materialGroups())
        for (const Material& m : g->materials)
            materials.push_back(&m);
    std::vector<const Material*> chosen;
    const int kinds = between(random, 1, 3);
    for (int k = 0; k < kinds && !materials.empty(); ++k)
        chosen.push_back(materials[random() % materials.size()]);

    DoorSet& set = *project.doors;
    for (int i = 0; i < set.doorCount; ++i) {
        Door& door = set.doors[static_cast<size_t>(i)];
        const int splits = between(random, 0, 4);
        for (int s = 0; s < splits; ++s)
            splitSomewhere(random, door, project.splitterProfile);
        for (auto& [id, insert] : door.inserts) {
            const bool empty = chosen.empty() || random() % 10 == 0;
            insert.material = empty ? nullptr : chosen[random() % chosen.size()];
        }
    }
    project.recalculate(true);
}
