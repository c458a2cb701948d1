#pragma once

class CalcResult;
class DoorSet;
class DSSystem;
class ProfileColor;

// The running and guide profiles of Фольм and Норсия: "KF01" and "KF05", each a length line of
// the opening width less 3.2 mm, priced for the colour.
void addCabinetTracks(DSSystem& system, CalcResult& result, const DoorSet& doorSet,
                      const ProfileColor* color);
