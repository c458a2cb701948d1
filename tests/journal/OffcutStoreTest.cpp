// The offcut store and the batches of the journal, the same on SQLite and PostgreSQL: ids as
// typed and scanned, bars and sheets read back, filters in any case, totals, the states an
// offcut passes through with their history, and a batch started wholly or not at all.

#include "journal/JournalBackend.h"

#include "journal/BatchStore.h"
#include "journal/JournalError.h"
#include "journal/OffcutStore.h"

namespace {

JournalOffcut bar(const std::string& article, const std::string& color, int32_t length) {
    JournalOffcut o;
    o.article = article;
    o.color = color;
    o.length = length;
    return o;
}

JournalOffcut sheet(const std::string& material, int32_t width, int32_t height, bool canTurn) {
    JournalOffcut o;
    o.sheet = true;
    o.materialGroup = "Зеркала";
    o.material = material;
    o.width = width;
    o.height = height;
    o.canTurn = canTurn;
    return o;
}

std::vector<int64_t> idsOf(const std::vector<JournalOffcut>& offcuts) {
    std::vector<int64_t> ids;
    for (const JournalOffcut& o : offcuts)
        ids.push_back(o.id);
    return ids;
}

} // namespace

TEST(OffcutIds, AreShortToTypeAndReadAsAScannerOrAPersonTypesThem) {
    EXPECT_EQ(OffcutStore::idText(123), "О-000123");
    EXPECT_EQ(OffcutStore::idText(1234567), "О-1234567");
    const struct {
        const char* typed;
        int64_t id; // 0: refused
    } cases[] = {
        {"О-000123", 123}, {"о-123", 123}, {"O-123", 123}, {" 123 ", 123},
        {"О000123", 123},  {"О-", 0},      {"О-12a", 0},   {"-5", 0},
        {"0", 0},          {"", 0},        {"Б-123", 0},
    };
    for (const auto& c : cases) {
        const auto id = OffcutStore::parseId(c.typed);
        EXPECT_EQ(id.value_or(0), c.id) << c.typed;
    }
}

class OffcutStoreTest : public JournalBackendTest {};
TAV_ON_BOTH_BACKENDS(OffcutStoreTest);

TEST_P(OffcutStoreTest, BarsAndSheetsAreKeptFilteredAndTotalled) {
    Journal journal(address());
    OffcutStore store = journal.offcuts();
    JournalOffcut kept = bar("ПР-101", "Серебро", 3525);
    kept.place = "стеллаж 3";
    kept.fromOrder = 41;
    const int64_t first = store.add(kept, "Петрова");
    const int64_t second = store.add(bar("пр-101", "серебро", 1200), "Петрова");
    const int64_t third = store.add(bar("ПР-101", "Бронза", 800), "Иванов");
    const int64_t glass = store.add(sheet("Серебро", 6000, 12005, false), "Иванов");
    EXPECT_EQ((std::vector<int64_t>{first + 1, first + 2, first + 3}),
              (std::vector<int64_t>{second, third, glass}));

    const JournalOffcut read = store.get(first);
    EXPECT_FALSE(read.sheet);
    EXPECT_EQ(read.article, "ПР-101");
    EXPECT_EQ(read.length, 3525);
    EXPECT_EQ(read.place, "стеллаж 3");
    EXPECT_EQ(read.fromOrder, 41);
    EXPECT_EQ(read.state, offcutstate::kOnStock);
    EXPECT_EQ(read.addedBy, "Петрова");
    const JournalOffcut plate = store.get(glass);
    EXPECT_TRUE(plate.sheet);
    EXPECT_EQ(plate.width, 6000);
    EXPECT_EQ(plate.height, 12005);
    EXPECT_FALSE(plate.canTurn);
    EXPECT_EQ(plate.materialGroup, "Зеркала");

    // An article and colour match as typed in any case; the material is the sheet's own.
    OffcutFilter f;
    f.article = "пр-101";
    f.color = "СЕРЕБРО";
    EXPECT_EQ(idsOf(store.list(f)), (std::vector<int64_t>{first, second}));
    OffcutFilter m;
    m.material = "серебро";
    EXPECT_EQ(idsOf(store.list(m)), std::vector<int64_t>{glass});

    const OffcutTotals t = store.totals({});
    ASSERT_EQ(t.bars.size(), 2u);
    EXPECT_EQ(t.bars[0].name, "ПР-101 Серебро");
    EXPECT_EQ(t.bars[0].count, 2);
    EXPECT_EQ(t.bars[0].amount, 4725);
    EXPECT_EQ(t.bars[1].amount, 800);
    ASSERT_EQ(t.sheets.size(), 1u);
    EXPECT_EQ(t.sheets[0].amount, int64_t{6000} * 12005);

    // Sizes the store cannot hold are refused, and nothing is recorded.
    EXPECT_THROW(store.add(bar("ПР-101", "", 0), "Петрова"), JournalError);
    EXPECT_THROW(store.add(bar("", "", 100), "Петрова"), JournalError);
    EXPECT_THROW(store.add(sheet("Серебро", 40000, 40000, true), "Петрова"), JournalError);
    EXPECT_EQ(store.list({}).size(), 4u);
}

