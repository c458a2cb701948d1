#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

class CalcResult;
class DoorSet;
class DSSystem;

// Thickness of the fillings the seals are made for (0.1 mm).
inline constexpr int32_t kGlassThickness = 40;  // 4 mm mirror or glass
inline constexpr int32_t kPanelThickness = 100; // 10 mm panel

// Per door in use: the sum of 2 × (fill width + fill height) over its inserts whose material has
// the given thickness.
std::vector<int64_t> fillingPerimeters(const DoorSet& doorSet, int32_t thickness);
// Per door in use: the sum of the fill heights of the sides of such inserts that lie against the
// door frame (left and right, each counted once).
std::vector<int64_t> frameSideHeights(const DoorSet& doorSet, int32_t thickness);

// Seals of the chipboard-frame systems, as length lines at the first price, each only when its
// length is above 0: with panelInsert (Тавро, Стенвик) first the insert strip "KS15" round every
// 10 mm filling, then the glass insert "TL11" along the sides of 4 mm fillings at the frame.
void addSideSeals(DSSystem& system, CalcResult& result, const DoorSet& doorSet, bool panelInsert);

// The seal round every 4 mm filling (Фольм "KF06", Норсия "KN17"): one length line at the first
// price when the length is above 0.
void addGlassPerimeterSeal(DSSystem& system, CalcResult& result, const DoorSet& doorSet,
                           std::string_view code);

// A length line of the doors' lengths summed, at the first price, when the sum is above 0 and the
// system has the article; each door's length is recorded as its share.
void addSealLine(DSSystem& system, CalcResult& result, std::string_view code,
                 const std::vector<int64_t>& perDoor);
