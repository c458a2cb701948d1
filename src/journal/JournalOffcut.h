#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The states an offcut of the store passes through. Adding puts it on stock; a batch reserves
// it and then uses it; one that is damaged or lost is scrapped.
namespace offcutstate {

inline constexpr std::array<std::string_view, 4> kAll = {"На складе", "Зарезервирован",
                                                         "Использован", "Списан"};
inline constexpr std::string_view kOnStock = kAll[0];
inline constexpr std::string_view kReserved = kAll[1];
inline constexpr std::string_view kUsed = kAll[2];
inline constexpr std::string_view kScrapped = kAll[3];

inline bool isKnown(std::string_view state) {
    for (std::string_view s : kAll)
        if (s == state)
            return true;
    return false;
}

} // namespace offcutstate

// One kept offcut: a length of a bar (an article in a colour) or a rectangle of a sheet
// material. Sizes in 0.1 mm; a sheet's height runs along its grain.
struct JournalOffcut {
    int64_t id = 0;
    bool sheet = false;
    std::string article, color; // a bar
    int32_t length = 0;
    std::string materialGroup, material; // a sheet: its group and its key in the group
    int32_t width = 0, height = 0;
    bool canTurn = false;                 // a sheet without grain or picture may be cut turned
    int64_t fromOrder = 0, fromBatch = 0; // where it was kept; 0: added by hand
    std::string place;                    // "стеллаж 3"
    std::string state = std::string(offcutstate::kOnStock);
    int64_t batch = 0; // the batch that reserved or used it
    int64_t addedAt = 0;
    std::string addedBy;
};

struct OffcutChange {
    std::string state;
    std::string place;
    std::string note;
    int64_t at = 0;
    std::string by;
};

// Empty texts match everything; texts match whole, in any case.
struct OffcutFilter {
    std::string article, color, material;
    std::optional<std::string> state;
};

// The store's totals: bars per article and colour (pieces, length), sheets per material
// (pieces, area in 0.01 mm²).
struct OffcutTotals {
    struct Line {
        std::string name;
        int64_t count = 0;
        int64_t amount = 0;
    };
    std::vector<Line> bars, sheets;
};
