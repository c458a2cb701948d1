#pragma once

#include "calc/DSSystem.h"

// Кверт-Н: mounted in the opening, doors 39 mm lower than the opening, no horizontal edges;
// splitters billed by profile and a side seal for 4 mm fillings.
class DSSystemKvert : public DSSystem {
public:
    DSSystemKvert(int32_t catalogIndex, std::string displayName, int32_t picture);

    void updateGeometry(DoorSet& doorSet, bool keepDoorWidths) override;
    void calculate(DoorSet& doorSet, CalcResult& result, const ProfileColor* color) override;
    void fitFilling(Insert& insert, int32_t topEdgeWidth, int32_t bottomEdgeWidth) override;

    int32_t standardDoorWidth(const DoorSet& doorSet) const;
};
