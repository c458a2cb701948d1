#pragma once

#include <cstdint>

// Which of an article's eight prices applies. The data files name the categories by the words
// "стандарт", "премиум", "анод", "базовый", "новинка", "акция", "хром", "глянец" (DataPaths).
enum PriceCategory : int32_t {
    CategoryNone = 0, // a word that names no category
    CategoryStandard = 1,
    CategoryPremium = 2,
    CategoryAnod = 3,
    CategoryBase = 4,
    CategoryNew = 5,
    CategorySale = 6,
    CategoryChrome = 7,
    CategoryGloss = 8,
};

inline constexpr int priceCategoryCount = 8;
