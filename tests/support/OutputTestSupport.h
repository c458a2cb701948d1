#pragma once

#include "catalog/Catalog.h"
#include "model/Project.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <memory>
#include <string>

class DSSystem;
struct SplitterProfile;

namespace outtest {

// Writes bytes to a file (creating its folders); fails the test when it cannot.
void writeFile(const std::filesystem::path& path, const std::string& bytes);
std::string readFile(const std::filesystem::path& path);

// A data folder with prices for every article the built-in tables know (so every system prices
// its rows), two material groups and a config folder:
//   Зеркало: "З-01" серебро.jpg (4 mm, 1500 руб./м2) and "З-02" from the folder фото (a.jpg, b.png)
//   ЛДСП:    "Д-01" дуб.jpg (10 mm, 900 руб./м2)
void writeDataFolder(const std::filesystem::path& base);

// A catalog over a data folder written by writeDataFolder, with the real system classes, and a
// project on it.
struct World {
    TempFolder dir;
    std::unique_ptr<Catalog> catalog;
    std::unique_ptr<Project> project;

    World();
    std::filesystem::path base() const { return dir / "data"; }
    const Material* material(const std::string& group, const std::string& key) const;
};

// Splits the insert of door d under model point (x, y) with a splitter of the given orientation
// (the door drawn at scale 1 at the origin). Returns whether it split.
bool split(Door& d, int32_t x, int32_t y, bool vertical, const SplitterProfile* profile);

// Switches the project to the named system (false when the catalog lacks it) and gives it a
// door layout with splitters of both orientations in every door, materials of both groups (one
// from a picture folder), one insert without material, a spanned picture, and an order card with
// texts that need escaping in XML.
bool buildSampleProject(World& s, const std::string& systemName);

// The sketch file of the project in the layout of an older version, written field by field as
// the format describes it (independently of the program's writer). withMarker chooses the order
// block with the marker (phone and costs) or the older one.
std::string legacySketchBytes(const Project& p, int version, bool withMarker);

// Fixed order card dates: 15.03.2026 and 01.04.2026, noon UTC.
inline constexpr int64_t kOrderDate = 1773576000;
inline constexpr int64_t kReadyDate = 1775044800;

} // namespace outtest
