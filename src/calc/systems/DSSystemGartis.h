#pragma once

#include "calc/DSSystem.h"

// Гартис: frameless doors hung on a rail. The calculation bills the rail, a frame profile of the
// rail and hardware counted per door; the door edges and splitters are not laid out. The user
// chooses the rail variant ("KG01" / "KG02") and the frame variant ("KG03" / "KG04").
class DSSystemGartis : public DSSystem {
public:
    DSSystemGartis(int32_t catalogIndex, std::string displayName, int32_t picture);

    Article* railVariant = nullptr;  // "KG01" or "KG02" (the catalog sets "KG01")
    Article* frameVariant = nullptr; // "KG03" or "KG04" (the catalog sets "KG04")

    void updateGeometry(DoorSet& doorSet, bool keepDoorWidths) override;
    void calculate(DoorSet& doorSet, CalcResult& result, const ProfileColor* color) override;
    void takeLists(const SystemLists& lists) override;

    // The two commands of the materials panel. The single-runner rail "KG02" only takes the
    // mortise frame "KG04".
    void nextRailVariant();
    void nextFrameVariant();

    bool railIs(const char* code) const;
    bool frameIs(const char* code) const;
    int32_t standardDoorHeight(const DoorSet& doorSet) const;
    int32_t standardDoorWidth(const DoorSet& doorSet) const;
};
