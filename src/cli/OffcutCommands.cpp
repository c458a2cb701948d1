#include "cli/OffcutCommands.h"

#include "calc/RowFormat.h"
#include "cli/JournalCall.h"
#include "cli/JournalCommands.h"
#include "journal/Journal.h"
#include "journal/JournalDates.h"
#include "text/Decimal.h"
#include "text/Format.h"

#include <nlohmann/json.hpp>

#include <iostream>

namespace journalcli {
namespace {

const char* const kForms = "offcuts list|show ID|add ...|scrap ID|move ID --place МЕСТО";

// Millimetres with at most one decimal, as 0.1 mm within 1 … max.
int32_t millimetres(const std::string& typed, const char* what, int32_t max) {
    const text::Decimal d = text::parseDecimal(typed, 1);
    if (d.fault != text::Decimal::Fault::None || d.value < 10 || d.value > max)
        throw ArgumentError{std::string("недопустимая ") + what + ": " + typed + " (от 1 до " +
                            std::to_string(max / 10) +
                            " мм, не больше одного знака после запятой)"};
    return static_cast<int32_t>(d.value);
}

int64_t offcutId(const std::string& typed) {
    const auto id = OffcutStore::parseId(typed);
    if (!id)
        throw ArgumentError{"неверный номер остатка (например, О-000123): " + typed};
    return *id;
}

// "1200x600" (or with "х" or "*"): width across the grain, height along it.
std::pair<int32_t, int32_t> sheetSize(const std::string& typed) {
    for (std::string_view by : {"x", "X", "х", "Х", "*"}) {
        const size_t at = typed.find(by);
        if (at != std::string::npos)
            return {millimetres(typed.substr(0, at), "ширина листа", 35000),
                    millimetres(typed.substr(at + by.size()), "высота листа", 60000)};
    }
    throw ArgumentError{"размер листа указывается как ШИРИНАxВЫСОТА в мм: " + typed};
}

JournalOffcut typedOffcut(const Command& c) {
    JournalOffcut o;
    o.place = c.option("--place");
    const bool bar = c.options.count("--article") || c.options.count("--length");
    const bool sheet = c.options.count("--material") || c.options.count("--size");
    if (bar == sheet)
        throw ArgumentError{"укажите остаток хлыста (--article, --color, --length) или листа "
                            "(--group, --material, --size)"};
    if (bar) {
        allowOptions(c, {"--article", "--color", "--length", "--place"}, false);
        if (c.option("--article").empty() || !c.options.count("--length"))
            throw ArgumentError{"для остатка хлыста нужны --article и --length"};
        o.article = c.option("--article");
        o.color = c.option("--color");
        o.length = millimetres(c.option("--length"), "длина", 120000);
        return o;
    }
    allowOptions(c, {"--group", "--material", "--size", "--rotate", "--place"}, false);
    if (c.option("--material").empty() || !c.options.count("--size"))
        throw ArgumentError{"для остатка листа нужны --material и --size"};
    o.sheet = true;
    o.materialGroup = c.option("--group");
    o.material = c.option("--material");
    std::tie(o.width, o.height) = sheetSize(c.option("--size"));
    o.canTurn = c.options.count("--rotate") > 0;
    return o;
}

std::string sizeText(const JournalOffcut& o) {
    if (!o.sheet)
        return rowformat::wholeOrTenths(o.length) + " мм";
    return rowformat::wholeOrTenths(o.width) + " x " + rowformat::wholeOrTenths(o.height) + " мм" +
           (o.canTurn ? "" : ", волокно вдоль высоты");
}

std::string whatText(const JournalOffcut& o) {
    if (o.sheet)
        return o.materialGroup.empty() ? o.material : o.materialGroup + " " + o.material;
    return o.color.empty() ? o.article : o.article + " " + o.color;
}

nlohmann::json offcutJson(const JournalOffcut& o) {
    nlohmann::json j = {
        {"id", OffcutStore::idText(o.id)},
        {"kind", o.sheet ? "sheet" : "bar"},
        {"place", o.place},
        {"state", o.state},
        {"addedAt", journaldates::isoTime(o.addedAt, journaldates::utcOffsetAt(o.addedAt))},
        {"addedBy", o.addedBy}};
    if (o.sheet) {
        j["group"] = o.materialGroup;
        j["material"] = o.material;
        j["width"] = o.width / 10.0;
        j["height"] = o.height / 10.0;
        j["rotate"] = o.canTurn;
    } else {
        j["article"] = o.article;
        j["color"] = o.color;
        j["length"] = o.length / 10.0;
    }
    if (o.fromOrder != 0)
        j["order"] = o.fromOrder;
    if (o.fromBatch != 0)
        j["fromBatch"] = o.fromBatch;
    if (o.batch != 0)
        j["batch"] = o.batch;
    return j;
}

std::string dumped(const nlohmann::json& j) {
    return j.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

OffcutFilter filterOf(const Command& c) {
    OffcutFilter f;
    f.article = c.option("--article");
    f.color = c.option("--color");
    f.material = c.option("--material");
    if (c.options.count("--state"))
        f.state = c.option("--state");
    return f;
}

int list(Journal& journal, const Command& c) {
    OffcutStore store = journal.offcuts();
    const OffcutFilter f = filterOf(c);
    const std::vector<JournalOffcut> all = store.list(f);
    if (c.json) {
        nlohmann::json array = nlohmann::json::array();
        for (const JournalOffcut& o : all)
            array.push_back(offcutJson(o));
        std::cout << dumped(array);
        return kExitOk;
    }
    for (const JournalOffcut& o : all)
        std::cout << OffcutStore::idText(o.id) << "  " << whatText(o) << "  " << sizeText(o) << "  "
                  << o.state << (o.place.empty() ? "" : "  " + o.place) << '\n';
    const OffcutTotals t = store.totals(f);
    for (const OffcutTotals::Line& l : t.bars)
        std::cout << "Итого " << l.name << ": " << l.count << " шт., "
                  << text::format("%.2f", static_cast<double>(l.amount) / 10000.0) << " м\n";
    for (const OffcutTotals::Line& l : t.sheets)
        std::cout << "Итого " << l.name << ": " << l.count << " шт., "
                  << text::format("%.3f", static_cast<double>(l.amount) / 1e8) << " м²\n";
    std::cout << "Остатков: " << all.size() << '\n';
    return kExitOk;
}

int show(Journal& journal, const Command& c) {
    OffcutStore store = journal.offcuts();
    const int64_t id = offcutId(c.words[2]);
    const JournalOffcut o = store.get(id);
    const std::vector<OffcutChange> history = store.history(id);
    auto when = [](int64_t at) {
        return journaldates::shownTime(at, journaldates::utcOffsetAt(at));
    };
    if (c.json) {
        nlohmann::json j = offcutJson(o);
        nlohmann::json changes = nlohmann::json::array();
        for (const OffcutChange& h : history)
            changes.push_back({{"state", h.state},
                               {"place", h.place},
                               {"note", h.note},
                               {"at", journaldates::isoTime(h.at, journaldates::utcOffsetAt(h.at))},
                               {"by", h.by}});
        j["history"] = changes;
        std::cout << dumped(j);
        return kExitOk;
    }
    std::cout << "Остаток " << OffcutStore::idText(o.id) << '\n'
              << (o.sheet ? "Лист: " : "Хлыст: ") << whatText(o) << ", " << sizeText(o) << '\n'
              << "Место: " << o.place << '\n'
              << "Состояние: " << o.state << '\n';
    if (o.fromOrder != 0)
        std::cout << "Из заказа: " << o.fromOrder << '\n';
    std::cout << "История:\n";
    for (const OffcutChange& h : history)
        std::cout << "  " << when(h.at) << "  " << h.state << "  " << h.place << "  " << h.by
                  << (h.note.empty() ? "" : "  " + h.note) << '\n';
    return kExitOk;
}

} // namespace

void checkOffcutCommand(const Command& c) {
    if (c.words.size() < 2)
        throw ArgumentError{std::string("ожидается: journal ") + kForms};
    const std::string& verb = c.words[1];
    if (verb == "list") {
        expectWords(c, 2, "offcuts list [--article А] [--color Ц] [--material М] [--state С]");
        allowOptions(c, {"--article", "--color", "--material", "--state"}, true);
        if (c.options.count("--state") && !offcutstate::isKnown(c.option("--state")))
            throw ArgumentError{"неизвестное состояние остатка: " + c.option("--state") +
                                " (На складе, Зарезервирован, Использован, Списан)"};
    } else if (verb == "show") {
        expectWords(c, 3, "offcuts show ID");
        allowOptions(c, {}, true);
        offcutId(c.words[2]);
    } else if (verb == "add") {
        expectWords(c, 2, "offcuts add ...");
        typedOffcut(c);
    } else if (verb == "scrap") {
        expectWords(c, 3, "offcuts scrap ID [--note ТЕКСТ]");
        allowOptions(c, {"--note"}, false);
        offcutId(c.words[2]);
    } else if (verb == "move") {
        expectWords(c, 3, "offcuts move ID --place МЕСТО");
        allowOptions(c, {"--place"}, false);
        offcutId(c.words[2]);
        if (!c.options.count("--place"))
            throw ArgumentError{"укажите новое место: --place"};
    } else {
        throw ArgumentError{"неизвестная команда склада остатков: " + verb};
    }
}

int runOffcutCommand(Journal& journal, const Command& c, const std::string& by) {
    const std::string& verb = c.words[1];
    if (verb == "list")
        return list(journal, c);
    if (verb == "show")
        return show(journal, c);
    OffcutStore store = journal.offcuts();
    if (verb == "add") {
        std::cout << OffcutStore::idText(store.add(typedOffcut(c), by)) << '\n';
        return kExitOk;
    }
    if (verb == "scrap")
        store.scrap(offcutId(c.words[2]), by, c.option("--note"));
    else
        store.move(offcutId(c.words[2]), c.option("--place"), by);
    return kExitOk;
}

} // namespace journalcli
