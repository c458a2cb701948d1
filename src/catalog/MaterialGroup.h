#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "catalog/Material.h"

// One subfolder of the materials folder: its materials, in the order they were read.
class MaterialGroup {
public:
    std::vector<Material> materials;
    std::string name;         // the subfolder's name
    std::string priceFile;    // full path of the group's price.csv
    std::string imagesFolder; // full path of the group's images folder

    // The first material whose pictureKey() equals the key exactly, or null.
    const Material* findByKey(std::string_view key) const;
};
