#pragma once

#include "calc/DSSystem.h"
#include "catalog/Catalog.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The system object of the class that belongs to the display name (compared exactly), built with
// the class's cabinetMode and hasEdgeOption; null for an unknown name.
std::unique_ptr<DSSystem> createSystem(int32_t index, const std::string& displayName,
                                       int32_t pictureId);

// Hands a system object over to the catalog.
Catalog::SystemEntry systemEntry(std::unique_ptr<DSSystem> system);

// The nine systems in catalog order: Ловен, Стенвик, Дарсо, Кверт-Н, Тавро, Мелоза, Гартис,
// Фольм, Норсия, each given the lists the catalog built for its position. This is the factory the
// catalog's constructor takes.
std::vector<Catalog::SystemEntry> makeAllSystems(Catalog& catalog);

// The process-wide catalog, built on first use from the folder of the executable with the nine
// system classes; destroyed at process exit.
Catalog& programCatalog();
