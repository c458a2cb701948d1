// The editing commands of a door: splitting an insert, moving, deleting and aligning
// splitters, pasting the layout of another door.
#include "model/Door.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <map>
#include <vector>

namespace {

// A screen offset in pixels turned into a door position rounded to whole centimetres.
// Returns false when the scale is unusable or the offset lies far outside any door.
bool positionFromOffset(int32_t offset, double scale, int32_t& position) {
    if (!(scale > 0.0) || !std::isfinite(scale)) {
        return false;
    }
    const double units = offset / scale;
    if (!(std::fabs(units) < 1.0e9)) {
        return false;
    }
    position = (static_cast<int32_t>(units) + 50) / 100 * 100;
    return true;
}

} // namespace

Splitter* Door::splitAtPoint(ScreenPoint p, const SplitterProfile* profile, bool vertical,
                             double scale) {
    if (splitters.size() >= kMaxSplittersPerDoor) {
        return nullptr;
    }
    Insert* in = hitInsert(p);
    if (!in) {
        return nullptr;
    }
    const int32_t offset = vertical ? p.x - rect.left : p.y - rect.top;
    int32_t pos = 0;
    if (!positionFromOffset(offset, scale, pos)) {
        return nullptr;
    }
    const int32_t before = vertical ? pos - in->left : pos - in->top;
    const int32_t after = vertical ? in->right - pos : in->bottom - pos;
    if (before < kMinInsertPart || after < kMinInsertPart) {
        return nullptr;
    }

    const int32_t splitterId = nextSplitterId++;
    Splitter& s = splitters[splitterId];
    s.cutLength = 0;
    s.edgeOffset = 0;
    s.position = pos;
    s.vertical = vertical;
    s.profile = profile;
    if (vertical) {
        s.length = in->bottom - in->top;
        s.startSplitter = in->topSplitter;
        s.startId = in->topId;
        s.endSplitter = in->bottomSplitter;
        s.endId = in->bottomId;
    } else {
        s.length = in->right - in->left;
        s.startSplitter = in->leftSplitter;
        s.startId = in->leftId;
        s.endSplitter = in->rightSplitter;
        s.endId = in->rightId;
    }

    const int32_t newId = nextInsertId++;
    Insert& j = inserts.emplace(newId, *in).first->second;
    if (vertical) {
        in->right = pos;
        in->rightSplitter = &s;
        in->rightId = splitterId;
        j.left = pos;
        j.leftSplitter = &s;
        j.leftId = splitterId;
    } else {
        in->bottom = pos;
        in->bottomSplitter = &s;
        in->bottomId = splitterId;
        j.top = pos;
        j.topSplitter = &s;
        j.topId = splitterId;
    }
    return &s;
}

std::pair<Insert*, Insert*> Door::findNeighbours(const Splitter& s) {
    // Several inserts lie on one side of a splitter when other splitters end on it; the
    // narrowest one limits how far the splitter may move.
    Insert* before = nullptr;
    Insert* after = nullptr;
    int32_t beforeSize = std::numeric_limits<int32_t>::max();
    int32_t afterSize = std::numeric_limits<int32_t>::max();
    for (auto& [id, in] : inserts) {
        const int32_t size = s.vertical ? in.width() : in.height();
        const Splitter* beforeSide = s.vertical ? in.rightSplitter : in.bottomSplitter;
        const Splitter* afterSide = s.vertical ? in.leftSplitter : in.topSplitter;
        if (beforeSide == &s && size < beforeSize) {
            before = &in;
            beforeSize = size;
        }
        if (afterSide == &s && size < afterSize) {
            after = &in;
            afterSize = size;
        }
    }
    return {before, after};
}

bool Door::moveSplitter(Splitter& s, int32_t position) {
    auto [before, after] = findNeighbours(s);
    if (!before || !after) {
        return false;
    }
    if (s.vertical) {
        if (position - before->left < kMinInsertPart || after->right - position < kMinInsertPart) {
            return false;
        }
    } else {
        if (position - before->top < kMinInsertPart || after->bottom - position < kMinInsertPart) {
            return false;
        }
    }
    const int32_t old = s.position;
    s.position = position;
    for (auto& [id, in] : inserts) {
        if (s.vertical) {
            if (in.leftSplitter == &s) {
                in.left = position;
            } else if (in.rightSplitter == &s) {
                in.right = position;
            }
        } else {
            if (in.topSplitter == &s) {
                in.top = position;
            } else if (in.bottomSplitter == &s) {
                in.bottom = position;
            }
        }
    }
    for (auto& [id, other] : splitters) {
        if (other.startSplitter == &s) {
            other.length += old - position;
        }
        if (other.endSplitter == &s) {
            other.length += position - old;
        }
    }
    return true;
}

bool Door::deleteSplitter(Splitter& s) {
    int32_t sid = 0;
    for (const auto& [id, other] : splitters) {
        if (other.startSplitter == &s || other.endSplitter == &s) {
            return false;
        }
        if (&other == &s) {
            sid = id;
        }
    }
    if (sid == 0) {
        return false; // not one of this door's splitters
    }
    auto [before, after] = findNeighbours(s);
    if (!before || !after) {
        return false;
    }
    if (s.vertical) {
        before->right = after->right;
        before->rightSplitter = after->rightSplitter;
        before->rightId = after->rightId;
    } else {
        before->bottom = after->bottom;
        before->bottomSplitter = after->bottomSplitter;
        before->bottomId = after->bottomId;
    }
    forgetRemoved(after, &s);
    for (auto it = inserts.begin(); it != inserts.end(); ++it) {
        if (&it->second == after) {
            inserts.erase(it);
            break;
        }
    }
    splitters.erase(sid);
    return true;
}

