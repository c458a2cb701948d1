#pragma once

#include "output/ResultTables.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class Project;

// One filling piece as the workshop cuts it: the insert's fitted filling.
struct FillingCutPiece {
    std::string number;    // "g-k" as in the materials list
    int32_t doorIndex = 0; // 0-based
    std::string mark;      // the insert's number on the sketch
    int32_t width = 0;     // fitted width, 0.1 mm
    int32_t height = 0;    // fitted height, 0.1 mm
    std::string widthText; // millimetres, as the materials list writes them
    std::string heightText;
    double area = 0.0; // m² of the fitted size, as the bill counts it
};

// The pieces of one filling material.
struct FillingCutGroup {
    std::string code;
    std::string name;
    int32_t thickness = 0; // 0.1 mm
    double area = 0.0;     // m², the sum of the pieces
    std::vector<FillingCutPiece> pieces;
};

// The filling cut sheet: every filling piece of the order with its fitted size, door, insert and
// area, grouped by material in the order of the materials list. Built from the calculation's
// filling pieces, so it lists exactly what the bill bills.
class FillingCutSheet {
public:
    static FillingCutSheet build(const Project& project);

    std::vector<FillingCutGroup> groups;

    std::size_t pieceCount() const;
    // Per material a caption table and a table of its pieces, for the printed sheet.
    std::vector<ResultTable> tables() const;
};
