#pragma once

#include "calc/SystemFactory.h"
#include "catalog/Catalog.h"

#include <cstdlib>

// The catalog the fuzzers read projects with: the shipped data folder (materials, prices) unless
// TAVROLAB_DATA names another one.
inline Catalog& fuzzCatalog() {
    static Catalog c(std::getenv("TAVROLAB_DATA") ? std::getenv("TAVROLAB_DATA") : TAV_DATA_DIR,
                     makeAllSystems);
    return c;
}
