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

std::string describe(const char* what, int32_t id) {
    return std::string(what) + " " + std::to_string(id);
}

// The first pair of inserts whose interiors overlap, found by sweeping a line across the door:
// the inserts crossing the line are kept ordered by their top and, as long as none overlap, are
// disjoint, so a new one needs comparing with its two neighbours only (n log n).
std::string overlappingInserts(const std::map<int32_t, Insert>& inserts) {
    struct Event {
        int32_t x;
        bool opens;
        int32_t id;
        const Insert* in;
    };
    std::vector<Event> events;
    for (const auto& [id, in] : inserts) {
        if (in.right > in.left && in.bottom > in.top) { // an empty insert overlaps nothing
            events.push_back({in.left, true, id, &in});
            events.push_back({in.right, false, id, &in});
        }
    }
    // Where one insert ends and the next begins they only touch: close before opening.
    std::sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
        return a.x != b.x ? a.x < b.x : (a.opens ? 1 : 0) < (b.opens ? 1 : 0);
    });
    std::map<int32_t, std::pair<int32_t, int32_t>> crossing; // top -> (bottom, id)
    for (const Event& e : events) {
        if (!e.opens) {
            crossing.erase(e.in->top);
            continue;
        }
        auto next = crossing.lower_bound(e.in->top);
        int32_t other = 0;
        if (next != crossing.end() && next->first < e.in->bottom) {
            other = next->second.second;
        } else if (next != crossing.begin() && std::prev(next)->second.first > e.in->top) {
            other = std::prev(next)->second.second;
        }
        if (other != 0) {
            return describe("inserts overlap", std::min(other, e.id)) + " / " +
                   std::to_string(std::max(other, e.id));
        }
        crossing.emplace(e.in->top, std::make_pair(e.in->bottom, e.id));
    }
    return {};
}

} // namespace

Door::Door() {
    inserts.emplace(1, Insert{});
}

Door::Door(const Door& other) {
    *this = other;
}

Door& Door::operator=(const Door& other) {
    if (this == &other) {
        return *this;
    }
    rect = other.rect;
    laidOutWidth = other.laidOutWidth;
    laidOutHeight = other.laidOutHeight;
    index = other.index;
    width = other.width;
    height = other.height;
    track = other.track;
    edges = other.edges;
    clearPressed();
    materialTarget = nullptr;
    copyLayoutFrom(other);
    return *this;
}

void Door::copyLayoutFrom(const Door& other) {
    splitters = other.splitters;
    inserts = other.inserts;
    nextInsertId = other.nextInsertId;
    nextSplitterId = other.nextSplitterId;
    rebuildLinks();
}

int32_t Door::startOf(const Splitter& s) {
    return s.startSplitter ? s.startSplitter->position : 0;
}

Insert* Door::insertById(int32_t id) {
    auto it = inserts.find(id);
    return it == inserts.end() ? nullptr : &it->second;
}

Splitter* Door::splitterById(int32_t id) {
    auto it = splitters.find(id);
    return it == splitters.end() ? nullptr : &it->second;
}

const Insert* Door::insertById(int32_t id) const {
    auto it = inserts.find(id);
    return it == inserts.end() ? nullptr : &it->second;
}

const Splitter* Door::splitterById(int32_t id) const {
    auto it = splitters.find(id);
    return it == splitters.end() ? nullptr : &it->second;
}

Insert* Door::hitInsert(ScreenPoint p) {
    if (!rect.contains(p)) {
        return nullptr;
    }
    for (auto& [id, in] : inserts) {
        if (in.rect.contains(p)) {
            pressedInsert = &in;
            pressedInsertId = id;
            pressedKind = PressedInsert;
            return &in;
        }
    }
    return nullptr;
}

Splitter* Door::hitSplitter(ScreenPoint p) {
    if (!rect.contains(p)) {
        return nullptr;
    }
    for (auto& [id, s] : splitters) {
        if (s.rect.contains(p)) {
            pressedSplitter = &s;
            pressedSplitterId = id;
            pressedKind = PressedSplitter;
            return &s;
        }
    }
    return nullptr;
}

Edge* Door::hitEdge(ScreenPoint p) {
    if (!rect.contains(p)) {
        return nullptr;
    }
    for (int side : {EdgeLeft, EdgeRight, EdgeTop, EdgeBottom}) {
        if (edges[side].rect.contains(p)) {
            pressedEdge = &edges[side];
            pressedKind = PressedEdge;
            return pressedEdge;
        }
    }
    return nullptr;
}

void Door::clearPressed() {
    pressedEdge = nullptr;
    pressedSplitter = nullptr;
    pressedInsert = nullptr;
    pressedKind = PressedNone;
}

bool Door::hasSplitters(bool vertical) const {
    for (const auto& [id, s] : splitters) {
        if (s.vertical == vertical) {
            return true;
        }
    }
    return false;
}

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

