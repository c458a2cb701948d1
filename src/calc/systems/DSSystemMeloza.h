#pragma once

#include "calc/DSSystem.h"

// Мелоза: besides the usual mounting it can be mounted inside the opening ("Монтаж внутри"),
// which limits the door set to two doors on one track, changes the door sizes and hides the
// handle profile "KL150". Its profile groups, edges, filling fit and fillings follow Ловен.
class DSSystemMeloza : public DSSystem {
public:
    DSSystemMeloza(int32_t catalogIndex, std::string displayName, int32_t picture);

    int32_t mountingMode = 1; // 1: usual mounting; 0: mounted inside the opening

    int handleProfileCount() override;
    std::vector<HandleProfile*>& listHandleProfiles(std::vector<HandleProfile*>& out) override;
    void updateGeometry(DoorSet& doorSet, bool keepDoorWidths) override;
    void calculate(DoorSet& doorSet, CalcResult& result, const ProfileColor* color) override;
    int maxDoors() override;
    bool swapTracksFlag() override;
    void assignTracks(DoorSet& doorSet) override;
    void writeSketchBlock(ByteWriter& file, int version) override;
    bool parseSketchBlock(ByteReader& file, int version, SketchBlockData& data) override;
    void applySketchBlock(const SketchBlockData& data) override;
    int clampDoorCount(int n) override;
    void layoutSplitters(DoorSet& doorSet) override;
    void fitFilling(Insert& insert, int32_t topEdgeWidth, int32_t bottomEdgeWidth) override;
    void calculateFillings(DoorSet& doorSet, CalcResult& result) override;

    // Door height and width the system gives every door, and the total door width it expects.
    int32_t standardDoorHeight(const DoorSet& doorSet) const;
    int32_t standardDoorWidth(const DoorSet& doorSet) const;
    int32_t nominalWidth(const DoorSet& doorSet, int32_t doorWidth) const;

private:
    // The handle profiles offered in the usual mounting: all but "KL150", built on first use.
    const std::vector<HandleProfile*>& offeredHandles();

    std::vector<HandleProfile*> filteredHandles_;
    bool filteredBuilt_ = false;
};
