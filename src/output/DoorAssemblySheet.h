#pragma once

#include "output/ResultTables.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class Project;

// Lengths in 0.1 mm; positions are measured on the door's face from its left and its bottom edge,
// as the workshop lays a door out on the bench.

// A frame profile of the door.
struct AssemblyEdge {
    std::string code; // empty: no profile on this side
    int32_t cutLength = 0;
    std::string lengthText; // as in the cut list
    int32_t mark = 0;
    int32_t visibleWidth = 0; // the profile's face on the door (its dimC)
};

// A splitter: its axis and the stretch it runs along, and its cut piece.
struct AssemblySplitter {
    int32_t mark = 0;
    bool vertical = false;
    int32_t axis = 0; // vertical: from the left; horizontal: from the bottom
    int32_t from = 0; // where it starts and ends along itself: vertical from the bottom,
    int32_t to = 0;   // horizontal from the left (from < to)
    std::string code; // profile article, empty without profile
    int32_t cutLength = 0;
    std::string lengthText;   // as in the cut list
    int32_t visibleWidth = 0; // the profile's face on the door (its dimC)
};

// An insert: its opening between the profiles' axes and its fitted filling.
struct AssemblyInsert {
    int32_t mark = 0;
    int32_t left = 0, bottom = 0, right = 0, top = 0; // nominal region
    int32_t fillLeft = 0, fillBottom = 0, fillWidth = 0, fillHeight = 0;
    std::string widthText, heightText; // fitted size as the materials list writes it
    std::string material;              // code and name; empty without a filling
};

// An accessory the door is assembled with, as the bill counted it: what it is ("Ролики",
// "Стопор", "Щётка", "Уплотнитель"), its article and this door's amount, or the order's amount
// where the bill does not divide the line into shares per door.
struct AssemblyAccessory {
    std::string what;
    std::string code;
    std::string name; // with "\n" and the bill's error text when the line has one
    std::string amount;
};

struct AssemblyDoor {
    int32_t index = 0; // 0-based
    int32_t width = 0;
    int32_t height = 0;
    std::array<AssemblyEdge, 4> edges;          // left, top, right, bottom
    std::vector<AssemblySplitter> splitters;    // in id order
    std::vector<AssemblyInsert> inserts;        // in id order
    std::string track;                          // the track the door runs on, empty when unknown
    std::vector<AssemblyAccessory> accessories; // in the order of the bill's rows
};

// The door assembly sheet: each door in use with its size, frame, splitter positions and fitted
// fillings, taken from the door set after the calculation, and its track, rollers, stoppers and
// seals as the calculation shared them out to the doors.
class DoorAssemblySheet {
public:
    static DoorAssemblySheet build(const Project& project);

    std::vector<AssemblyDoor> doors;

    // The tables printed under a door's drawing: frame and splitters, then inserts.
    static std::vector<ResultTable> tables(const AssemblyDoor& door);
    // The track and the accessories of the door, beside its drawing where there is room; none
    // when the calculation recorded neither.
    static std::vector<ResultTable> fittingTables(const AssemblyDoor& door);
};