TEST_P(OffcutStoreTest, StatesMoveOneWayAndEveryChangeIsInTheHistory) {
    Journal journal(address());
    OffcutStore store = journal.offcuts();
    const int64_t a = store.add(bar("ПР-101", "Серебро", 3525), "Петрова");
    const int64_t b = store.add(bar("ПР-101", "Серебро", 2000), "Петрова");

    store.move(a, "стеллаж 5", "Иванов");
    store.scrap(a, "Иванов", "скол на торце");
    EXPECT_EQ(store.get(a).state, offcutstate::kScrapped);
    EXPECT_EQ(store.get(a).place, "стеллаж 5");
    // A scrapped offcut can be neither scrapped again nor moved.
    EXPECT_THROW(store.scrap(a, "Иванов", ""), JournalError);
    EXPECT_THROW(store.move(a, "стеллаж 1", "Иванов"), JournalError);
    const std::vector<OffcutChange> h = store.history(a);
    ASSERT_EQ(h.size(), 3u);
    EXPECT_EQ(h[0].state, offcutstate::kOnStock);
    EXPECT_EQ(h[0].by, "Петрова");
    EXPECT_EQ(h[1].place, "стеллаж 5");
    EXPECT_EQ(h[2].state, offcutstate::kScrapped);
    EXPECT_EQ(h[2].note, "скол на торце");
    EXPECT_EQ(h[2].by, "Иванов");

    // A batch reserves from stock only: the second seat to try finds it taken.
    EXPECT_TRUE(
        store.changeWithin(b, offcutstate::kOnStock, offcutstate::kReserved, 7, "Петрова", 1000));
    EXPECT_FALSE(
        store.changeWithin(b, offcutstate::kOnStock, offcutstate::kReserved, 8, "Иванов", 1001));
    EXPECT_EQ(store.get(b).batch, 7);
    EXPECT_THROW(store.scrap(b, "Иванов", ""), JournalError);
    EXPECT_EQ(store.history(b).size(), 2u);
    OffcutFilter onStock;
    onStock.state = std::string(offcutstate::kOnStock);
    EXPECT_TRUE(store.list(onStock).empty());

    try {
        store.get(99);
        ADD_FAILURE() << "an unknown offcut was read";
    } catch (const JournalError& e) {
        EXPECT_EQ(e.kind(), JournalError::NoSuchOffcut);
        EXPECT_NE(std::string(e.what()).find("О-000099"), std::string::npos);
    }
    EXPECT_THROW(store.history(99), JournalError);
}

TEST_P(OffcutStoreTest, ABatchStartsWhollyOrNotAtAllAndCancellingGivesEverythingBack) {
    Journal journal(address());
    const int64_t a = placeSample(journal, sampleOrder("Соколов", "1"));
    const int64_t b = placeSample(journal, sampleOrder("Яковлев", "2"));
    const int64_t c = placeSample(journal, sampleOrder("Борисов", "3"));
    OffcutStore store = journal.offcuts();
    const int64_t rack = store.add(bar("KL001", "Белый глянец", 26000), "Петрова");
    BatchStore batches = journal.batches();

    BatchStart first{{a, b}, "{}", {rack}, {bar("KL001", "Белый глянец", 3520)}};
    const int64_t id = batches.start(first, "Петрова");
    EXPECT_EQ(journal.order(a).status, "В производстве");
    EXPECT_EQ(journal.history(b).back().status, "В производстве");
    EXPECT_EQ(store.get(rack).state, offcutstate::kUsed);
    EXPECT_EQ(store.get(rack).batch, id);
    const std::vector<JournalOffcut> kept = batches.kept(id);
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].state, offcutstate::kOnStock);
    EXPECT_EQ(kept[0].fromBatch, id);
    EXPECT_EQ(batches.get(id).orders, (std::vector<int64_t>{a, b}));

    // The rack's offcut is gone: a second batch planned on it starts nothing at all.
    try {
        batches.start({{c}, "{}", {rack}, {bar("KL001", "Белый глянец", 4000)}}, "Иванов");
        ADD_FAILURE() << "a used offcut was used again";
    } catch (const JournalError& e) {
        EXPECT_EQ(e.kind(), JournalError::Conflict);
    }
    EXPECT_EQ(journal.order(c).status, "Принят");
    EXPECT_EQ(batches.list().size(), 1u);
    EXPECT_EQ(store.list({}).size(), 2u);
    // An order in a batch is not started again.
    EXPECT_THROW(batches.start({{a}, "{}", {}, {}}, "Иванов"), JournalError);

    batches.cancel(id, "Петрова");
    EXPECT_EQ(journal.order(a).status, "Принят");
    EXPECT_EQ(journal.order(b).status, "Принят");
    EXPECT_EQ(store.get(rack).state, offcutstate::kOnStock);
    EXPECT_EQ(store.get(kept[0].id).state, offcutstate::kScrapped);
    EXPECT_EQ(batches.get(id).state, batchstate::kCancelled);
    EXPECT_THROW(batches.cancel(id, "Петрова"), JournalError);
    // Cancelled, its orders and offcut may go into another batch.
    const int64_t again = batches.start({{a, c}, "{}", {rack}, {}}, "Иванов");
    EXPECT_EQ(again, id + 1);
    EXPECT_EQ(store.get(rack).batch, again);
}
