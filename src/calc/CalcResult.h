#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The bill of materials of one calculation: priced article rows, filling rows, the cut list, the
// filled inserts and the per-door element list. Errors travel as texts inside the rows; any row
// with an error text makes the order total 0.

// One priced line for a profile or an accessory article.
struct ArticleRow {
    std::string code;
    std::string name;
    int32_t stockLength = 0; // length of one stock bar (0.1 mm) when sold in bars, else 0
    int32_t quantity = 0;    // bars, pieces or a total length in 0.1 mm
    int64_t cost = 0;        // kopecks for the whole row
    std::string error;       // empty, or an error text
    int32_t counted = 0;     // 1: quantity counts bars or pieces; 0: it is a length
};

// One line per filling material.
struct FillingRow {
    std::string code;
    std::string name;
    int32_t thickness = 0; // 0.1 mm
    double area = 0.0;     // m²
    int64_t cost = 0;      // kopecks; stays the price per m² when the row has an error
    std::string error;
};

// One line of the cut list.
struct CutPieceRow {
    std::string number; // "%d-%d": profile group and index of the piece in the group (0: accessory)
    std::string code;
    std::string name;
    std::string length; // "%0.1f" mm, or "%d" pieces for accessories sold by the piece
    std::string mark;   // "%d" number of the edge or splitter on the sketch, "0" for accessories
    int32_t doorIndex = -1;
    // A length line of a profile (a track, a filler strip): the equal pieces it is cut into and
    // the length of one (0.1 mm). 0 pieces for everything else: goods sold by length and by the
    // piece are not cut here, and the pieces of a bar group have rows of their own.
    int32_t pieceCount = 0;
    int32_t pieceLength = 0;
};

// One line per insert that has a material.
struct FillingPieceRow {
    std::string number; // "%d-%d": filling group and index of the insert in the group, from 1
    std::string code;
    std::string name;
    std::string height;
    std::string width;
    std::string mark; // "%d" number of the insert on the sketch
    int32_t doorIndex = 0;
};

// One line of the per-door element list (filled by the project after each calculation).
struct ElementRow {
    std::string kind;
    std::string code;
    std::string name;
    std::string mark;
    std::string door;
};

class Article;

// One piece of a bar group as it is cut: its length (0.1 mm), the mark of its edge or splitter on
// the sketch and the index of its door.
struct BarPiece {
    int32_t length = 0;
    int32_t mark = 0;
    int32_t doorIndex = -1;
};

// The pieces of one group of an article sold in stock bars, as the bill packed them, with the
// unit price (kopecks per metre) the group was priced at. Cutting plans start from these.
struct BarGroup {
    const Article* article = nullptr;
    int32_t pricePerMetre = 0;
    size_t articleRow = 0; // index of the group's row in articles
    std::vector<BarPiece> pieces;
};

// Where a door runs: alone on the system's one track, or on the rear or the front track of two.
enum class DoorTrack : int8_t { Single, Rear, Front };

// What an accessory billed from door quantities is, for the door assembly sheet.
enum class DoorShareKind : int8_t { Rollers, Stopper, Brush, Seal, Part };

// How a line's quantity falls to the doors: in equal shares per door, as kits that each serve
// several doors, or as parts that sit between two doors.
enum class DoorShareSpread : int8_t { PerDoor, KitForDoors, BetweenDoors };

// One door's share of such a line: an amount in the line's unit (pieces, or 0.1 mm), and for a
// brush cut in equal pieces their count and length.
struct DoorShare {
    int64_t amount = 0;
    int32_t pieceCount = 0; // 0: the amount is not made of equal pieces
    int32_t pieceLength = 0;
};

// An accessory line the bill makes from door quantities, with each door's share as the bill made
// it. perDoor is indexed by door and empty when the line does not divide into whole shares per door
// (a kit for several doors, stoppers between the doors): the sheet then names the order's quantity.
// The assembly sheet reads these; the exports do not.
struct DoorShareLine {
    DoorShareKind kind = DoorShareKind::Rollers;
    std::string code;
    std::string name;
    int32_t counted = 0; // as the bill's row: 1 pieces, 0 a length
    int64_t billed = 0;  // the bill's quantity
    DoorShareSpread spread = DoorShareSpread::PerDoor;
    int32_t doorsPerKit = 0; // KitForDoors: how many doors one kit serves
    std::vector<DoorShare> perDoor;
    std::string error; // the bill's error text of the line
};

class CalcResult {
public:
    std::vector<ArticleRow> articles;
    std::vector<FillingRow> fillings;
    std::vector<CutPieceRow> cutList;
    std::vector<FillingPieceRow> fillingPieces;
    std::vector<ElementRow> elements;
    std::vector<BarGroup> barGroups;       // the bar-sold groups of articles, in row order
    std::vector<DoorTrack> doorTracks;     // per door in use, set by the system's calculation
    std::vector<DoorShareLine> doorShares; // in the order of the bill's rows
    uint8_t pricesDirty = 1;
    int64_t total = 0;            // kopecks
    double discountPercent = 0.0; // the copy used for computing

    // Row numbering of the running calculation; both restart at 1 with every clear().
    int32_t profileGroupCounter = 1;
    int32_t fillingGroupCounter = 1;

    // Empties the lists, marks the prices dirty and restarts both counters.
    void clear();

    // Sum of all row costs, or 0 as soon as any row carries an error or the sum goes beyond
    // totals::kMaxMoney. Leaves pricesDirty alone.
    void recomputeTotal();
    // Recomputes the total when the prices are dirty and clears the flag.
    void refreshTotal();
    // refreshTotal(), then the discount in kopecks, rounded up to the next kopeck.
    int64_t discountAmount();
    // refreshTotal(), then total.
    int64_t priceTotal();
};
