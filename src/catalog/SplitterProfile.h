#pragma once

#include "catalog/Article.h"

// A splitter profile (kind 1).
class SplitterProfile : public Article {
public:
    SplitterProfile() = default;
    SplitterProfile(int32_t index, std::string code, int32_t pictureId, std::string name)
        : Article(index, std::move(code), pictureId, std::move(name), KindSplitter) {}

    int32_t dimD = 0;         // 0.1 mm
    int32_t dimE = 0;         // 0.1 mm
    int32_t splitterType = 0; // 0: chipboard on both sides, 1: chipboard and glass, 2: all-purpose
    int32_t splitterFlag = 0; // set for one profile only, read by that system's calculation
};
