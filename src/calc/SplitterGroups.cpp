#include "calc/SplitterGroups.h"

#include "calc/CalcResult.h"
#include "calc/DSSystem.h"
#include "catalog/SplitterProfile.h"
#include "model/DoorSet.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace {

void addGroupOf(DSSystem& system, CalcResult& result, const DoorSet& doorSet,
                const ProfileColor* color, std::string_view code, bool horizontalEdges) {
    const SplitterProfile* profile = system.splitterProfileByCode(code);
    if (profile == nullptr)
        return;
    const int n = doorSet.doorsInUse();
    std::vector<CutPiece> pieces;
    for (int i = 0; i < n; ++i) {
        const Door& door = doorSet.doors[i];
        if (horizontalEdges) {
            for (int side : {EdgeBottom, EdgeTop}) {
                const Edge& edge = door.edges[side];
                if (edge.profile != nullptr)
                    pieces.push_back({edge.cutLength, edge.cutLength, edge.number, i});
            }
        }
        for (const auto& [id, s] : door.splitters)
            if (s.profile != nullptr && s.profile->code == code)
                pieces.push_back({s.cutLength, s.cutLength, s.number, i});
    }
    if (!pieces.empty())
        system.addBarGroup(result, *profile, pieces, color);
}

} // namespace

void addSplitterGroupsByProfile(DSSystem& system, CalcResult& result, const DoorSet& doorSet,
                                const ProfileColor* color, bool horizontalEdges) {
    addGroupOf(system, result, doorSet, color, "TL08", false);
    addGroupOf(system, result, doorSet, color, "TL13", horizontalEdges);
}
