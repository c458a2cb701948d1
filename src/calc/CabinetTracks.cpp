#include "calc/CabinetTracks.h"

#include "calc/DSSystem.h"
#include "model/DoorSet.h"

namespace {

// The tracks sit between the cabinet walls and are cut that much shorter than the opening.
constexpr int32_t kTrackShortening = 32;

} // namespace

void addCabinetTracks(DSSystem& system, CalcResult& result, const DoorSet& doorSet,
                      const ProfileColor* color) {
    const int32_t length = doorSet.openingWidth - kTrackShortening;
    system.addLengthLine(result, "KF01", length, color);
    system.addLengthLine(result, "KF05", length, color);
}
