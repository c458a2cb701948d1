#pragma once

#include "calc/DSSystem.h"

// Норсия: a cabinet-mounted system with frame profiles "KN03" at the top and bottom and
// verticals that alternate like Тавро's.
class DSSystemNorsia : public DSSystem {
public:
    DSSystemNorsia(int32_t catalogIndex, std::string displayName, int32_t picture);

    void updateGeometry(DoorSet& doorSet, bool keepDoorWidths) override;
    void calculate(DoorSet& doorSet, CalcResult& result, const ProfileColor* color) override;
    void setHeight(DoorSet& doorSet, int32_t height, int32_t chipboardThickness,
                   int32_t plinthHeight) override;
    int minPlinthHeight() override;
    void fitFilling(Insert& insert, int32_t topEdgeWidth, int32_t bottomEdgeWidth) override;

    int32_t standardDoorWidth(const DoorSet& doorSet) const;
};
