#pragma once

#include "catalog/Article.h"

// A roller kit, pivot mechanism or single roller (kind 6).
class RollerKit : public Article {
public:
    RollerKit() = default;
    RollerKit(int32_t index, std::string code, int32_t pictureId, std::string name)
        : Article(index, std::move(code), pictureId, std::move(name), KindRollerKit) {}

    int32_t rollerType = 0; // 0: fits every handle profile; 1: symmetric; 2: asymmetric
    uint8_t perSet = 0;     // 1: one pack serves `count` doors; 0: `count` packs per door
    uint8_t count = 0;
};
