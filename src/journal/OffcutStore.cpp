#include "journal/OffcutStore.h"

#include "journal/JournalConnection.h"
#include "journal/JournalError.h"
#include "journal/JournalHistory.h"
#include "journal/JournalRows.h"
#include "text/CaseFold.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

const QString kCounter = "offcut";

const QString kColumns = "id, kind, article, color, length, material_group, material, width, "
                         "height, can_turn, from_order, from_batch, place, state, batch, "
                         "added_at, added_by";

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

std::string ss(const QVariant& v) {
    return v.toString().toStdString();
}

JournalOffcut offcutAt(const QSqlQuery& q) {
    JournalOffcut o;
    o.id = q.value(0).toLongLong();
    o.sheet = q.value(1).toString() == "sheet";
    o.article = ss(q.value(2));
    o.color = ss(q.value(3));
    o.length = q.value(4).toInt();
    o.materialGroup = ss(q.value(5));
    o.material = ss(q.value(6));
    o.width = q.value(7).toInt();
    o.height = q.value(8).toInt();
    o.canTurn = q.value(9).toInt() != 0;
    o.fromOrder = q.value(10).toLongLong();
    o.fromBatch = q.value(11).toLongLong();
    o.place = ss(q.value(12));
    o.state = ss(q.value(13));
    o.batch = q.value(14).toLongLong();
    o.addedAt = q.value(15).toLongLong();
    o.addedBy = ss(q.value(16));
    return o;
}

[[noreturn]] void noSuchOffcut(int64_t id) {
    throw JournalError(JournalError::NoSuchOffcut,
                       "Остаток " + OffcutStore::idText(id) + " не найден в журнале");
}

// A size the store keeps: a bar up to 12 m, a sheet up to 6 × 3.5 m either way.
// An offcut's change, in its own history and the journal's.
void recordChange(JournalConnection& db, int64_t id, const std::string& oldState,
                  const std::string& state, const std::string& place, const std::string& note,
                  int64_t at, const std::string& by) {
    db.run("INSERT INTO offcut_history (offcut, state, place, note, changed_at, changed_by) "
           "VALUES (?, ?, ?, ?, ?, ?)",
           {qlonglong(id), qs(state), qs(place), qs(note), qlonglong(at), qs(by)});
    HistoryEntry e;
    e.at = at;
    e.action = journalhistory::kOffcut;
    e.subject = "Остаток " + OffcutStore::idText(id);
    e.oldValue = oldState;
    e.newValue = place.empty() ? state : state + ", " + place;
    e.note = note;
    journalhistory::record(db, e, by);
}

void checkSizes(const JournalOffcut& o) {
    const bool ok = o.sheet ? o.width > 0 && o.height > 0 && std::max(o.width, o.height) <= 60000 &&
                                  std::min(o.width, o.height) <= 35000 && !o.material.empty()
                            : o.length > 0 && o.length <= 120000 && !o.article.empty();
    if (!ok)
        throw JournalError(JournalError::Failed,
                           o.sheet ? "Остаток листа: укажите материал и размер до 6000 x 3500 мм"
                                   : "Остаток хлыста: укажите артикул и длину до 12000 мм");
}

} // namespace

std::string OffcutStore::idText(int64_t id) {
    char text[32];
    std::snprintf(text, sizeof text, "%06lld", static_cast<long long>(id));
    return std::string("О-") + text;
}

