#pragma once

#include <string>
#include <string_view>

class Catalog;
class MaterialGroup;

// The readers of the data folder. Each file is read whole; a reader that cannot use a file leaves
// the catalog as it was. The result codes are kept for tests; nobody shows them to the user.
// The text forms take the file's bytes (Windows-1251) so that tests and the fuzzer can feed them
// directly.
class DataFileReader {
public:
    enum Result {
        Ok = 0,
        CannotOpen = 1,
        Empty = 2,          // empty or without a line break
        MissingColumn = 3,  // a required header column is missing
        NoSystemColumn = 4, // colour category file without any system column
    };

    // profiles/price.csv: prices of handle profiles, splitter profiles and articles.
    static Result readProfilePrices(Catalog& catalog, std::string_view bytes);
    static Result readProfilePriceFile(Catalog& catalog, const std::string& path);

    // profiles/colors_price.csv: price category of each colour in each system.
    static Result readColorCategories(Catalog& catalog, std::string_view bytes);
    static Result readColorCategoryFile(Catalog& catalog, const std::string& path);

    // profiles/rollers.csv: extra roller kits per system (the default kits are given afterwards
    // by the catalog's build).
    static Result readRollers(Catalog& catalog, std::string_view bytes);
    static Result readRollerFile(Catalog& catalog, const std::string& path);

    // materials/<group>/price.csv into the group (its imagesFolder must be set).
    static Result readMaterials(MaterialGroup& group, std::string_view bytes);
    static Result readMaterialFile(MaterialGroup& group, const std::string& path);

    // Replaces the catalog's material groups with the groups found in the materials folder.
    static void scanMaterialsFolder(Catalog& catalog, const std::string& materialsFolder);

    // Reads a whole file; false when it cannot be opened or read.
    static bool readWholeFile(const std::string& path, std::string& bytes);
};
