#include "journal/BatchOffcuts.h"

#include "calc/RowFormat.h"
#include "journal/OffcutStore.h"

namespace batchoffcuts {

std::vector<StoreOffcut> onStock(OffcutStore& store) {
    OffcutFilter f;
    f.state = std::string(offcutstate::kOnStock);
    std::vector<StoreOffcut> out;
    for (const JournalOffcut& o : store.list(f))
        out.push_back({o.id, o.sheet, o.sheet ? o.material : o.article, o.color, o.materialGroup,
                       o.length, o.width, o.height, o.canTurn});
    return out;
}

JournalOffcut recordOf(const KeptOffcut& k) {
    JournalOffcut o;
    o.sheet = k.sheet;
    if (k.sheet) {
        o.material = k.code;
        o.materialGroup = k.group;
        o.width = k.width;
        o.height = k.height;
        o.canTurn = k.canTurn;
    } else {
        o.article = k.code;
        o.color = k.colour;
        o.length = k.length;
    }
    return o;
}

ProductionLabel labelOf(const JournalOffcut& o, const std::string& source) {
    ProductionLabel l;
    l.kind = ProductionLabel::Kind::Offcut;
    l.lines.push_back(o.id != 0 ? "Остаток " + OffcutStore::idText(o.id) : "Остаток (сохранить)");
    if (o.sheet) {
        l.lines.push_back(o.materialGroup + " " + o.material);
        l.lines.push_back(rowformat::wholeOrTenths(o.width) + " x " +
                          rowformat::wholeOrTenths(o.height) + " мм");
    } else {
        l.lines.push_back(o.article + " " + o.color);
        l.lines.push_back(rowformat::wholeOrTenths(o.length) + " мм");
    }
    if (!source.empty())
        l.lines.push_back(source);
    if (o.id != 0)
        l.qr = OffcutStore::idText(o.id);
    return l;
}

} // namespace batchoffcuts
