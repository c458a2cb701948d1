#pragma once

// A data folder with a price file, colour categories and a few materials, the catalog built from
// it with the real system classes, a project, and compact comparisons of whole result lists.
#include "support/CalcTestSupport.h"
#include "support/TempFolder.h"

#include "calc/CalcResult.h"
#include "catalog/Catalog.h"
#include "model/Project.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace billtest {

struct Art {
    std::string code;
    int32_t stockLength;
    int32_t quantity;
    int32_t cost;
    int32_t counted;
    std::string error = std::string();
};

struct Cut {
    std::string number;
    std::string code;
    std::string length;
    std::string mark;
    int32_t door;
};

struct Fill {
    std::string code;
    int32_t thickness;
    double area;
    int32_t cost;
    std::string error = std::string();
};

struct Piece {
    std::string number;
    std::string code;
    std::string height;
    std::string width;
    std::string mark;
    int32_t door;
};

void expectArticles(const CalcResult& r, const std::vector<Art>& expected);
void expectCuts(const CalcResult& r, const std::vector<Cut>& expected);
void expectFillings(const CalcResult& r, const std::vector<Fill>& expected);
void expectPieces(const CalcResult& r, const std::vector<Piece>& expected);

// The row of an article by code, or null.
const ArticleRow* findArticle(const CalcResult& r, const std::string& code);

// Materials of the group "Материалы" (key = picture file name):
//   DSP16 "dsp.jpg"  ДСП белое, 16 mm, 800 roubles/m²
//   ZR4   "zr.jpg"   Зеркало,    4 mm, 2000 roubles/m²
//   P10   "p10.jpg"  Панель,    10 mm, 1500 roubles/m²
class SystemBillTest : public ::testing::Test {
protected:
    // Writes the price file ("код;коллекция;цена" header added) and, when given, the colour
    // category file, builds the catalog and a project, and switches the project to the system.
    void build(const std::string& system, const std::string& priceRows,
               const std::string& colorFile = std::string());

    const Material* material(const char* key) const;
    const SplitterProfile* splitterProfile(const char* code) const;
    DoorSet& doors() { return *project->doors; }
    Door& door(int i) { return project->doors->doors[i]; }
    // Splits an insert of door i (see calctest::split); fails the test when it is refused.
    Splitter* split(int i, int32_t pos, bool vertical, int32_t inside, const char* profile);

    TempFolder folder;
    std::unique_ptr<Catalog> catalog;
    std::unique_ptr<Project> project;
};

} // namespace billtest