bool Door::rebuildLinks() {
    bool allFound = true;
    auto link = [&](int32_t& id, Splitter*& ptr, const Splitter* self) {
        ptr = nullptr;
        if (id == 0) {
            return;
        }
        Splitter* target = splitterById(id);
        if (!target || target == self) {
            id = 0;
            allFound = false;
            return;
        }
        ptr = target;
    };
    for (auto& [id, s] : splitters) {
        link(s.startId, s.startSplitter, &s);
        link(s.endId, s.endSplitter, &s);
    }
    for (auto& [id, in] : inserts) {
        link(in.topId, in.topSplitter, nullptr);
        link(in.leftId, in.leftSplitter, nullptr);
        link(in.rightId, in.rightSplitter, nullptr);
        link(in.bottomId, in.bottomSplitter, nullptr);
    }
    return allFound;
}

std::string Door::layoutFault() const {
    if (inserts.empty()) {
        return "no inserts";
    }
    // Pointers and ids name the same splitter of this door.
    auto linkOk = [&](int32_t id, const Splitter* ptr) {
        return id == 0 ? ptr == nullptr : ptr == splitterById(id) && ptr != nullptr;
    };
    for (const auto& [id, s] : splitters) {
        if (id >= nextSplitterId || id <= 0) {
            return describe("splitter id out of range", id);
        }
        if (!linkOk(s.startId, s.startSplitter) || !linkOk(s.endId, s.endSplitter)) {
            return describe("splitter link mismatch", id);
        }
        if ((s.startSplitter && s.startSplitter->vertical == s.vertical) ||
            (s.endSplitter && s.endSplitter->vertical == s.vertical)) {
            return describe("splitter runs between parallel splitters", id);
        }
        const int32_t end = s.endSplitter ? s.endSplitter->position : (s.vertical ? height : width);
        if (s.length != end - startOf(s)) {
            return describe("splitter length wrong", id);
        }
    }
    int64_t area = 0;
    for (const auto& [id, in] : inserts) {
        if (id >= nextInsertId || id <= 0) {
            return describe("insert id out of range", id);
        }
        if (!linkOk(in.topId, in.topSplitter) || !linkOk(in.leftId, in.leftSplitter) ||
            !linkOk(in.rightId, in.rightSplitter) || !linkOk(in.bottomId, in.bottomSplitter)) {
            return describe("insert link mismatch", id);
        }
        if ((in.leftSplitter && !in.leftSplitter->vertical) ||
            (in.rightSplitter && !in.rightSplitter->vertical) ||
            (in.topSplitter && in.topSplitter->vertical) ||
            (in.bottomSplitter && in.bottomSplitter->vertical)) {
            return describe("insert bounded by a splitter of the wrong orientation", id);
        }
        if (in.left != (in.leftSplitter ? in.leftSplitter->position : 0) ||
            in.top != (in.topSplitter ? in.topSplitter->position : 0) ||
            in.right != (in.rightSplitter ? in.rightSplitter->position : width) ||
            in.bottom != (in.bottomSplitter ? in.bottomSplitter->position : height)) {
            return describe("insert bounds differ from its splitters", id);
        }
        if (in.left < 0 || in.top < 0 || in.right > width || in.bottom > height ||
            in.right < in.left || in.bottom < in.top) {
            return describe("insert outside the door", id);
        }
        area += static_cast<int64_t>(in.width()) * in.height();
    }
    if (area != static_cast<int64_t>(width) * height) {
        return "inserts do not cover the door";
    }
    if (std::string overlap = overlappingInserts(inserts); !overlap.empty()) {
        return overlap;
    }
    // Each splitter has inserts on both sides along its whole length: one pass over the inserts
    // sums what borders each splitter, so the check stays near-linear in the number of elements.
    struct Cover {
        int64_t before = 0;
        int64_t after = 0;
    };
    std::map<const Splitter*, Cover> covers;
    for (const auto& [iid, in] : inserts) {
        const Splitter* sides[4] = {in.leftSplitter, in.rightSplitter, in.topSplitter,
                                    in.bottomSplitter};
        for (int k = 0; k < 4; ++k) {
            const Splitter* s = sides[k];
            if (!s) {
                continue;
            }
            const int32_t from = startOf(*s);
            const int32_t to = from + s->length;
            const int32_t lo = s->vertical ? in.top : in.left;
            const int32_t hi = s->vertical ? in.bottom : in.right;
            if (lo < from || hi > to) {
                return describe("insert reaches beyond its splitter", iid);
            }
            // Sides 1 and 3 (right, bottom) lie before their splitter.
            Cover& c = covers[s];
            (k % 2 == 1 ? c.before : c.after) += hi - lo;
        }
    }
    for (const auto& [id, s] : splitters) {
        const Cover c = covers.count(&s) ? covers.at(&s) : Cover{};
        if (c.before != s.length || c.after != s.length) {
            return describe("splitter not bordered by inserts on both sides", id);
        }
    }
    return {};
}
