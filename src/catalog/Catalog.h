#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "catalog/Article.h"
#include "catalog/ColorChoice.h"
#include "catalog/DSItem.h"
#include "catalog/HandleProfile.h"
#include "catalog/MaterialGroup.h"
#include "catalog/ProfileColor.h"
#include "catalog/RollerKit.h"
#include "catalog/SplitterProfile.h"
#include "catalog/SystemLists.h"

class DSSystem;

// The registry of the product range: the nine system objects, handle profiles with their colours,
// splitter profiles, colours with their price categories, the other articles and roller kits, and
// the material groups of the data folder. Built once; afterwards no record is added, removed or
// replaced, so pointers into it stay valid for the catalog's lifetime.
//
// How the catalog and the system classes share the work: this library sits below the engine and
// never touches a DSSystem member. It builds every record and, for each system position 0..8,
// the lists that system offers (SystemLists: handle profiles, splitter profiles, articles, the
// roller file's kits and the default kits, the kit the roller file selects, Ловен's pivot kit,
// Гартис's two variants). The system factory given to the constructor runs last, after the
// built-in tables and every data file: it creates the nine system objects in index order with the
// names and picture ids of systemInfo() and hands systemLists(i) to system i. From then on the
// system objects own these lists and choices; systemLists() keeps the state at start-up.
class Catalog {
public:
    static constexpr int systemCount = 9;
    static constexpr int handleCount = 23;
    static constexpr int colorCount = 61;
    static constexpr int splitterCount = 9;
    static constexpr int builtinArticleCount = 80;

    // One system object as the factory hands it over: owned through its DSItem head (whose
    // destructor is virtual, so the catalog needs no more of the class than that) and used as a
    // DSSystem. Both pointers name the same object.
    struct SystemEntry {
        std::unique_ptr<DSItem> owner;
        DSSystem* system = nullptr;
    };
    using SystemFactory = std::function<std::vector<SystemEntry>(Catalog&)>;
    using ColorCategories = std::array<CategoryRow, colorCount>;

    struct SystemInfo {
        std::string_view name; // display name, the system's code
        int32_t pictureId;
    };

    // Builds the catalog from the built-in tables and the data folder under baseFolder
    // (profiles/, materials/). Missing or malformed data files leave the defaults. A null
    // factory creates no system objects (the lists are built all the same).
    explicit Catalog(std::string baseFolder, const SystemFactory& makeSystems = {});
    ~Catalog();
    Catalog(const Catalog&) = delete;
    Catalog& operator=(const Catalog&) = delete;

    // Folder that holds the running executable (from /proc/self/exe), without a trailing "/".
    static std::string executableFolder();

    // Display name and picture id of the system at a position 0..8 (the factory's input).
    static const SystemInfo& systemInfo(int index);

    const std::string& baseFolder() const { return baseFolder_; }

    const std::vector<DSSystem*>& systems() const { return systems_; }
    const std::vector<HandleProfile*>& handleTable() const { return handleTable_; }
    const std::vector<ProfileColor*>& colorTable() const { return colorTable_; }
    const std::vector<MaterialGroup*>& materialGroups() const { return materialGroups_; }
    const std::vector<SplitterProfile*>& splitterTable() const { return splitterTable_; }
    const std::vector<Article*>& articleList() const { return articleList_; }
    const ColorCategories& colorCategories() const { return colorCategories_; }
    // The lists built for the system at a position 0..8 (empty lists for any other position).
    const SystemLists& systemLists(int index) const;

    // First match or null. Codes and colour names compare case-insensitively (Cyrillic and
    // Latin); system and material group names compare exactly.
    DSSystem* systemByName(std::string_view name) const;
    HandleProfile* handleByCode(std::string_view code) const;
    ProfileColor* colorByName(std::string_view name) const;
    SplitterProfile* splitterByCode(std::string_view code) const;
    Article* articleByCode(std::string_view code) const;
    MaterialGroup* materialGroupByName(std::string_view name) const;

    std::vector<std::string> materialGroupNames() const;

private:
    friend class DataFileReader;

    // Appends an article to articleList (the catalog takes ownership).
    Article* addArticle(std::unique_ptr<Article> article);
    MaterialGroup* addMaterialGroup(std::unique_ptr<MaterialGroup> group);
    SystemLists& mutableSystemLists(int index) { return systemLists_[index]; }
    CategoryRow& categoryRow(int colorIndex) { return colorCategories_[colorIndex]; }

    std::string baseFolder_;

    std::vector<SystemEntry> ownedSystems_;
    std::vector<std::unique_ptr<HandleProfile>> ownedHandles_;
    std::vector<std::unique_ptr<ProfileColor>> ownedColors_;
    std::vector<std::unique_ptr<SplitterProfile>> ownedSplitters_;
    std::vector<std::unique_ptr<Article>> ownedArticles_;
    std::vector<std::unique_ptr<MaterialGroup>> ownedGroups_;

    std::vector<DSSystem*> systems_;
    std::vector<HandleProfile*> handleTable_;
    std::vector<ProfileColor*> colorTable_;
    std::vector<MaterialGroup*> materialGroups_;
    std::vector<SplitterProfile*> splitterTable_;
    std::vector<Article*> articleList_;
    ColorCategories colorCategories_{};
    std::array<SystemLists, systemCount> systemLists_;

    // Lower-cased code -> first record with it, for the case-insensitive lookups.
    std::unordered_map<std::string, HandleProfile*> handleIndex_;
    std::unordered_map<std::string, ProfileColor*> colorIndex_;
    std::unordered_map<std::string, SplitterProfile*> splitterIndex_;
    std::unordered_map<std::string, Article*> articleIndex_;
};
