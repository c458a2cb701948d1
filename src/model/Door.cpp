#include "model/Door.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <map>
#include <vector>

namespace {

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
