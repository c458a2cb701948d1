#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

class CalcResult;
class DoorSet;
class DSSystem;
class ProfileColor;
class RollerKit;
struct ArticleRow;

// The accessory lines a system bills from door quantities, each recorded with every door's share
// as the bill counted it, so that the door assembly sheet never works a quantity out again.

// The track of every door in use: one track for all when oneTrack is true or every door runs on
// the track of the door before, else track 0 is the rear and track 1 the front one.
void recordDoorTracks(CalcResult& result, const DoorSet& doorSet, bool oneTrack = false);

// The end brush along both vertical edges of every door ("KL13", Мелоза's "ME-SHL"): a length
// line of door 0's left edge length × n × 2, two pieces of that length per door. Nothing when the
// system lacks the article.
void addEndBrushLine(DSSystem& system, CalcResult& result, const DoorSet& doorSet,
                     std::string_view code, int32_t n, const ProfileColor* color);

// One stopper per door: a piece line of n.
void addStopperPerDoorLine(DSSystem& system, CalcResult& result, std::string_view code, int32_t n);

// Stoppers set between neighbouring doors: a piece line of the count, belonging to no one door.
void addStoppersBetweenDoorsLine(DSSystem& system, CalcResult& result, std::string_view code,
                                 int32_t count);

// Parts fitted to the doors themselves (Гартис's corners, guide parts and screws): a piece line
// of the sum of perDoor, door i taking perDoor[i]. Nothing when the sum is 0 or the system lacks
// the article.
void addPartsPerDoorLine(DSSystem& system, CalcResult& result, std::string_view code,
                         const std::vector<int32_t>& perDoor);

// The shares of a roller kit row just billed for `doors` doors: equal whole shares when the kit
// serves one door and the quantity divides, else the order's quantity alone.
void recordKitShares(CalcResult& result, const RollerKit& kit, const ArticleRow& row,
                     int32_t doors);

// The shares of a seal's length line just billed: perDoor[i] is door i's length.
void recordSealShares(CalcResult& result, const ArticleRow& row,
                      const std::vector<int64_t>& perDoor);

// Sum of the door lengths, held to what a length line holds.
int32_t sealLength(const std::vector<int64_t>& perDoor);
