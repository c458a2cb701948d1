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

    // The ranges the setters accept, in 0.1 mm; the sketch file reader keeps to the same.
    static constexpr int32_t kMinOpeningWidth = 1000;
    static constexpr int32_t kMaxOpeningWidth = 1000000;
    static constexpr int32_t kMinHeight = 1000;
    static constexpr int32_t kMaxHeight = 100000;
    static constexpr int32_t kMaxChipboardThickness = 1000;
    static constexpr int32_t kMaxPlinthHeight = 100000;

    Catalog& catalog() const { return *catalog_; }

    // Setters return whether the value was taken (and the project recalculated). Besides its own
    // range, a size is refused when the doors the system would compute from it leave what a
    // sketch file holds (a cabinet lower than its chipboard and plinth gives no door at all).
    bool setOpeningWidth(int32_t w);       // 1000..1000000
    bool setHeight(int32_t h);             // 1000..100000
    bool setDoorCount(int32_t n);          // 1..min(10, system's maxDoors), not the current count
    bool setChipboardThickness(int32_t t); // 0..1000
    bool setPlinthHeight(int32_t p);       // 0..100000; the top panel asks for more
    bool setHandleProfile(const HandleProfile* h);
    bool setColor(const ProfileColor* c);
    // Refused as well when the new system's doors would not fit the file (see above).
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
    PasteResult pasteDoor(int t);
    // Spreads the door's splitters of one orientation evenly and recalculates.
    void alignSplitters(int door, bool vertical);

    // Discount in percent, 0..100, kept here and in the result.
    bool setDiscountPercent(double percent);

    // The four steps after every edit: geometry, numbering, calculation, element list.
    void recalculate(bool keepDoorWidths);
    // After a sketch file was read into the project.
    void afterOpen();

    int64_t priceTotal();
    int64_t discountAmount();
    int64_t grandTotal();
    std::string grandTotalText();

private:
    // Whether the doors that system s computes for these sizes and this handle profile, from
    // fresh door set, lie within what a sketch file holds. Only the door sizes are computed;
    // neither the project nor the system changes.
    bool standardDoorsFit(DSSystem& s, int32_t width, int32_t h, int32_t count, int32_t thickness,
                          int32_t plinth, const HandleProfile* handle) const;
    bool doorsFit(int32_t width, int32_t h, int32_t count, int32_t thickness, int32_t plinth) const;
    const HandleProfile* firstHandleProfileOf(DSSystem& s) const;
    void chooseHandleProfile();
    void recheckColor();
    void recheckSplitterProfile();
    void createDoorSet();
    void numberPieces();
    void buildElementList();

    Catalog* catalog_;
};
