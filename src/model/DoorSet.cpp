#include "model/DoorSet.h"

#include "catalog/Article.h"

#include <cmath>

namespace {

// A horizontal screen distance in pixels turned into whole 0.1 mm, truncated toward zero;
// false for an unusable scale.
bool unitsFromPixels(int32_t pixels, double scale, int32_t& units) {
    if (!(scale > 0.0) || !std::isfinite(scale)) {
        return false;
    }
    const double value = pixels / scale;
    if (!(std::fabs(value) < 1.0e9)) {
        return false;
    }
    units = static_cast<int32_t>(value);
    return true;
}

} // namespace

DoorSet::DoorSet(int32_t openingWidth, int32_t height, int32_t doorCount,
                 const HandleProfile* handleProfile, bool swapTracks)
    : handleProfile(handleProfile), previousWidth(openingWidth), previousHeight(height),
      previousCount(doorCount), openingWidth(openingWidth), doorCount(doorCount), height(height) {
    for (int i = 0; i < kMaxDoors; ++i) {
        doors[i].index = i;
        doors[i].track = (i % 2 == 0 || swapTracks) ? 0 : 1;
    }
}

bool DoorSet::sizesStorable() const {
    auto within = [](int32_t v, int32_t hi) { return v >= 0 && v <= hi; };
    if (!within(height, kMaxDoorHeight) || !within(openingWidth, kMaxDoorWidth)) {
        return false;
    }
    for (int i = 0; i < doorCount && i < kMaxDoors; ++i) {
        if (!within(doors[i].width, kMaxDoorWidth) || !within(doors[i].height, kMaxDoorHeight)) {
            return false;
        }
    }
    return true;
}

std::vector<int> DoorSet::doorsInView() const {
    std::vector<int> view;
    if (zoomDoor >= 0) {
        if (zoomDoor < kMaxDoors) {
            view.push_back(zoomDoor);
        }
        return view;
    }
    for (int i = 0; i < doorsInUse(); ++i) {
        view.push_back(i);
    }
    return view;
}

bool DoorSet::addSplitterAtPoint(ScreenPoint p, const SplitterProfile* profile, bool vertical) {
    for (int i : doorsInView()) {
        Door& d = doors[i];
        if (Splitter* s = d.splitAtPoint(p, profile, vertical, scale)) {
            selectedSplitter = s;
            selectedSplitterDoor = &d;
            changed = true;
            return true;
        }
    }
    return false;
}

bool DoorSet::deleteSplitterAtPoint(ScreenPoint p) {
    for (int i : doorsInView()) {
        Door& d = doors[i];
        Splitter* s = d.hitSplitter(p);
        if (!s) {
            continue;
        }
        const bool wasSelected = (s == selectedSplitter);
        if (!d.deleteSplitter(*s)) {
            return false;
        }
        if (wasSelected) {
            selectedSplitter = nullptr;
        }
        changed = true;
        return true;
    }
    return false;
}

bool DoorSet::chooseMaterialTargetAtPoint(ScreenPoint p) {
    for (int i : doorsInView()) {
        Door& d = doors[i];
        d.materialTarget = d.hitInsert(p);
        if (d.materialTarget) {
            return true;
        }
    }
    return false;
}

void DoorSet::clearMaterialTargets() {
    for (Door& d : doors) {
        d.materialTarget = nullptr;
    }
}

void DoorSet::clearPressedElements() {
    for (Door& d : doors) {
        d.clearPressed();
    }
}

ScreenRect DoorSet::materialTargetRect() const {
    for (int i : doorsInView()) {
        if (const Insert* target = doors[i].materialTarget) {
            return target->rect;
        }
    }
    return {};
}

bool DoorSet::assignMaterial(const Material* m) {
    for (int i : doorsInView()) {
        if (Insert* target = doors[i].materialTarget) {
            target->material = m;
            target->spanDoors = false;
            return true;
        }
    }
    return false;
}

bool DoorSet::assignMaterialAcrossDoors(const Material* m, int32_t firstDoor, int32_t lastDoor) {
    // The sketch stretches the picture over the rectangles of these doors: they must exist.
    if (firstDoor < 0 || lastDoor < firstDoor || lastDoor >= kMaxDoors) {
        return false;
    }
    for (int i : doorsInView()) {
        if (Insert* target = doors[i].materialTarget) {
            target->material = m;
            target->spanDoors = true;
            target->spanFirstDoor = firstDoor;
            target->spanLastDoor = lastDoor;
            return true;
        }
    }
    return false;
}

