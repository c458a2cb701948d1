// Door sizes, edges, splitter cut lengths and filling rectangles shared by the systems.
#include "calc/DSSystem.h"

#include "catalog/Article.h"
#include "catalog/HandleProfile.h"
#include "catalog/Material.h"
#include "catalog/SplitterProfile.h"
#include "model/DoorSet.h"

#include <algorithm>
#include <cmath>

namespace {

int32_t dimCOf(const Article* a) {
    return a != nullptr ? a->dimC : 0;
}

// Half the visible width of a bounding splitter; the frame (null) and a splitter without profile
// count 0.
int32_t halfWidth(const Splitter* s) {
    return (s != nullptr && s->profile != nullptr) ? s->profile->dimC / 2 : 0;
}

// What a splitter's end gains or loses where it meets a crossing splitter: half the crossing
// profile's width minus the depth of its seat.
int32_t seatAllowance(const Splitter& crossing) {
    if (crossing.profile == nullptr)
        return 0;
    return crossing.profile->dimC / 2 - crossing.profile->dimD;
}

} // namespace

int DSSystem::overlapCount(const DoorSet& doorSet) {
    const int n = doorSet.doorsInUse();
    int overlaps = 0;
    for (int i = 1; i < n; ++i)
        if (doorSet.doors[i].track != doorSet.doors[i - 1].track)
            ++overlaps;
    return overlaps;
}

int32_t DSSystem::overlappingDoorWidth(const DoorSet& doorSet, int32_t overlapPerPair,
                                       int32_t reduction) {
    const int32_t n = std::max(doorSet.doorCount, 1);
    return (overlapCount(doorSet) * overlapPerPair + doorSet.openingWidth - reduction) / n;
}

int32_t DSSystem::cabinetDoorHeight(int32_t height, int32_t chipboardThickness,
                                    int32_t plinthHeight) {
    return height - chipboardThickness - plinthHeight + 430;
}

bool DSSystem::captureProportions(DoorSet& doorSet, DoorProportions& proportions) {
    if (doorSet.doors[0].width == 0 || doorSet.doorCount != doorSet.previousCount)
        return true;
    const int32_t nominal = doorSet.doorsNominalWidth;
    // Without a nominal width there is nothing to take proportions of (and nothing to divide by).
    if (nominal <= 0)
        return true;
    const int n = doorSet.doorsInUse();
    for (int i = 0; i < n; ++i)
        proportions[i] = static_cast<double>(doorSet.doors[i].width) / nominal;
    return false;
}

void DSSystem::distributeWidths(DoorSet& doorSet, const DoorProportions& proportions) {
    const int n = doorSet.doorsInUse();
    if (n <= 1)
        return;
    const int32_t nominal = doorSet.doorsNominalWidth;
    int64_t others = 0;
    for (int i = 0; i < n; ++i) {
        Door& door = doorSet.doors[i];
        int32_t width;
        if (i < n - 1) {
            width = static_cast<int32_t>(std::floor(proportions[i] * nominal + 0.5));
            others += width;
        } else {
            width = static_cast<int32_t>(nominal - others);
        }
        if (door.width != width) {
            door.laidOutWidth = door.width;
            door.width = width;
        }
        door.relayout(false);
    }
}

void DSSystem::applyDoorSizes(DoorSet& doorSet, int32_t doorHeight, int32_t doorWidth) {
    const int n = doorSet.doorsInUse();
    const bool countChanged = doorSet.doorCount != doorSet.previousCount;
    bool resized = false;
    if (doorSet.openingWidth != doorSet.previousWidth || countChanged || doorSet.resizeAllDoors) {
        for (int i = 0; i < n; ++i) {
            Door& door = doorSet.doors[i];
            if (door.width != doorWidth) {
                door.laidOutWidth = door.width;
                door.width = doorWidth;
            }
        }
        resized = true;
    }
    if (doorSet.height != doorSet.previousHeight || countChanged || doorSet.resizeAllDoors) {
        for (int i = 0; i < n; ++i) {
            Door& door = doorSet.doors[i];
            if (door.height != doorHeight) {
                door.laidOutHeight = door.height;
                door.height = doorHeight;
            }
        }
        resized = true;
    }
    if (resized) {
        for (int i = 0; i < n; ++i)
            doorSet.doors[i].relayout(false);
        doorSet.resizeAllDoors = false;
    }
    doorSet.previousWidth = doorSet.openingWidth;
    doorSet.previousHeight = doorSet.height;
    doorSet.previousCount = doorSet.doorCount;
}

