#pragma once

#include "calc/CalcResult.h"
#include "model/DoorSet.h"
#include "model/OrderInfo.h"
#include "model/ScreenRect.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Catalog;
class DSSystem;
class HandleProfile;
class Material;
class ProfileColor;
class SplitterProfile;

// The one open project: the chosen system and profiles, the opening, the doors, the order card
// and the calculation result. Every change goes through the operations below; each validates its
// argument silently (an out-of-range value is ignored) and, when it changes geometry, materials or
// selections, ends with the recalculation so the result is always current.
class Project {
public:
    // Takes the catalog's first system and its first handle profile, colour and splitter profile,
    // builds the door set and computes the first result.
    explicit Project(Catalog& catalog);
    Project(const Project&) = delete;
    Project& operator=(const Project&) = delete;

    bool splitterMode = false;
    bool splitterVertical = true;
    OrderInfo order;
    CalcResult result;
    DSSystem* system = nullptr;
    const HandleProfile* handleProfile = nullptr;
    const ProfileColor* color = nullptr;
    const SplitterProfile* splitterProfile = nullptr;
    std::unique_ptr<DoorSet> doors;
    int32_t openingWidth = 30000;
    int32_t height = 20000;
    int32_t doorCount = 3;
    double discountPercent = 0.0;
    bool showDimensions = false;
    bool placementOnPick = false;
    int32_t chipboardThickness = 160;
    int32_t plinthHeight = 540;

    Catalog& catalog() const { return *catalog_; }

    // Setters return whether the value was taken (and the project recalculated).
    bool setOpeningWidth(int32_t w);       // 1000..1000000
    bool setHeight(int32_t h);             // 1000..100000
    bool setDoorCount(int32_t n);          // 1..min(10, system's maxDoors), not the current count
    bool setChipboardThickness(int32_t t); // 0..1000
    void setPlinthHeight(int32_t p);       // range checked by the top panel
    bool setHandleProfile(const HandleProfile* h);
    bool setColor(const ProfileColor* c);
    bool setSystem(DSSystem* s);
    bool setSplitterProfile(const SplitterProfile* p);
    void systemOptionsChanged();
    // Мелоза only: switches between the usual mounting and the mounting inside the opening.
    bool toggleMountingMode();
    bool toggleEdgeOption();
    void resetDoors();
    // Which stock length of the handle profile its bars are cut from: 1, 2 or 3. A length the
    // profile does not have (0) is ignored; the bill is recalculated.
    bool setStockChoice(int choice);
    // The door widths dialog. New widths (0.1 mm) of the doors in use, in door order: each door
    // whose width changes keeps its layout scaled to the new width; the doors keep these widths.
    bool setDoorWidths(const std::vector<int32_t>& widths);
    // New tracks of the doors in use: every door returns to the standard width of the system.
    bool setDoorTracks(const std::vector<int32_t>& tracks);

    bool addSplitterAtPoint(ScreenPoint p);
    bool deleteSplitterAtPoint(ScreenPoint p);
    bool finishDrag(ScreenPoint p);
    bool assignMaterial(const Material* m);
    bool assignMaterialAcrossDoors(const Material* m, int32_t firstDoor, int32_t lastDoor);
    bool removeMaterialOfHoveredInsert();
    bool setInsertSize(int32_t size, InsertSide side);

    // Copy and paste of a door layout (the source stays stored, so it can be pasted again);
    // pasteDoor returns PasteDone, PasteNoSource or PasteRefused and recalculates when done.
    void copyDoor(int i);
    int pasteDoor(int t);
    // Spreads the door's splitters of one orientation evenly and recalculates.
    void alignSplitters(int door, bool vertical);

    // Discount in percent, 0..100, kept here and in the result.
    bool setDiscountPercent(double percent);

    // The four steps after every edit: geometry, numbering, calculation, element list.
    void recalculate(bool keepDoorWidths);
    // After a sketch file was read into the project.
    void afterOpen();

    int32_t priceTotal();
    int32_t discountAmount();
    int32_t grandTotal();
    std::string grandTotalText();

private:
    void chooseHandleProfile();
    void recheckColor();
    void recheckSplitterProfile();
    void createDoorSet();
    void numberPieces();
    void buildElementList();

    Catalog* catalog_;
};
