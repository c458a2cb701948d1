#include "calc/SystemFactory.h"

#include "calc/systems/DSSystemDarso.h"
#include "calc/systems/DSSystemFolm.h"
#include "calc/systems/DSSystemGartis.h"
#include "calc/systems/DSSystemKvert.h"
#include "calc/systems/DSSystemLoven.h"
#include "calc/systems/DSSystemMeloza.h"
#include "calc/systems/DSSystemNorsia.h"
#include "calc/systems/DSSystemStenvik.h"
#include "calc/systems/DSSystemTavro.h"

#include <string_view>

std::unique_ptr<DSSystem> createSystem(int32_t index, const std::string& displayName,
                                       int32_t pictureId) {
    if (displayName == "Ловен")
        return std::make_unique<DSSystemLoven>(index, displayName, pictureId);
    if (displayName == "Стенвик")
        return std::make_unique<DSSystemStenvik>(index, displayName, pictureId);
    if (displayName == "Дарсо")
        return std::make_unique<DSSystemDarso>(index, displayName, pictureId);
    if (displayName == "Кверт-Н")
        return std::make_unique<DSSystemKvert>(index, displayName, pictureId);
    if (displayName == "Тавро")
        return std::make_unique<DSSystemTavro>(index, displayName, pictureId);
    if (displayName == "Мелоза")
        return std::make_unique<DSSystemMeloza>(index, displayName, pictureId);
    if (displayName == "Гартис")
        return std::make_unique<DSSystemGartis>(index, displayName, pictureId);
    if (displayName == "Фольм")
        return std::make_unique<DSSystemFolm>(index, displayName, pictureId);
    if (displayName == "Норсия")
        return std::make_unique<DSSystemNorsia>(index, displayName, pictureId);
    return nullptr;
}

Catalog::SystemEntry systemEntry(std::unique_ptr<DSSystem> system) {
    DSSystem* raw = system.get();
    return {std::unique_ptr<DSItem>(system.release()), raw};
}

std::vector<Catalog::SystemEntry> makeAllSystems(Catalog& catalog) {
    std::vector<Catalog::SystemEntry> systems;
    for (int i = 0; i < Catalog::systemCount; ++i) {
        const Catalog::SystemInfo& info = Catalog::systemInfo(i);
        std::unique_ptr<DSSystem> system = createSystem(i, std::string(info.name), info.pictureId);
        if (system == nullptr)
            continue;
        system->takeLists(catalog.systemLists(i));
        systems.push_back(systemEntry(std::move(system)));
    }
    return systems;
}

Catalog& programCatalog() {
    static Catalog catalog(Catalog::executableFolder(), makeAllSystems);
    return catalog;
}
