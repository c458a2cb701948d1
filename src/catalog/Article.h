#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "catalog/DSItem.h"
#include "catalog/PriceCategory.h"

class ProfileColor;

// What an article is; how each kind is billed is decided by the calculation.
enum ArticleKind : int32_t {
    KindHandle = 0,    // vertical handle profile (HandleProfile)
    KindSplitter = 1,  // splitter profile (SplitterProfile)
    KindPart = 2,      // accessories, filler strips, some frame and metal profiles
    KindRearDoor = 3,  // handle profile of the rear door
    KindProfile = 4,   // horizontal, guide, running and other profiles
    KindMainFrame = 5, // main frame profile
    KindRollerKit = 6, // roller kit, pivot mechanism, single roller (RollerKit)
    KindByLength = 7,  // goods sold by length: brush, seal, glass insert, pile strip
};

// A profile or an accessory. Sizes and stock lengths are in 0.1 mm, prices in kopecks.
class Article : public DSItem {
public:
    Article() = default;
    Article(int32_t index, std::string code, int32_t pictureId, std::string name, int32_t kind)
        : DSItem(index, std::move(code), pictureId, std::move(name)), kind(kind) {}

    int32_t dimA = 0;
    int32_t dimB = 0;
    int32_t dimC = 0;
    int32_t stockLength1 = 0;
    int32_t stockLength2 = 0;
    int32_t stockLength3 = 0;
    std::array<int32_t, priceCategoryCount> prices{}; // per PriceCategory 1..8; 0 = no price
    int32_t kind = 0;
    uint8_t stockChoice = 1; // 2: stockLength2, 3: stockLength3, anything else: stockLength1

    // Sets the three section sizes and the three stock lengths; the first stock length is then
    // the one in use.
    void setSizes(int32_t a, int32_t b, int32_t c, int32_t stock1, int32_t stock2 = 0,
                  int32_t stock3 = 0);

    // The stock length selected by stockChoice.
    int32_t stockLength() const;

    // Unit price in kopecks in the given profile colour in the system with the given index: the
    // price of the colour's category in that system when the article has one, else the standard
    // price. No colour (or a system index outside the catalog) gives the standard price.
    int32_t price(const ProfileColor* color, int systemIndex) const;
};
