#include "output/InfoTexts.h"

#include "catalog/Article.h"
#include "catalog/Material.h"
#include "catalog/SplitterProfile.h"
#include "model/DoorSet.h"
#include "text/Format.h"

#include <cmath>

namespace {

const char* const kThicknessError = "ОШИБКА: Неподходящая толщина!";

HoverInfo describeEdge(const DoorSet& set, const Door& door, int position) {
    HoverInfo h;
    h.kind = HoverKind::Edge;
    h.edgePosition = position;
    const Edge& edge = door.edges[static_cast<std::size_t>(position)];
    if (edge.profile != nullptr) {
        h.text1 = edge.profile->code;
        h.length = edge.cutLength;
        h.width = edge.profile->dimA;
    }
    int i = door.index;
    bool lastInUse = i == set.doorCount - 1;
    if (position == EdgeLeft) {
        if (i > 0)
            h.doorWidth1 = set.doors[static_cast<std::size_t>(i - 1)].width;
        h.doorWidth2 = door.width;
    } else if (position == EdgeRight) {
        h.doorWidth1 = door.width;
        if (!lastInUse && i + 1 < kMaxDoors)
            h.doorWidth2 = set.doors[static_cast<std::size_t>(i + 1)].width;
    } else {
        h.doorWidth1 = door.width;
    }
    return h;
}

HoverInfo describeSplitter(const Splitter& s) {
    HoverInfo h;
    h.kind = s.vertical ? HoverKind::VerticalSplitter : HoverKind::HorizontalSplitter;
    h.length = s.cutLength;
    h.offset = s.position;
    if (s.profile != nullptr) {
        h.text1 = s.profile->code + " (" + splitterTypeWord(s.profile->splitterType) + ")";
        h.width = s.profile->dimA;
    }
    return h;
}

HoverInfo describeInsert(const Insert& in) {
    HoverInfo h;
    h.kind = HoverKind::Filling;
    h.width = in.fillWidth;
    h.height = in.fillHeight;
    if (in.material != nullptr) {
        h.text1 = in.material->groupName + " / " + in.material->pictureKey();
        h.thickness = in.material->thickness;
    }
    if (in.thicknessMismatch)
        h.text2 = kThicknessError;
    return h;
}

} // namespace

std::string splitterTypeWord(int splitterType) {
    switch (splitterType) {
    case 0:
        return "ДСП-ДСП";
    case 1:
        return "ДСП-Стекло";
    case 2:
        return "Универсальный";
    default:
        return {};
    }
}

HoverInfo describeHover(const DoorSet& doors) {
    for (int i = 0; i < doors.doorsInUse(); ++i) {
        const Door& door = doors.doors[static_cast<std::size_t>(i)];
        switch (door.pressedKind) {
        case PressedEdge:
            for (int p = 0; p < 4; ++p) {
                if (door.pressedEdge == &door.edges[static_cast<std::size_t>(p)])
                    return describeEdge(doors, door, p);
            }
            break;
        case PressedSplitter:
            if (door.pressedSplitter != nullptr)
                return describeSplitter(*door.pressedSplitter);
            break;
        case PressedInsert:
            if (door.pressedInsert != nullptr)
                return describeInsert(*door.pressedInsert);
            break;
        default:
            break;
        }
    }
    return {};
}

InfoLines infoLines(const HoverInfo& h) {
    InfoLines lines;
    switch (h.kind) {
    case HoverKind::Filling: {
        lines.first =
            (h.text1.empty() ? std::string("Материал не назначен") : "Материал: " + h.text1) +
            "   " + h.text2;
        double w = h.width;
        double ht = h.height;
        lines.second = text::format(
            "Ширина: %5d мм;  Высота: %5d мм; Площадь: %5d мм2 (%5.3f м2); Толщина: %2.1f мм",
            static_cast<int>(std::floor(w / 10 + 0.5)), static_cast<int>(std::floor(ht / 10 + 0.5)),
            static_cast<int>(std::floor(w * ht / 100 + 0.5)), w * ht / 100 / 1000000,
            h.thickness / 10.0);
        break;
    }
    case HoverKind::Edge:
        lines.first = "Код: " + h.text1;
        lines.second =
            text::format("Длина: %5.1f мм;  Ширина: %5.1f мм", h.length / 10.0, h.width / 10.0);
        if (h.edgePosition == EdgeTop || h.edgePosition == EdgeBottom) {
            lines.second += text::format(";  Ширина двери: %5.1f мм", h.doorWidth1 / 10.0);
        } else {
            if (h.doorWidth1 != 0)
                lines.second += text::format(";  Левая дверь: %5.1f мм", h.doorWidth1 / 10.0);
            if (h.doorWidth2 != 0)
                lines.second += text::format(";  Правая дверь: %5.1f мм", h.doorWidth2 / 10.0);
        }
        break;
    case HoverKind::VerticalSplitter:
    case HoverKind::HorizontalSplitter:
        lines.first = "Код: " + h.text1;
        lines.second = text::format(
            h.kind == HoverKind::VerticalSplitter
                ? "Длина: %5.1f мм;  Ширина: %5.1f мм;  Смещение от левого края двери: %5.1f мм"
                : "Длина: %5.1f мм;  Ширина: %5.1f мм;  Смещение от верхнего края двери: %5.1f мм",
            h.length / 10.0, h.width / 10.0, h.offset / 10.0);
        break;
    case HoverKind::None:
        break;
    }
    return lines;
}
