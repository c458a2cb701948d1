#include "catalog/Article.h"

#include "catalog/ProfileColor.h"

void Article::setSizes(int32_t a, int32_t b, int32_t c, int32_t stock1, int32_t stock2,
                       int32_t stock3) {
    dimA = a;
    dimB = b;
    dimC = c;
    stockLength1 = stock1;
    stockLength2 = stock2;
    stockLength3 = stock3;
    stockChoice = 1;
}

int32_t Article::stockLength() const {
    switch (stockChoice) {
    case 2:
        return stockLength2;
    case 3:
        return stockLength3;
    default:
        return stockLength1;
    }
}

int32_t Article::price(const ProfileColor* color, int systemIndex) const {
    const int32_t standard = prices[0];
    if (!color || !color->categoryRow || systemIndex < 0 ||
        systemIndex >= static_cast<int>(color->categoryRow->size()))
        return standard;
    const int32_t category = (*color->categoryRow)[static_cast<size_t>(systemIndex)];
    if (category >= CategoryPremium && category <= CategoryGloss && prices[category - 1] > 0)
        return prices[category - 1];
    return standard;
}
