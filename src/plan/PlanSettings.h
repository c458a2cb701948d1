#pragma once

#include <cstdint>
#include <map>
#include <string>

// What the workshop sets for its cutting plans. Lengths in 0.1 mm.
struct PlanSettings {
    int32_t kerf = 40;        // saw cut, bars and sheets
    int32_t trim = 100;       // cut off each end of a bar before the first piece
    int32_t minOffcut = 3000; // offcuts at least this long are kept
    double barTimeLimitMs = 50.0;
    double sheetTimeLimitMs = 200.0;
    // Material group name -> whether pieces may be turned on the sheet. A group not listed takes
    // defaultRotation().
    std::map<std::string, bool> rotation;

    // Glass and mirror have no grain: pieces may be turned. Board, and prints with a picture,
    // keep their direction.
    static bool defaultRotation(const std::string& groupName);
    bool rotationAllowed(const std::string& groupName) const;
    // Whether what is left of a bar goes back to the shop's stock: the minimum itself counts, as
    // "деловой остаток от N мм" on the plan reads; a bar cut to its end leaves nothing to keep.
    bool keepsOffcut(int32_t length) const;
};
