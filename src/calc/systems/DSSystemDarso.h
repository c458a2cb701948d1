#pragma once

#include "calc/DSSystem.h"

// Дарсо: mounted in the opening, the doors computed from the opening height less 40 mm, edges
// "KD08" / "KD07", one splitter profile "KD09" and glass seals by the side they touch.
class DSSystemDarso : public DSSystem {
public:
    DSSystemDarso(int32_t catalogIndex, std::string displayName, int32_t picture);

    void updateGeometry(DoorSet& doorSet, bool keepDoorWidths) override;
    void calculate(DoorSet& doorSet, CalcResult& result, const ProfileColor* color) override;
    void setHeight(DoorSet& doorSet, int32_t height, int32_t chipboardThickness,
                   int32_t plinthHeight) override;
    void fitFilling(Insert& insert, int32_t topEdgeWidth, int32_t bottomEdgeWidth) override;

    int32_t standardDoorWidth(const DoorSet& doorSet) const;
};
