// Feeds arbitrary bytes to the four data-file readers. The first byte picks the reader:
// 0 profile prices, 1 colour categories, 2 roller file, 3 material file. Whatever the bytes, a
// reader must not crash, and the catalog must stay consistent afterwards.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "catalog/Catalog.h"
#include "catalog/DataFileReader.h"

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

// An images folder with a few pictures and a picture folder, made once per fuzzing process.
const std::string& imagesFolder() {
    static const std::string folder = [] {
        namespace fs = std::filesystem;
        const fs::path base = fs::temp_directory_path() / "tavrolab-fuzz-images";
        fs::create_directories(base / "фото");
        for (const char* name : {"a.jpg", "b.png", "дуб.jpg", "фото/1.jpg", "фото/2.bmp"})
            std::ofstream(base / name) << "x";
        return base.string();
    }();
    return folder;
}

void checkCatalog(const Catalog& catalog) {
    const auto& articles = catalog.articleList();
    for (size_t i = 1; i < articles.size(); ++i)
        require(articles[i]->index == articles[i - 1]->index + 1);
    for (const Article* a : articles)
        for (int32_t price : a->prices)
            require(price >= 0);
    for (const Article* a : catalog.handleTable())
        for (int32_t price : a->prices)
            require(price >= 0);
    for (int s = 0; s < Catalog::systemCount; ++s) {
        const SystemLists& lists = catalog.systemLists(s);
        for (const Article* a : lists.systemArticles)
            require(a != nullptr);
        if (lists.selectedRollerKit) {
            require(lists.selectedRollerKit->kind == KindRollerKit);
            require(lists.selectedRollerKit->count > 0);
        }
    }
    for (const auto& row : catalog.colorCategories())
        for (int32_t category : row)
            require(category >= 1 && category <= 8);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (data[0] % 4) {
    case 0: {
        Catalog catalog("/nonexistent/tavrolab-fuzz");
        DataFileReader::readProfilePrices(catalog, bytes);
        checkCatalog(catalog);
        break;
    }
    case 1: {
        Catalog catalog("/nonexistent/tavrolab-fuzz");
        DataFileReader::readColorCategories(catalog, bytes);
        checkCatalog(catalog);
        break;
    }
    case 2: {
        Catalog catalog("/nonexistent/tavrolab-fuzz");
        DataFileReader::readRollers(catalog, bytes);
        checkCatalog(catalog);
        break;
    }
    default: {
        MaterialGroup group;
        group.name = "g";
        group.imagesFolder = imagesFolder();
        DataFileReader::readMaterials(group, bytes);
        for (const Material& material : group.materials) {
            require(!material.code.empty());
            require(group.findByKey(material.pictureKey()) != nullptr);
        }
        break;
    }
    }
    return 0;
}
