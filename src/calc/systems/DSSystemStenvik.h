#pragma once

#include "calc/DSSystem.h"

// Стенвик: mounted in the opening, doors 33 mm lower than the opening, a bottom edge "KS14" and
// no top edge; splitters billed by profile, seals for 10 mm and 4 mm fillings.
class DSSystemStenvik : public DSSystem {
public:
    DSSystemStenvik(int32_t catalogIndex, std::string displayName, int32_t picture);

    void updateGeometry(DoorSet& doorSet, bool keepDoorWidths) override;
    void calculate(DoorSet& doorSet, CalcResult& result, const ProfileColor* color) override;
    void fitFilling(Insert& insert, int32_t topEdgeWidth, int32_t bottomEdgeWidth) override;

    int32_t standardDoorWidth(const DoorSet& doorSet) const;
};