void DSSystem::resizeDoors(DoorSet& doorSet, int32_t doorHeight, int32_t doorWidth) {
    DoorProportions proportions{};
    const bool noProportions = captureProportions(doorSet, proportions);
    const int64_t nominal = static_cast<int64_t>(doorSet.doorCount) * doorWidth;
    if (nominal >= 0 && nominal <= INT32_MAX)
        doorSet.doorsNominalWidth = static_cast<int32_t>(nominal);
    applyDoorSizes(doorSet, doorHeight, doorWidth);
    if (!noProportions)
        distributeWidths(doorSet, proportions);
}

void DSSystem::assignFrameEdges(DoorSet& doorSet, const Article* top, const Article* bottom,
                                int32_t horizontalAllowance) {
    const int n = doorSet.doorsInUse();
    for (int i = 0; i < n; ++i) {
        Door& door = doorSet.doors[i];
        for (int side : {EdgeLeft, EdgeRight}) {
            door.edges[side].profile = doorSet.handleProfile;
            door.edges[side].cutLength = door.height;
        }
        door.edges[EdgeTop].profile = top;
        door.edges[EdgeTop].cutLength = door.width + horizontalAllowance;
        door.edges[EdgeBottom].profile = bottom;
        door.edges[EdgeBottom].cutLength = door.width + horizontalAllowance;
    }
}

void DSSystem::assignEdgeProfiles(DoorSet& doorSet, const Article* top, const Article* bottom) {
    const HandleProfile* handle = doorSet.handleProfile;
    const int n = doorSet.doorsInUse();
    for (int i = 0; i < n; ++i) {
        Door& door = doorSet.doors[i];
        for (int side : {EdgeLeft, EdgeRight}) {
            door.edges[side].profile = handle;
            door.edges[side].cutLength = door.height;
        }
        if (handle == nullptr)
            continue;
        const int32_t length = systemKind == SystemTavro ? door.width + 2 * (5 - handle->dimB)
                                                         : door.width - 2 * handle->dimB - 10;
        door.edges[EdgeTop].profile = top;
        door.edges[EdgeTop].cutLength = length;
        door.edges[EdgeBottom].profile = bottom;
        door.edges[EdgeBottom].cutLength = length;
    }
}

void DSSystem::layoutSplitters(DoorSet& doorSet) {
    const int n = doorSet.doorsInUse();
    for (int i = 0; i < n; ++i) {
        Door& door = doorSet.doors[i];
        for (auto& [id, s] : door.splitters) {
            int32_t cut = s.length;
            const Splitter* ends[2] = {s.startSplitter, s.endSplitter};
            for (int end = 0; end < 2; ++end) {
                const Splitter* crossing = ends[end];
                if (!s.vertical) {
                    if (crossing != nullptr) {
                        cut += seatAllowance(*crossing);
                        continue;
                    }
                    const Article* edge = door.edges[end == 0 ? EdgeLeft : EdgeRight].profile;
                    const int32_t e = edge != nullptr ? edge->dimB : 0;
                    switch (systemKind) {
                    case SystemStenvik:
                    case SystemTavro:
                    case SystemLoven:
                        cut += 5 - e;
                        break;
                    case SystemGartis:
                    case SystemMeloza:
                        cut += -5 - e;
                        break;
                    case SystemKvert:
                    case SystemDarso:
                    case SystemFolm:
                    case SystemNorsia:
                        cut -= e;
                        break;
                    }
                } else {
                    if (crossing != nullptr) {
                        if (systemKind == SystemFolm)
                            cut -= crossing->profile != nullptr ? crossing->profile->dimD : 0;
                        else
                            cut += seatAllowance(*crossing);
                        continue;
                    }
                    const Article* edge = door.edges[end == 0 ? EdgeTop : EdgeBottom].profile;
                    cut -= edge != nullptr ? edge->dimA : 0;
                }
            }
            s.cutLength = cut;
            s.edgeOffset = s.position - (s.profile != nullptr ? s.profile->dimC : 0) / 2;
        }
    }
}

