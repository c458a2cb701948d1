#include "calc/DoorFrameGroup.h"

#include "calc/CalcResult.h"
#include "calc/DSSystem.h"
#include "model/DoorSet.h"

#include <algorithm>
#include <vector>

void addDoorFrameGroup(DSSystem& system, CalcResult& result, const DoorSet& doorSet,
                       const ProfileColor* color, bool horizontalEdges) {
    const Edge& first = doorSet.doors[0].edges[EdgeLeft];
    if (first.profile == nullptr)
        return;
    const int n = doorSet.doorsInUse();
    const int32_t height = first.cutLength;

    // The bars are filled with all verticals first, then the horizontals door by door.
    std::vector<int32_t> packOrder(2 * n, height);
    std::vector<CutPiece> rows;
    for (int i = 0; i < n; ++i) {
        const Door& door = doorSet.doors[i];
        for (int side : {EdgeLeft, EdgeRight})
            rows.push_back({height, door.edges[side].cutLength, door.edges[side].number, i});
        if (!horizontalEdges)
            continue;
        for (int side : {EdgeTop, EdgeBottom}) {
            const Edge& edge = door.edges[side];
            rows.push_back({edge.cutLength, edge.cutLength, edge.number, i});
            packOrder.push_back(edge.cutLength);
        }
    }
    ArticleRow& row = system.addBarGroup(result, *first.profile, rows, color);
    if (horizontalEdges)
        row = system.packBars(*first.profile, packOrder, color);
}
