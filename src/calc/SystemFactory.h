#pragma once

#include "calc/DSSystem.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Catalog;

// The system object of the class that belongs to the display name (compared exactly), built with
// the class's cabinetMode and hasEdgeOption; null for an unknown name.
std::unique_ptr<DSSystem> createSystem(int32_t index, const std::string& displayName,
                                       int32_t pictureId);

// The nine systems in catalog order: Ловен, Стенвик, Дарсо, Кверт-Н, Тавро, Мелоза, Гартис,
// Фольм, Норсия, each given the lists the catalog built for its position.
std::vector<std::unique_ptr<DSSystem>> makeAllSystems(Catalog& catalog);
