#pragma once

#include "calc/DSSystem.h"

// Тавро: a cabinet-mounted system whose doors alternate between two tracks. Its verticals follow
// the track pattern, its horizontal edges and splitters are billed by splitter profile, and it
// alone offers the "По краям TL13" toggle.
class DSSystemTavro : public DSSystem {
public:
    DSSystemTavro(int32_t catalogIndex, std::string displayName, int32_t picture);

    void updateGeometry(DoorSet& doorSet, bool keepDoorWidths) override;
    void calculate(DoorSet& doorSet, CalcResult& result, const ProfileColor* color) override;
    // The doors are computed from the cabinet: H - chipboard - plinth + 43 mm.
    void setHeight(DoorSet& doorSet, int32_t height, int32_t chipboardThickness,
                   int32_t plinthHeight) override;
    int minPlinthHeight() override;
    void fitFilling(Insert& insert, int32_t topEdgeWidth, int32_t bottomEdgeWidth) override;

    int32_t standardDoorWidth(const DoorSet& doorSet) const;
    // The automatic roller kit for n doors and how many packs of it.
    const RollerKit* automaticKit(int doorCount, int32_t& quantity) const;
};
