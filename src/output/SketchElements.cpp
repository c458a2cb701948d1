#include "output/SketchElements.h"

#include "calc/RowFormat.h"
#include "catalog/Material.h"
#include "model/DoorSet.h"
#include "text/Format.h"

namespace {

std::string materialWords(const Insert& in) {
    const Material* m = in.material;
    if (!m)
        return "без наполнения";
    std::string words = !m->name.empty() ? m->name : !m->code.empty() ? m->code : m->pictureKey();
    // A material from a folder of pictures is told apart by its picture, as in the bill.
    if (m->fromFolder)
        words += " (" + m->pictureKey() + ")";
    if (in.thicknessMismatch)
        words += ", неподходящая толщина";
    return words;
}

} // namespace

std::string doorName(int32_t doorIndex) {
    return text::format("Дверь %d", doorIndex + 1);
}

std::string insertName(const Door& door, const Insert& insert, int ordinal) {
    return text::format("Вставка %d двери %d: %s, %.1f × %.1f мм", ordinal, door.index + 1,
                        materialWords(insert).c_str(), insert.fillWidth / 10.0,
                        insert.fillHeight / 10.0);
}

std::string splitterName(const Door& door, const Splitter& splitter, int ordinal) {
    // A horizontal splitter is placed by its height above the floor, as the fitter measures it;
    // a vertical one by its distance from the door's left edge.
    if (splitter.vertical)
        return text::format("Разделитель %d двери %d, вертикальный, %s мм от левого края", ordinal,
                            door.index + 1, rowformat::wholeOrTenths(splitter.position).c_str());
    return text::format("Разделитель %d двери %d, горизонтальный, %s мм от низа", ordinal,
                        door.index + 1,
                        rowformat::wholeOrTenths(door.height - splitter.position).c_str());
}

std::vector<SketchElement> sketchElements(const DoorSet& doors) {
    std::vector<SketchElement> list;
    int32_t x0 = 0;
    for (int i : doors.doorsInView()) {
        const Door& d = doors.doors[static_cast<size_t>(i)];
        const int doorElement = static_cast<int>(list.size());
        SketchElement door;
        door.ref = {SketchElementKind::Door, i, 0};
        door.name = doorName(i);
        door.rect = d.rect;
        door.area = {x0, 0, x0 + d.width, d.height};
        door.hovered = d.pressedKind == PressedEdge;
        list.push_back(door);

        int ordinal = 0;
        for (const auto& [id, in] : d.inserts) {
            SketchElement e;
            e.ref = {SketchElementKind::Insert, i, id};
            e.parent = doorElement;
            e.name = insertName(d, in, ++ordinal);
            e.rect = in.rect;
            e.area = {x0 + in.left, in.top, x0 + in.right, in.bottom};
            e.hovered = d.pressedKind == PressedInsert && d.pressedInsert == &in;
            e.target = d.materialTarget == &in;
            list.push_back(std::move(e));
        }
        ordinal = 0;
        for (const auto& [id, s] : d.splitters) {
            SketchElement e;
            e.ref = {SketchElementKind::Splitter, i, id};
            e.parent = doorElement;
            e.name = splitterName(d, s, ++ordinal);
            e.rect = s.rect;
            const int32_t start = s.startSplitter ? s.startSplitter->position : 0;
            const int32_t end = start + s.length;
            e.area = s.vertical ? SketchArea{x0 + s.position, start, x0 + s.position, end}
                                : SketchArea{x0 + start, s.position, x0 + end, s.position};
            e.hovered = d.pressedKind == PressedSplitter && d.pressedSplitter == &s;
            list.push_back(std::move(e));
        }
        x0 += d.width;
    }
    return list;
}

int findElement(const std::vector<SketchElement>& elements, const SketchElementRef& ref) {
    for (size_t k = 0; k < elements.size(); ++k)
        if (elements[k].ref == ref)
            return static_cast<int>(k);
    return -1;
}