void DSSystem::layoutInserts(DoorSet& doorSet) {
    const int n = doorSet.doorsInUse();
    for (int i = 0; i < n; ++i) {
        Door& door = doorSet.doors[i];
        const int32_t topEdge = dimCOf(door.edges[EdgeTop].profile);
        const int32_t bottomEdge = dimCOf(door.edges[EdgeBottom].profile);
        const int32_t leftEdge = dimCOf(door.edges[EdgeLeft].profile);
        const int32_t rightEdge = dimCOf(door.edges[EdgeRight].profile);
        for (auto& [id, in] : door.inserts) {
            in.fillY =
                in.topSplitter != nullptr ? in.top + halfWidth(in.topSplitter) : in.top + topEdge;
            in.fillHeight = in.bottomSplitter != nullptr
                                ? in.bottom - halfWidth(in.bottomSplitter) - in.fillY
                                : in.bottom - in.fillY - bottomEdge;
            in.fillX = in.leftSplitter != nullptr ? in.left + halfWidth(in.leftSplitter)
                                                  : in.left + leftEdge;
            in.fillWidth = in.rightSplitter != nullptr
                               ? in.right - halfWidth(in.rightSplitter) - in.fillX
                               : in.right - rightEdge - in.fillX;
            fitFilling(in, topEdge, bottomEdge);
        }
    }
}

bool DSSystem::isBounded(const Insert& insert, int32_t topEdgeWidth, int32_t bottomEdgeWidth) {
    return (insert.topSplitter != nullptr || topEdgeWidth != 0) &&
           (insert.bottomSplitter != nullptr || bottomEdgeWidth != 0);
}

void DSSystem::shrinkFilling(Insert& insert, int32_t by, bool vertically) {
    insert.fillX += by;
    insert.fillWidth -= 2 * by;
    if (vertically) {
        insert.fillY += by;
        insert.fillHeight -= 2 * by;
    }
}

void DSSystem::fitFilling(Insert& insert, int32_t topEdgeWidth, int32_t bottomEdgeWidth) {
    if (insert.material == nullptr)
        return;
    const bool bounded = isBounded(insert, topEdgeWidth, bottomEdgeWidth);
    switch (insert.material->thickness) {
    case 0:
    case 160:
        break;
    case 40:
        shrinkFilling(insert, 10, bounded);
        if (insert.leftSplitter == nullptr)
            insert.fillX += 15;
        if (insert.rightSplitter == nullptr)
            insert.fillWidth -= 15;
        break;
    case 100:
        shrinkFilling(insert, 10, bounded);
        break;
    default:
        insert.thicknessMismatch = true;
        return;
    }
    insert.thicknessMismatch = false;
}

void DSSystem::fitFillingShrinkAllSides(Insert& insert, bool accept80) {
    if (insert.material == nullptr)
        return;
    const int32_t t = insert.material->thickness;
    if (t == 0 || t == 100) {
        insert.thicknessMismatch = false;
    } else if (t == 40 || (accept80 && t == 80)) {
        shrinkFilling(insert, 10, true);
        insert.thicknessMismatch = false;
    } else {
        insert.thicknessMismatch = true;
    }
}
