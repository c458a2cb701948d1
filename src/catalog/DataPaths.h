#pragma once

#include <array>
#include <string>
#include <string_view>

#include "catalog/PriceCategory.h"

// Fixed names of the data folder beside the program, the category words of the price files and
// the picture extensions of the materials.
struct DataPaths {
    static constexpr std::string_view materialsFolder = "materials";
    static constexpr std::string_view imagesFolder = "images";
    static constexpr std::string_view materialPriceFile = "price.csv";
    static constexpr std::string_view profilesFolder = "profiles";
    static constexpr std::string_view profilePriceFile = "price.csv";
    static constexpr std::string_view colorPriceFile = "colors_price.csv";
    static constexpr std::string_view rollerFile = "rollers.csv";
    static constexpr std::string_view configFolder = "config";

    // The words of PriceCategory 1..8, in that order (UTF-8; the files hold them in
    // Windows-1251 and are converted before comparing).
    static constexpr std::array<std::string_view, priceCategoryCount> categoryWords = {
        "стандарт", "премиум", "анод", "базовый", "новинка", "акция", "хром", "глянец"};

    // Picture extensions of materials, compared exactly (lower case only).
    static constexpr std::array<std::string_view, 3> pictureExtensions = {"jpg", "bmp", "png"};

    // 1..8 for the eight category words (exact comparison), 0 for any other word.
    static int32_t categoryFromWord(std::string_view word);

    // True when the extension is exactly one of the picture extensions.
    static bool isPictureExtension(std::string_view extension);

    // The program's folder in the user's state folder: $XDG_STATE_HOME/tavrolab when that is an
    // absolute path, else ~/.local/state/tavrolab; empty when neither is known.
    static std::string userStateFolder();

    // folder + "/" + name (no separator added when the folder is empty or already ends in one).
    static std::string join(std::string_view folder, std::string_view name);

    // Full paths of the data files under a base folder.
    static std::string profilePricePath(std::string_view base);
    static std::string colorPricePath(std::string_view base);
    static std::string rollerPath(std::string_view base);
    static std::string materialsPath(std::string_view base);
    static std::string configPath(std::string_view base);
};
