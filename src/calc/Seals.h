#pragma once

#include <cstdint>
#include <string_view>

class CalcResult;
class DoorSet;
class DSSystem;

// Thickness of the fillings the seals are made for (0.1 mm).
inline constexpr int32_t kGlassThickness = 40;  // 4 mm mirror or glass
inline constexpr int32_t kPanelThickness = 100; // 10 mm panel

// Sum of 2 × (fill width + fill height) over the inserts of the doors in use whose material has
// the given thickness.
int64_t fillingPerimeters(const DoorSet& doorSet, int32_t thickness);
// Sum of the fill heights of the sides of such inserts that lie against the door frame (left and
// right, each counted once).
int64_t frameSideHeights(const DoorSet& doorSet, int32_t thickness);

// Seals of the chipboard-frame systems, as length lines at the first price, each only when its
// length is above 0: with panelInsert (Тавро, Стенвик) first the insert strip "KS15" round every
// 10 mm filling, then the glass insert "TL11" along the sides of 4 mm fillings at the frame.
void addSideSeals(DSSystem& system, CalcResult& result, const DoorSet& doorSet, bool panelInsert);

// The seal round every 4 mm filling (Фольм "KF06", Норсия "KN17"): one length line at the first
// price when the length is above 0.
void addGlassPerimeterSeal(DSSystem& system, CalcResult& result, const DoorSet& doorSet,
                           std::string_view code);

// A length line of the given length at the first price, when the length is above 0 and the
// system has the article.
void addSealLine(DSSystem& system, CalcResult& result, std::string_view code, int64_t length);
