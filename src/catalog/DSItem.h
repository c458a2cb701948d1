#pragma once

#include <cstdint>
#include <string>
#include <utility>

// The common head of every catalog record and of every system object.
class DSItem {
public:
    DSItem() = default;
    DSItem(int32_t index, std::string code, int32_t pictureId, std::string name)
        : index(index), code(std::move(code)), pictureId(pictureId), name(std::move(name)) {}
    DSItem(const DSItem&) = default;
    DSItem& operator=(const DSItem&) = default;
    virtual ~DSItem() = default;

    int32_t index = 0;     // position of the record in its catalog table (0-based)
    std::string code;      // article code; a system's display name; a colour's name
    int32_t pictureId = 0; // picture of the profile or colour swatch; 0 = none
    std::string name;      // descriptive name; empty for systems and colours
};
