#include "calc/AlternatingVerticals.h"

#include "calc/CalcResult.h"
#include "calc/DSSystem.h"
#include "model/DoorSet.h"

#include <algorithm>
#include <vector>

namespace {

CutPiece pieceOf(const Door& door, int side, int32_t packedLength) {
    const Edge& edge = door.edges[side];
    return {packedLength, edge.cutLength, edge.number, door.index};
}

} // namespace

void addAlternatingVerticalGroups(DSSystem& system, CalcResult& result, const DoorSet& doorSet,
                                  const Article* connector, const ProfileColor* color) {
    const Edge& first = doorSet.doors[0].edges[EdgeLeft];
    if (first.profile == nullptr)
        return;
    const int n = std::max(1, doorSet.doorsInUse());
    // Every piece is cut to door 0's height; the rows show each edge as laid out.
    const int32_t length = first.cutLength;

    std::vector<CutPiece> handlePieces;
    std::vector<CutPiece> connectorPieces;
    for (int i = 0; i < n; ++i) {
        const Door& door = doorSet.doors[i];
        const bool last = i == n - 1;
        if (i % 2 == 1) {
            handlePieces.push_back(pieceOf(door, EdgeLeft, length));
            handlePieces.push_back(pieceOf(door, EdgeRight, length));
            continue;
        }
        if (i == 0)
            handlePieces.push_back(pieceOf(door, EdgeLeft, length));
        else
            connectorPieces.push_back(pieceOf(door, EdgeLeft, length));
        if (last)
            handlePieces.push_back(pieceOf(door, EdgeRight, length));
        else
            connectorPieces.push_back(pieceOf(door, EdgeRight, length));
    }

    system.addBarGroup(result, *first.profile, handlePieces, color);

    // The connector group takes its group number even when it bills nothing.
    if (connector != nullptr && !connectorPieces.empty()) {
        std::vector<int32_t> lengths(connectorPieces.size(), length);
        if (system.packBars(*connector, lengths, color).quantity > 0) {
            system.addBarGroup(result, *connector, connectorPieces, color);
            return;
        }
    }
    ++result.profileGroupCounter;
}
