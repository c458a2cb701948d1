#pragma once

#include <vector>

#include "catalog/Article.h"
#include "catalog/ColorChoice.h"

// A vertical handle profile (kind 0) with the colours it is made in.
class HandleProfile : public Article {
public:
    HandleProfile() = default;
    HandleProfile(int32_t index, std::string code, int32_t pictureId, std::string name)
        : Article(index, std::move(code), pictureId, std::move(name), KindHandle) {}

    std::vector<ColorChoice> colorChoices; // in the order shown to the user; may repeat a colour
    int32_t rollerKind = 0;                // 1: needs an asymmetric roller kit, 0: a symmetric one
};