std::optional<int64_t> OffcutStore::parseId(std::string_view typed) {
    std::string t = text::trim(typed);
    for (std::string_view prefix : {"О-", "о-", "O-", "o-", "О", "о", "O", "o"}) {
        if (t.starts_with(prefix)) {
            t.erase(0, prefix.size());
            break;
        }
    }
    if (t.empty() || t.size() > 15 || t.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int64_t id = std::stoll(t);
    return id > 0 ? std::optional<int64_t>(id) : std::nullopt;
}

int64_t OffcutStore::add(JournalOffcut offcut, const std::string& by) {
    checkSizes(offcut);
    return db_.inWrite(
        [&] { return addWithin(std::move(offcut), by, static_cast<int64_t>(std::time(nullptr))); });
}

int64_t OffcutStore::addWithin(JournalOffcut o, const std::string& by, int64_t at) {
    checkSizes(o);
    o.id = db_.takeNumber(kCounter, 1);
    o.state = std::string(offcutstate::kOnStock);
    o.batch = 0;
    o.addedAt = at;
    o.addedBy = by;
    if (o.sheet) {
        o.article.clear();
        o.color.clear();
        o.length = 0;
    } else {
        o.materialGroup.clear();
        o.material.clear();
        o.width = o.height = 0;
        o.canTurn = false;
    }
    db_.run("INSERT INTO offcuts (" + kColumns +
                ", article_folded, color_folded, material_folded) VALUES "
                "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
            {qlonglong(o.id),
             o.sheet ? "sheet" : "bar",
             qs(o.article),
             qs(o.color),
             o.length,
             qs(o.materialGroup),
             qs(o.material),
             o.width,
             o.height,
             o.canTurn ? 1 : 0,
             qlonglong(o.fromOrder),
             qlonglong(o.fromBatch),
             qs(o.place),
             qs(o.state),
             qlonglong(o.batch),
             qlonglong(o.addedAt),
             qs(o.addedBy),
             qs(journalrows::folded(o.article)),
             qs(journalrows::folded(o.color)),
             qs(journalrows::folded(o.material))});
    recordChange(db_, o.id, {}, o.state, o.place, {}, at, by);
    return o.id;
}

JournalOffcut OffcutStore::get(int64_t id) {
    return getWithin(id);
}

JournalOffcut OffcutStore::getWithin(int64_t id) {
    QSqlQuery q = db_.run("SELECT " + kColumns + " FROM offcuts WHERE id = ?", {qlonglong(id)});
    if (!q.next())
        noSuchOffcut(id);
    return offcutAt(q);
}

std::vector<OffcutChange> OffcutStore::history(int64_t id) {
    getWithin(id); // an unknown id is an error, not an empty history
    QSqlQuery q = db_.run("SELECT state, place, note, changed_at, changed_by FROM offcut_history "
                          "WHERE offcut = ? ORDER BY id",
                          {qlonglong(id)});
    std::vector<OffcutChange> out;
    while (q.next())
        out.push_back({ss(q.value(0)), ss(q.value(1)), ss(q.value(2)), q.value(3).toLongLong(),
                       ss(q.value(4))});
    return out;
}

namespace {

QString whereOf(const OffcutFilter& f, QVariantList& values) {
    QStringList terms;
    auto equal = [&](const char* column, const std::string& value) {
        if (value.empty())
            return;
        terms << QString(column) + " = ?";
        values << qs(journalrows::folded(text::trim(value)));
    };
    equal("article_folded", f.article);
    equal("color_folded", f.color);
    equal("material_folded", f.material);
    if (f.state) {
        terms << "state = ?";
        values << qs(*f.state);
    }
    return terms.isEmpty() ? QString() : " WHERE " + terms.join(" AND ");
}

} // namespace

std::vector<JournalOffcut> OffcutStore::list(const OffcutFilter& filter) {
    QVariantList values;
    const QString where = whereOf(filter, values);
    QSqlQuery q = db_.run("SELECT " + kColumns + " FROM offcuts" + where + " ORDER BY id", values);
    std::vector<JournalOffcut> out;
    while (q.next())
        out.push_back(offcutAt(q));
    return out;
}

OffcutTotals OffcutStore::totals(const OffcutFilter& filter) {
    // Grouped in the program, not the database: the names are shown as first typed, and a
    // filter's list is as long as the rack, not the order history.
    OffcutTotals t;
    auto add = [](std::vector<OffcutTotals::Line>& lines, const std::string& name, int64_t amount) {
        for (OffcutTotals::Line& l : lines) {
            if (text::equalsNoCase(l.name, name)) {
                ++l.count;
                l.amount += amount;
                return;
            }
        }
        lines.push_back({name, 1, amount});
    };
    for (const JournalOffcut& o : list(filter)) {
        if (o.sheet)
            add(t.sheets, o.materialGroup.empty() ? o.material : o.materialGroup + " " + o.material,
                int64_t{o.width} * o.height);
        else
            add(t.bars, o.color.empty() ? o.article : o.article + " " + o.color, o.length);
    }
    return t;
}

bool OffcutStore::changeWithin(int64_t id, std::string_view from, std::string_view to,
                               int64_t batch, const std::string& by, int64_t at,
                               const std::string& note) {
    QSqlQuery q =
        db_.run("UPDATE offcuts SET state = ?, batch = ? WHERE id = ? AND state = ?",
                {qs(std::string(to)), qlonglong(batch), qlonglong(id), qs(std::string(from))});
    if (q.numRowsAffected() < 1)
        return false;
    const JournalOffcut o = getWithin(id);
    recordChange(db_, id, std::string(from), std::string(to), o.place, note, at, by);
    return true;
}

void OffcutStore::scrap(int64_t id, const std::string& by, const std::string& note) {
    db_.inWrite([&] {
        const JournalOffcut o = getWithin(id);
        if (!changeWithin(id, offcutstate::kOnStock, offcutstate::kScrapped, 0, by,
                          static_cast<int64_t>(std::time(nullptr)), note))
            throw JournalError(JournalError::Failed, "Остаток " + idText(id) + " не на складе (" +
                                                         o.state +
                                                         "): списать можно только остаток на "
                                                         "складе");
    });
}

void OffcutStore::move(int64_t id, const std::string& place, const std::string& by) {
    db_.inWrite([&] {
        const JournalOffcut o = getWithin(id);
        if (o.state != offcutstate::kOnStock && o.state != offcutstate::kReserved)
            throw JournalError(JournalError::Failed,
                               "Остаток " + idText(id) + " " + text::toLower(o.state) +
                                   ": переместить можно только остаток на складе");
        db_.run("UPDATE offcuts SET place = ? WHERE id = ?", {qs(place), qlonglong(id)});
        recordChange(db_, id, o.state + ", " + o.place, o.state, place, {},
                     static_cast<int64_t>(std::time(nullptr)), by);
    });
}