bool DoorSet::removeMaterialOfPressedInsert() {
    for (int i : doorsInView()) {
        Door& d = doors[i];
        if (d.pressedKind == PressedNone) {
            continue;
        }
        if (!d.pressedInsert) {
            return false;
        }
        d.pressedInsert->material = nullptr;
        return true;
    }
    return false;
}

bool DoorSet::hasSplitters(int door, bool vertical) const {
    return door >= 0 && door < kMaxDoors && doors[door].hasSplitters(vertical);
}

bool DoorSet::finishDrag(ScreenPoint p) {
    for (int i : doorsInView()) {
        Door& d = doors[i];
        if (d.pressedKind == PressedNone) {
            continue;
        }
        selectedSplitterDoor = &d;
        if (d.pressedKind == PressedSplitter) {
            return finishSplitterDrag(d, p);
        }
        if (d.pressedKind == PressedEdge) {
            return finishBoundaryDrag(d, p);
        }
        return false;
    }
    return false;
}

bool DoorSet::finishSplitterDrag(Door& d, ScreenPoint p) {
    Splitter* s = d.pressedSplitter;
    if (!s) {
        return false;
    }
    // The insert size popup that follows a drag addresses the dragged splitter.
    selectedSplitter = s;
    const int32_t offset = s->vertical ? p.x - d.rect.left : p.y - d.rect.top;
    int32_t units = 0;
    if (!unitsFromPixels(offset, scale, units)) {
        return false;
    }
    const int32_t position = (units + 50) / 100 * 100;
    if (!d.moveSplitter(*s, position)) {
        return false;
    }
    changed = true;
    return true;
}

bool DoorSet::finishBoundaryDrag(Door& d, ScreenPoint p) {
    int right = 0;
    if (d.index == 0) {
        right = 1;
    } else if (d.index == doorCount - 1) {
        right = d.index;
    } else {
        right = d.index + 1;
    }
    const int left = right - 1;
    // A boundary needs a door in use on both of its sides.
    if (left < 0 || !isDoorInUse(right)) {
        return false;
    }
    Door& r = doors[right];
    Door& q = doors[left];
    const int32_t b = r.edges[EdgeLeft].profile ? r.edges[EdgeLeft].profile->dimA : 0;
    int32_t units = 0;
    int32_t newLeftWidth = 0;
    int32_t newRightWidth = 0;
    if (p.x > r.rect.left) {
        if (!unitsFromPixels(p.x - r.rect.left, scale, units)) {
            return false;
        }
        const int32_t m = 10 * ((units - b / 2) / 10);
        newLeftWidth = q.width + m;
        newRightWidth = r.width - m;
    } else {
        if (!unitsFromPixels(q.rect.right - p.x, scale, units)) {
            return false;
        }
        const int32_t m = 10 * ((units - b / 2) / 10);
        newLeftWidth = q.width - m;
        newRightWidth = r.width + m;
    }
    if (newLeftWidth < 1000 || newRightWidth < 1000) {
        return false;
    }
    if (newLeftWidth == q.width) {
        return false;
    }
    q.laidOutWidth = q.width;
    q.width = newLeftWidth;
    r.laidOutWidth = r.width;
    r.width = newRightWidth;
    q.relayout(false);
    r.relayout(false);
    changed = true;
    return true;
}

bool DoorSet::setInsertSize(int32_t c, InsertSide side) {
    Door* d = selectedSplitterDoor;
    Splitter* s = selectedSplitter;
    if (!d || !s) {
        return false;
    }
    // The selection may be stale after a boundary drag: only a splitter of that door counts.
    bool found = false;
    for (auto& [id, candidate] : d->splitters) {
        found = found || (&candidate == s);
    }
    if (!found) {
        return false;
    }
    changed = true;
    return d->moveSplitter(*s, d->positionForInsertSize(*s, c, side));
}

void DoorSet::copyDoor(int i) {
    copySourceDoor = i;
}

PasteResult DoorSet::pasteDoor(int t) {
    const int source = copySourceDoor;
    if (!isDoorInUse(t) || !isDoorInUse(source) || t == source) {
        copySourceDoor = -1;
        return PasteNoSource;
    }
    Door& target = doors[t];
    for (const auto& [id, s] : doors[source].splitters) {
        if (s.vertical && s.position > target.width - 20) {
            return PasteRefused;
        }
    }
    forgetSelectionIn(target);
    return target.pasteFrom(&doors[source]);
}

void DoorSet::forgetSelectionIn(const Door& d) {
    bool inDoor = (selectedSplitterDoor == &d);
    for (const auto& [id, s] : d.splitters) {
        inDoor = inDoor || (&s == selectedSplitter);
    }
    if (inDoor) {
        selectedSplitter = nullptr;
        selectedSplitterDoor = nullptr;
    }
}
