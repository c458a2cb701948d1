#include "journal/BatchOffcuts.h"

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

} // namespace batchoffcuts
