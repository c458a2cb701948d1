#include "output/DoorAssemblySheet.h"

#include "calc/RowFormat.h"
#include "catalog/Article.h"
#include "catalog/Material.h"
#include "catalog/SplitterProfile.h"
#include "model/OrderInfo.h"
#include "model/Project.h"
#include "text/Format.h"

#include <map>
#include <utility>

namespace {

AssemblyEdge edgeOf(const Edge& e) {
    AssemblyEdge out;
    if (e.profile != nullptr) {
        out.code = e.profile->code;
        out.visibleWidth = e.profile->dimC;
    }
    out.cutLength = e.cutLength;
    out.lengthText = rowformat::tenths(e.cutLength);
    out.mark = e.number;
    return out;
}

// Start and end of a splitter along itself, in the door's top-left coordinates.
std::pair<int32_t, int32_t> spanOf(const Splitter& s, const Door& door) {
    const int32_t start = s.startSplitter ? s.startSplitter->position : 0;
    const int32_t end =
        s.endSplitter ? s.endSplitter->position : (s.vertical ? door.height : door.width);
    return {start, end};
}

AssemblySplitter splitterOf(const Splitter& s, const Door& door) {
    AssemblySplitter out;
    out.mark = s.number;
    out.vertical = s.vertical;
    const auto [start, end] = spanOf(s, door);
    if (s.vertical) {
        out.axis = s.position;
        out.from = door.height - end;
        out.to = door.height - start;
    } else {
        out.axis = door.height - s.position;
        out.from = start;
        out.to = end;
    }
    if (s.profile != nullptr) {
        out.code = s.profile->code;
        out.visibleWidth = s.profile->dimC;
    }
    out.cutLength = s.cutLength;
    out.lengthText = rowformat::tenths(s.cutLength);
    return out;
}

AssemblyInsert insertOf(const Insert& in, const Door& door) {
    AssemblyInsert out;
    out.mark = in.number;
    out.left = in.left;
    out.right = in.right;
    out.bottom = door.height - in.bottom;
    out.top = door.height - in.top;
    out.fillLeft = in.fillX;
    out.fillBottom = door.height - (in.fillY + in.fillHeight);
    out.fillWidth = in.fillWidth;
    out.fillHeight = in.fillHeight;
    out.widthText = rowformat::wholeOrTenths(in.fillWidth);
    out.heightText = rowformat::wholeOrTenths(in.fillHeight);
    if (in.material != nullptr) {
        out.material = in.material->code;
        if (!in.material->name.empty())
            out.material += " " + in.material->name;
    }
    return out;
}

// "2 двери", "5 дверей".
std::string doorsText(int32_t n) {
    const int32_t tens = n % 100, ones = n % 10;
    const char* word = (tens >= 11 && tens <= 14) ? "дверей"
                       : ones == 1                ? "дверь"
                       : (ones >= 2 && ones <= 4) ? "двери"
                                                  : "дверей";
    return text::format("%d %s", static_cast<int>(n), word);
}

std::string trackText(DoorTrack track, size_t doors) {
    switch (track) {
    case DoorTrack::Rear:
        return "задняя";
    case DoorTrack::Front:
        return "передняя";
    case DoorTrack::Single:
        break;
    }
    return doors > 1 ? "одна на все двери" : "одна";
}

const char* whatOf(DoorShareKind kind) {
    switch (kind) {
    case DoorShareKind::Rollers:
        return "Ролики";
    case DoorShareKind::Stopper:
        return "Стопор";
    case DoorShareKind::Brush:
        return "Щётка";
    case DoorShareKind::Part:
        return "Деталь";
    case DoorShareKind::Seal:
        break;
    }
    return "Уплотнитель";
}

std::string amountText(const DoorShareLine& line, int64_t amount, const DoorShare* share) {
    if (line.counted != 0)
        return text::format("%lld шт.", static_cast<long long>(amount));
    if (share != nullptr && share->pieceCount > 0)
        return text::format("%d × %s мм", static_cast<int>(share->pieceCount),
                            rowformat::tenths(share->pieceLength).c_str());
    return rowformat::tenths(amount) + " мм";
}

// The whole order's quantity of a line that has no share per door, with the reason.
std::string orderAmountText(const DoorShareLine& line) {
    const std::string amount = "на заказ " + amountText(line, line.billed, nullptr);
    switch (line.spread) {
    case DoorShareSpread::KitForDoors:
        return amount + ", комплект на " + doorsText(line.doorsPerKit);
    case DoorShareSpread::BetweenDoors:
        return amount + ", между дверями";
    case DoorShareSpread::PerDoor:
        break;
    }
    return amount;
}

// The accessories of door i: its share of every line split per door (none where its share is 0),
// and the order's quantity of every line that is not.
std::vector<AssemblyAccessory> accessoriesOf(const std::vector<DoorShareLine>& lines, size_t i) {
    std::vector<AssemblyAccessory> out;
    for (const DoorShareLine& line : lines) {
        std::string amount;
        if (line.perDoor.empty()) {
            if (line.billed <= 0)
                continue;
            amount = orderAmountText(line);
        } else {
            if (i >= line.perDoor.size() || line.perDoor[i].amount <= 0)
                continue;
            amount = amountText(line, line.perDoor[i].amount, &line.perDoor[i]);
        }
        std::string name = line.name;
        if (!line.error.empty())
            name += "\n" + line.error;
        out.push_back({whatOf(line.kind), line.code, std::move(name), std::move(amount)});
    }
    return out;
}

} // namespace

