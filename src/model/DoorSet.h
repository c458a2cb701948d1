#pragma once

#include "model/Door.h"
#include "model/ScreenRect.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

class HandleProfile;
class Material;
class SplitterProfile;

inline constexpr int kMaxDoors = 10;

// The largest door width and height a sketch file holds, far beyond what the largest opening
// gives. Door sizes below 0 or above these are refused when reading.
inline constexpr int32_t kMaxDoorWidth = 2000000;
inline constexpr int32_t kMaxDoorHeight = 200000;

// The ten doors of the project (only the first doorCount in use) with the sizes the geometry
// update works from and the transient state of the sketch.
class DoorSet {
public:
    // Ten empty doors, door i with index i, track 0 for even i and (swapTracks ? 0 : 1) for odd i.
    DoorSet(int32_t openingWidth, int32_t height, int32_t doorCount,
            const HandleProfile* handleProfile, bool swapTracks);
    DoorSet(const DoorSet&) = delete;
    DoorSet& operator=(const DoorSet&) = delete;

    bool changed = true;
    std::array<Door, kMaxDoors> doors;
    const HandleProfile* handleProfile = nullptr;
    Splitter* selectedSplitter = nullptr;
    Door* selectedSplitterDoor = nullptr;
    int32_t previousWidth = 0;
    int32_t previousHeight = 0;
    int32_t previousCount = 0;
    bool resizeAllDoors = true;
    int32_t zoomDoor = -1;
    int32_t nextProfileNumber = 1;
    int32_t copySourceDoor = -1;
    int32_t openingWidth = 0;
    int32_t doorCount = 0;
    int32_t height = 0;
    int32_t hoverKind = 0; // 0 insert or nothing, 1 horizontal splitter, 2 vertical or boundary
    double scale = 1.0;    // sketch pixels per 0.1 mm
    int32_t doorsNominalWidth = 0;
    ScreenRect gapRect;

    // Indexes of the doors the sketch shows: the zoomed door alone, or doors 0..doorCount-1.
    std::vector<int> doorsInView() const;
    bool isDoorInUse(int i) const { return i >= 0 && i < doorsInUse(); }
    // Number of doors in use: doorCount held to 0..kMaxDoors.
    int doorsInUse() const { return std::clamp(doorCount, 0, kMaxDoors); }
    // Whether the height the doors are computed from and every door in use lie within 0 and
    // kMaxDoorWidth / kMaxDoorHeight: the sizes a sketch file can hold.
    bool sizesStorable() const;

    // Splits the insert under p in the first door in view that can; the new splitter becomes
    // the selected splitter. Returns whether a splitter was added.
    bool addSplitterAtPoint(ScreenPoint p, const SplitterProfile* profile, bool vertical);
    // Deletes the splitter under p in the first door in view that has one there.
    bool deleteSplitterAtPoint(ScreenPoint p);

    bool chooseMaterialTargetAtPoint(ScreenPoint p);
    void clearMaterialTargets();
    void clearPressedElements();
    ScreenRect materialTargetRect() const;
    // Gives m to the first material target among the doors in view; false when there is none.
    bool assignMaterial(const Material* m);
    bool assignMaterialAcrossDoors(const Material* m, int32_t firstDoor, int32_t lastDoor);
    // The pressed insert of the first door in view with a pressed element loses its material.
    bool removeMaterialOfPressedInsert();

    // Ends a drag of the pressed splitter or door boundary at p. Returns whether the model
    // changed.
    bool finishDrag(ScreenPoint p);

    bool hasSplitters(int door, bool vertical) const;

    // Moves the selected splitter so that the insert on the given side gets the filling size c.
    // Returns whether it moved.
    bool setInsertSize(int32_t c, InsertSide side);

    void copyDoor(int i);
    // Pastes the stored copy source onto door t; PasteDone, PasteNoSource or PasteRefused.
    PasteResult pasteDoor(int t);

    // Drops every reference into door d's layout held outside the door (selection).
    void forgetSelectionIn(const Door& d);

private:
    bool finishSplitterDrag(Door& d, ScreenPoint p);
    bool finishBoundaryDrag(Door& d, ScreenPoint p);
};