void Door::forgetRemoved(const Insert* removedInsert, const Splitter* removedSplitter) {
    if (pressedInsert && pressedInsert == removedInsert) {
        pressedInsert = nullptr;
        if (pressedKind == PressedInsert) {
            pressedKind = PressedNone;
        }
    }
    if (pressedSplitter && pressedSplitter == removedSplitter) {
        pressedSplitter = nullptr;
        if (pressedKind == PressedSplitter) {
            pressedKind = PressedNone;
        }
    }
    if (materialTarget && materialTarget == removedInsert) {
        materialTarget = nullptr;
    }
}

void Door::relayout(bool force) {
    if (width == laidOutWidth && height == laidOutHeight && !force) {
        return;
    }
    // A door never laid out before has nothing to scale from: its positions stay as they are.
    const double f = (laidOutWidth == 0 || laidOutHeight == 0)
                         ? 1.0
                         : static_cast<double>(height) / laidOutHeight;
    for (auto& [id, s] : splitters) {
        if (s.vertical) {
            if (laidOutWidth != 0) {
                const int64_t product = static_cast<int64_t>(s.position) * width;
                s.position = static_cast<int32_t>(static_cast<double>(product) / laidOutWidth);
            }
            if (s.position > width) {
                s.position = width;
            }
        } else {
            s.position = static_cast<int32_t>(s.position * f);
            if (s.position > height) {
                s.position = height;
            }
        }
        if (s.position < 0) {
            s.position = 0;
        }
    }
    for (auto& [id, s] : splitters) {
        const int32_t end = s.endSplitter ? s.endSplitter->position : (s.vertical ? height : width);
        s.length = end - startOf(s);
    }
    for (auto& [id, in] : inserts) {
        in.left = in.leftSplitter ? in.leftSplitter->position : 0;
        in.top = in.topSplitter ? in.topSplitter->position : 0;
        in.right = in.rightSplitter ? in.rightSplitter->position : width;
        in.bottom = in.bottomSplitter ? in.bottomSplitter->position : height;
    }
    laidOutWidth = width;
    laidOutHeight = height;
}

std::pair<int32_t, int32_t> Door::neighbourSizes(const Splitter& s) {
    auto [before, after] = findNeighbours(s);
    if (!before || !after) {
        return {0, 0};
    }
    if (s.vertical) {
        return {before->width(), after->width()};
    }
    return {before->height(), after->height()};
}

int32_t Door::positionForInsertSize(const Splitter& s, int32_t c, InsertSide side) {
    auto [before, after] = findNeighbours(s);
    if (!before || !after) {
        return s.position;
    }
    if (s.vertical) {
        return side == InsertSide::Before ? before->fillX + c : after->fillX + after->fillWidth - c;
    }
    return side == InsertSide::Before ? before->fillY + c : after->fillY + after->fillHeight - c;
}

void Door::alignSplitters(bool vertical) {
    std::vector<Splitter*> chosen;
    for (auto& [id, s] : splitters) {
        if (s.vertical == vertical) {
            chosen.push_back(&s);
        }
    }
    if (chosen.empty()) {
        return;
    }
    const int32_t n = static_cast<int32_t>(chosen.size());
    const int32_t total = vertical ? width : height;
    const int32_t step = total / (n + 1);

    // Phase 1 pushes them to the far end in their present order, so that phase 2 can spread them
    // without one move being blocked by a splitter that has not moved yet. edgeOffset is only
    // refreshed by the calculation, so both phases see the order from before the command.
    std::vector<Splitter*> left = chosen;
    int32_t target = total - kMinInsertPart;
    while (!left.empty()) {
        size_t best = 0;
        for (size_t i = 1; i < left.size(); ++i) {
            if (left[i]->edgeOffset > left[best]->edgeOffset) {
                best = i;
            }
        }
        moveSplitter(*left[best], target);
        target -= kMinInsertPart;
        left.erase(left.begin() + static_cast<std::ptrdiff_t>(best));
    }

    left = chosen;
    target = step;
    while (!left.empty()) {
        size_t best = 0;
        for (size_t i = 1; i < left.size(); ++i) {
            if (left[i]->edgeOffset < left[best]->edgeOffset) {
                best = i;
            }
        }
        moveSplitter(*left[best], target);
        target += step;
        left.erase(left.begin() + static_cast<std::ptrdiff_t>(best));
    }
}

PasteResult Door::pasteFrom(const Door* source) {
    if (!source || source == this) {
        return PasteNoSource;
    }
    for (const auto& [id, s] : source->splitters) {
        if (s.vertical && s.position > width - 20) {
            return PasteRefused;
        }
    }
    clearPressed();
    materialTarget = nullptr;
    copyLayoutFrom(*source);
    relayout(true);
    return PasteDone;
}
