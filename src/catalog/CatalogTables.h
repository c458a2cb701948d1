#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

// The product range written into the program: plain data, read by the catalog's build.
// Sizes and stock lengths are in 0.1 mm.
namespace catalog_tables {

struct HandleRow {
    std::string_view code;
    std::string_view name;
    int32_t pictureId;
    int32_t dimA, dimB, dimC;
    int32_t stock1, stock2, stock3;
    int32_t rollerKind;
};

struct ColorRow {
    std::string_view name;
    int32_t pictureId;
    uint8_t red, green, blue;
};

// The colours a handle profile is made in: the regular ones first, then those on order.
struct ColorListRow {
    std::string_view handleCode;
    std::vector<std::string_view> regular;
    std::vector<std::string_view> onOrder;
};

struct SplitterRow {
    std::string_view code;
    std::string_view name;
    int32_t pictureId;
    int32_t dimA, dimB, dimC;
    int32_t stock1, stock2;
    int32_t dimD, dimE;
    int32_t splitterType;
    int32_t splitterFlag;
};

struct ArticleTableRow {
    std::string_view code;
    std::string_view name;
    int32_t kind;
    int32_t pictureId;
    int32_t dimA, dimB, dimC;
    int32_t stock1;
    // Roller kits (kind 6) only.
    int32_t rollerType;
    uint8_t perSet;
    uint8_t count;
};

struct SystemRow {
    std::string_view name;
    int32_t pictureId;
    std::vector<std::string_view> handleProfiles;
    std::vector<std::string_view> splitterProfiles;
    std::vector<std::string_view> systemArticles;
    std::vector<std::string_view> defaultRollerKits;
};

const std::vector<HandleRow>& handleRows();
const std::vector<ColorRow>& colorRows();
const std::vector<ColorListRow>& colorListRows();
const std::vector<SplitterRow>& splitterRows();
const std::vector<ArticleTableRow>& articleRows();
const std::vector<SystemRow>& systemRows();

// Articles linked to single systems.
inline constexpr std::string_view pivotKitCode = "KL16";     // Ловен
inline constexpr std::string_view railVariantCode = "KG01";  // Гартис
inline constexpr std::string_view frameVariantCode = "KG04"; // Гартис
inline constexpr int pivotSystemIndex = 0;
inline constexpr int variantSystemIndex = 6;

} // namespace catalog_tables