DoorAssemblySheet DoorAssemblySheet::build(const Project& project) {
    DoorAssemblySheet sheet;
    if (!project.doors)
        return sheet;
    // A filled insert shows its size exactly as the materials list writes it (the system decides
    // between whole millimetres and tenths).
    std::map<std::pair<int32_t, int32_t>, const FillingPieceRow*> listed;
    for (const FillingPieceRow& row : project.result.fillingPieces)
        listed[{row.doorIndex, leadingInteger(row.mark)}] = &row;
    const DoorSet& set = *project.doors;
    for (int i = 0; i < kMaxDoors; ++i) {
        if (!set.isDoorInUse(i))
            continue;
        const Door& door = set.doors[static_cast<size_t>(i)];
        AssemblyDoor out;
        out.index = i;
        out.width = door.width;
        out.height = door.height;
        for (size_t e = 0; e < door.edges.size(); ++e)
            out.edges[e] = edgeOf(door.edges[e]);
        for (const auto& [id, s] : door.splitters)
            out.splitters.push_back(splitterOf(s, door));
        for (const auto& [id, in] : door.inserts) {
            out.inserts.push_back(insertOf(in, door));
            if (auto it = listed.find({i, in.number}); it != listed.end()) {
                out.inserts.back().widthText = it->second->width;
                out.inserts.back().heightText = it->second->height;
            }
        }
        const std::vector<DoorTrack>& tracks = project.result.doorTracks;
        if (static_cast<size_t>(i) < tracks.size())
            out.track = trackText(tracks[static_cast<size_t>(i)], tracks.size());
        out.accessories = accessoriesOf(project.result.doorShares, static_cast<size_t>(i));
        sheet.doors.push_back(std::move(out));
    }
    return sheet;
}

std::vector<ResultTable> DoorAssemblySheet::tables(const AssemblyDoor& door) {
    ResultTable profiles;
    profiles.columnFractions = {0.08, 0.2, 0.14, 0.16, 0.2, 0.2};
    profiles.gapAfterPoints = 10;
    profiles.rows.push_back(
        resultRow(ResultRowKind::Heading,
                  {"Номер", "Профиль", "Артикул", "Длина, мм", "Ось, мм", "Участок, мм"}));
    static const char* const edgeNames[] = {"Левый", "Верхний", "Правый", "Нижний"};
    for (size_t e = 0; e < door.edges.size(); ++e) {
        const AssemblyEdge& edge = door.edges[e];
        if (edge.code.empty())
            continue;
        profiles.rows.push_back(
            resultRow(ResultRowKind::Item, {rowformat::integer(edge.mark), edgeNames[e], edge.code,
                                            edge.lengthText, "", ""}));
    }
    for (const AssemblySplitter& s : door.splitters) {
        profiles.rows.push_back(resultRow(
            ResultRowKind::Item,
            {rowformat::integer(s.mark), s.vertical ? "Вертикальный" : "Горизонтальный", s.code,
             s.lengthText, (s.vertical ? "слева " : "снизу ") + rowformat::wholeOrTenths(s.axis),
             text::format("%s %s – %s", s.vertical ? "снизу" : "слева",
                          rowformat::wholeOrTenths(s.from).c_str(),
                          rowformat::wholeOrTenths(s.to).c_str())}));
    }

    ResultTable inserts;
    inserts.columnFractions = {0.08, 0.2, 0.22, 0.48};
    inserts.rows.push_back(resultRow(
        ResultRowKind::Heading, {"Номер", "Наполнение, мм", "Угол: слева, снизу", "Материал"}));
    for (const AssemblyInsert& in : door.inserts) {
        inserts.rows.push_back(resultRow(
            ResultRowKind::Item,
            {rowformat::integer(in.mark), in.widthText + " × " + in.heightText,
             rowformat::wholeOrTenths(in.fillLeft) + "; " + rowformat::wholeOrTenths(in.fillBottom),
             in.material.empty() ? "без наполнения" : in.material}));
    }
    return {profiles, inserts};
}

std::vector<ResultTable> DoorAssemblySheet::fittingTables(const AssemblyDoor& door) {
    if (door.track.empty() && door.accessories.empty())
        return {};
    ResultTable fittings;
    fittings.columnFractions = {0.3, 0.38, 0.3};
    fittings.rows.push_back(
        resultRow(ResultRowKind::Heading, {"Фурнитура", "Артикул, наименование", "На дверь"}));
    if (!door.track.empty())
        fittings.rows.push_back(resultRow(ResultRowKind::Item, {"Направляющая", "", door.track}));
    for (const AssemblyAccessory& a : door.accessories)
        fittings.rows.push_back(
            resultRow(ResultRowKind::Item, {a.what, a.code + " " + a.name, a.amount}));
    return {fittings};
}
