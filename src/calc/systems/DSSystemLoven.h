#pragma once

#include "calc/DSSystem.h"

// Ловен: the reference system. Its profile steps are the standard profile groups; besides roller
// kits it offers a pivot mechanism for one or two doors, which then all run on one track.
class DSSystemLoven : public DSSystem {
public:
    DSSystemLoven(int32_t catalogIndex, std::string displayName, int32_t picture);

    RollerKit* pivotKit = nullptr; // billed for the pivot mechanism (the catalog sets "KL16")
    uint8_t pivotMode = 0;         // 1: pivot mechanism instead of a roller kit
    int32_t heightAdjust = -40;    // mm; the materials panel offers -40 and -33

    void updateGeometry(DoorSet& doorSet, bool keepDoorWidths) override;
    void calculate(DoorSet& doorSet, CalcResult& result, const ProfileColor* color) override;
    void assignTracks(DoorSet& doorSet) override;
    void writeSketchBlock(ByteWriter& file, int version) override;
    bool parseSketchBlock(ByteReader& file, int version, SketchBlockData& data) override;
    void applySketchBlock(const SketchBlockData& data) override;
    void takeLists(const SystemLists& lists) override;
    void fitFilling(Insert& insert, int32_t topEdgeWidth, int32_t bottomEdgeWidth) override;
    void calculateFillings(DoorSet& doorSet, CalcResult& result) override;

    // The roller choice of the materials panel: the entry "пивотный мех." switches pivot mode
    // on, every other entry off; the tracks follow (more than 2 doors drop pivot mode again).
    void choosePivotMode(DoorSet& doorSet, bool pivot);
    // The height entry of the materials panel: "-40" gives -40, any other entry -33. Every door
    // takes the standard size at the next recalculation, which must run with keepDoorWidths false.
    void chooseHeightAdjust(DoorSet& doorSet, const std::string& entry);

    // Door height and width the system gives every door for the door set's opening.
    int32_t standardDoorHeight(const DoorSet& doorSet) const;
    int32_t standardDoorWidth(const DoorSet& doorSet) const;
};
