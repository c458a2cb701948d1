#pragma once

#include "plan/PlanSettings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// A piece of any job the workshop cuts: a length of a bar material (width 0) or a rectangle of a
// sheet material, length along the grain and width across. Sizes in 0.1 mm.
struct CutListPiece {
    std::string material;
    std::string name; // what the piece is called on the plan and its label
    int32_t length = 0;
    int32_t width = 0;
    int count = 1;
    bool canRotate = true;
    int line = 0; // of the pieces file
    bool isBar() const { return width == 0; }
};

// A stock size of a material: a bar length (width 0) or a sheet. Price in kopecks per bar or
// sheet; a free row with a count is an offcut the shop has.
struct CutStock {
    std::string material;
    int32_t length = 0;
    int32_t width = 0;
    int count = -1; // -1: as many as needed
    int64_t price = 0;
    int line = 0; // of the stock file
    bool isBar() const { return width == 0; }
    bool isOffcut() const { return price == 0 && count >= 0; }
};

struct CutListError {
    int line = 0;
    std::string message; // with "Строка N: " in front
};

// One row of a cut list's table in the fixed order of its columns (CutList::pieceColumns or
// stockColumns), each field as typed: a line of a file, or a row of the workshop window's table.
struct CutListRow {
    int line = 0; // what a refusal names: the file's line, or the table's row
    std::vector<std::string> fields;
};

struct CutListSettings {
    PlanSettings plan;
    bool rotate = true;              // for pieces whose "Поворот" is empty
    double secondsPerMaterial = 1.0; // the planners' time for each material
};

// A cut list: the pieces of a job and the stock they are cut from, read from ";"-separated files
// in UTF-8 (a BOM allowed) or Windows-1251, numbers with a decimal comma or point.
class CutList {
public:
    static constexpr int kMaxPieces = 20000;
    static constexpr int32_t kMaxBarLength = 120000;  // 0.1 mm
    static constexpr int32_t kMaxSheetLength = 60000; // along the grain
    static constexpr int32_t kMaxSheetWidth = 35000;  // across it
    static constexpr int64_t kMaxPrice = 100000000;   // kopecks

    CutListSettings settings;
    std::vector<CutListPiece> pieces;
    std::vector<CutStock> stock;

    // Columns "Материал;Обозначение;Длина;Ширина;Количество;Поворот" in any order, the first
    // line naming them; "Материал" and "Длина" must be there. An empty "Поворот" takes
    // defaultRotate.
    static std::variant<std::vector<CutListPiece>, CutListError> readPieces(std::string_view bytes,
                                                                            bool defaultRotate);
    // Columns "Материал;Длина;Ширина;Количество;Цена"; "Материал", "Длина" and "Цена" must be
    // there.
    static std::variant<std::vector<CutStock>, CutListError> readStock(std::string_view bytes);

    // The same reading in two steps: a file's rows under its header, in the fixed column order
    // (blank rows left out; a header without a required column refused), and the rows checked
    // and read. The window's tables go through the second step alone, with their row numbers.
    static const std::vector<std::string>& pieceColumns(); // Материал, Обозначение, Длина, ...
    static const std::vector<std::string>& stockColumns(); // Материал, Длина, Ширина, ...
    static std::variant<std::vector<CutListRow>, CutListError> pieceRows(std::string_view bytes);
    static std::variant<std::vector<CutListRow>, CutListError> stockRows(std::string_view bytes);
    static std::variant<std::vector<CutListPiece>, CutListError>
    readPieceRows(const std::vector<CutListRow>& rows, bool defaultRotate);
    static std::variant<std::vector<CutStock>, CutListError>
    readStockRows(const std::vector<CutListRow>& rows);

    // The first piece whose material has no stock of its kind (bars for a bar piece, sheets for
    // a sheet piece), as an error on that piece's line.
    std::optional<CutListError> missingStock() const;

    // The same material however it is spelt in case and surrounding spaces.
    static std::string materialKey(std::string_view material);
};
