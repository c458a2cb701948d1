#include "calc/FillingFits.h"

#include "calc/DSSystem.h"
#include "catalog/Material.h"
#include "model/Insert.h"

void fitChipboardOrGlass(DSSystem& system, Insert& insert, int32_t topEdgeWidth,
                         int32_t bottomEdgeWidth) {
    if (insert.material == nullptr)
        return;
    const int32_t t = insert.material->thickness;
    if (t != 0 && t != 40 && t != 160) {
        insert.thicknessMismatch = true;
        return;
    }
    system.DSSystem::fitFilling(insert, topEdgeWidth, bottomEdgeWidth);
}
