#include "catalog/MaterialGroup.h"

const Material* MaterialGroup::findByKey(std::string_view key) const {
    for (const Material& material : materials) {
        if (material.pictureKey() == key)
            return &material;
    }
    return nullptr;
}
