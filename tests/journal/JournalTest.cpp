// The journal's own behaviour, the same on SQLite and PostgreSQL: placing and numbering, reading
// back, status history, searches, sums and the monthly report, texts as typed, schema versions.

#include "journal/JournalBackend.h"

#include "journal/JournalConnection.h"
#include "journal/JournalDates.h"
#include "journal/JournalError.h"
#include "journal/JournalSchema.h"

#include <algorithm>
#include <stdexcept>

namespace {

std::vector<int64_t> numbersOf(const std::vector<JournalOrder>& orders) {
    std::vector<int64_t> numbers;
    for (const JournalOrder& o : orders)
        numbers.push_back(o.number);
    return numbers;
}

OrderFilter finding(const std::string& text) {
    OrderFilter f;
    f.find = text;
    f.descending = false;
    return f;
}

} // namespace

class JournalTest : public JournalBackendTest {};
TAV_ON_BOTH_BACKENDS(JournalTest);

TEST_P(JournalTest, NumbersContinueFromTheNumberFileAndAFailedPlacingUsesNone) {
    Journal journal(address());
    EXPECT_EQ(journal.nextNumber(41), 41);
    EXPECT_EQ(placeSample(journal, sampleOrder("Иванов", "1"), 41), 41);
    // Once the journal counts, the number file's number no longer matters.
    EXPECT_EQ(placeSample(journal, sampleOrder("Петров", "2"), 7), 42);
    EXPECT_EQ(placeSample(journal, sampleOrder("Сидоров", "3"), 500), 43);

    EXPECT_THROW(journal.place(sampleOrder("Отказ", "4"), "[]", 1,
                               [](JournalOrder&) -> std::string {
                                   throw std::runtime_error("the sketch could not be saved");
                               }),
                 std::runtime_error);
    EXPECT_THROW(journal.order(44), JournalError);
    EXPECT_EQ(journal.nextNumber(1), 44);
    EXPECT_EQ(placeSample(journal, sampleOrder("Кузнецов", "5")), 44);
    EXPECT_EQ(journal.summary({}).count, 4);
}

TEST_P(JournalTest, PlacedOrderReadsBackWithDocumentsAndHistory) {
    JournalOrder order = sampleOrder("Иванова Мария", "+7 (912) 345-67-89", 1234567);
    order.discountKopecks = 12345;
    order.assemblyKopecks = 150000;
    order.deliveryKopecks = 50000;
    order.sumKopecks = 1046912;
    // Money beyond 32 bits keeps every kopeck.
    order.totalKopecks = int64_t{9000000000000};
    std::string sketch("TAV\0\x01\xff\x80 binary", 14);
    const int64_t number = [&] {
        Journal journal(address());
        return journal.place(order, R"([{"code":"A1"}])", 7, [&](JournalOrder& placed) {
            placed.filePath = "/home/shop/00007.tav";
            return sketch;
        });
    }();

    Journal journal(address()); // opened again: everything came from the database
    const JournalOrder read = journal.order(number);
    EXPECT_EQ(read.number, 7);
    EXPECT_EQ(read.status, "Принят");
    EXPECT_EQ(read.filePath, "/home/shop/00007.tav");
    EXPECT_EQ(read.totalKopecks, int64_t{9000000000000});
    EXPECT_EQ(read.utcOffset, journaldates::utcOffsetAt(read.placedAt));
    JournalOrder expected = order;
    expected.number = 7;
    expected.placedAt = read.placedAt;
    expected.utcOffset = read.utcOffset;
    expected.status = "Принят";
    expected.filePath = read.filePath;
    EXPECT_NE(read.customerId, 0); // linked to the customer made for it
    expected.customerId = read.customerId;
    EXPECT_EQ(read.revision, 1);
    EXPECT_EQ(read, expected);
    EXPECT_EQ(journal.documents(number).sketch, sketch);
    EXPECT_EQ(journal.documents(number).billJson, R"([{"code":"A1"}])");

    journal.setStatus(number, "В производстве", "Смирнов");
    journal.setStatus(number, "Готов", "Смирнов");
    EXPECT_EQ(journal.order(number).status, "Готов");
    const std::vector<StatusChange> history = journal.history(number);
    ASSERT_EQ(history.size(), 3u);
    EXPECT_EQ(history[0].status, "Принят");
    EXPECT_EQ(history[0].by, "Петрова");
    EXPECT_EQ(history[2].status, "Готов");
    EXPECT_EQ(history[2].by, "Смирнов");

    // Unknown orders and statuses are refused without a change.
    auto kindOf = [](auto&& call) {
        try {
            call();
        } catch (const JournalError& e) {
            return e.kind();
        }
        return JournalError::Failed;
    };
    EXPECT_EQ(kindOf([&] { journal.order(8); }), JournalError::NoSuchOrder);
    EXPECT_EQ(kindOf([&] { journal.documents(8); }), JournalError::NoSuchOrder);
    EXPECT_EQ(kindOf([&] { journal.setStatus(8, "Готов", "x"); }), JournalError::NoSuchOrder);
    EXPECT_THROW(journal.setStatus(number, "Потерян", "x"), JournalError);
    EXPECT_EQ(journal.history(number).size(), 3u);
}

TEST_P(JournalTest, FindsByAnyPartOfNumberCustomerOrPhone) {
    Journal journal(address());
    placeSample(journal, sampleOrder("Ёлкина Анна", "+7 (912) 345-67-89"), 98); // 98
    placeSample(journal, sampleOrder("ООО \"Шкаф\"", "8-800-100-20-30"));       // 99
    placeSample(journal, sampleOrder("Smith John", "доб. 4512"));               // 100
    placeSample(journal, sampleOrder("50%_скидка\\клиент", "0"));               // 101

    const struct {
        const char* find;
        std::vector<int64_t> numbers;
    } cases[] = {
        {"ёлки", {98}},         // Cyrillic, any case, Ё included
        {"ЁЛКИНА АН", {98}},    //
        {"шкаф", {99}},         // inside quotes
        {"SMITH", {100}},       // Latin, any case
        {"345-67", {98}},       // the phone as typed
        {"3456789", {98}},      // the phone's digits alone
        {"912 345", {98}},      //
        {"ДОБ. 451", {100}},    // letters in a phone
        {"00099", {99}},        // the number as shown
        {"10", {99, 100, 101}}, // part of a number, or of 8-800-100-20-30's digits
        {"50%", {101}},         // % and _ are letters here, not wildcards
        {"%", {101}},           //
        {"_", {101}},           //
        {"\\кл", {101}},        //
        {"нет такого", {}},     //
    };
    for (const auto& c : cases) {
        const std::vector<int64_t>& expected = c.numbers;
        EXPECT_EQ(numbersOf(journal.list(finding(c.find))), expected) << c.find;
        EXPECT_EQ(journal.summary(finding(c.find)).count, static_cast<int64_t>(expected.size()))
            << c.find;
    }
}

TEST_P(JournalTest, FiltersByDateAndStatusSortsAndSums) {
    Journal journal(address());
    const int64_t day = *journaldates::localDayStart(2026, 3, 10);
    const struct {
        const char* customer;
        int dayOffset;
        int64_t total;
        const char* system;
    } orders[] = {
        {"борисов", 0, 300000, "Ловен"},   // 1: typed in small letters, sorts among the Б
        {"Алексеев", 1, 100000, "Тавро"},  // 2
        {"Васильев", 2, 200000, "Ловен"},  // 3
        {"Григорьев", 40, 50000, "Тавро"}, // 4: next month
    };
    for (const auto& o : orders) {
        JournalOrder order = sampleOrder(o.customer, "1", o.total, o.system);
        order.placedAt = day + o.dayOffset * 86400 + 3600;
        placeSample(journal, order);
    }
    journal.setStatus(3, "Отменён", "Петрова");

    OrderFilter f;
    f.from = journaldates::parseDay("2026-03-11");
    f.to = journaldates::parseDay("2026-03-12", true);
    EXPECT_EQ(numbersOf(journal.list(f)), (std::vector<int64_t>{3, 2}));
    f.status = "Отменён";
    EXPECT_EQ(numbersOf(journal.list(f)), (std::vector<int64_t>{3}));

    OrderFilter sorted;
    sorted.sort = OrderFilter::Column::Customer;
    sorted.descending = false;
    EXPECT_EQ(numbersOf(journal.list(sorted)), (std::vector<int64_t>{2, 1, 3, 4}));
    sorted.sort = OrderFilter::Column::Total;
    sorted.descending = true;
    EXPECT_EQ(numbersOf(journal.list(sorted)), (std::vector<int64_t>{1, 3, 2, 4}));
    sorted.limit = 2;
    sorted.offset = 1;
    EXPECT_EQ(numbersOf(journal.list(sorted)), (std::vector<int64_t>{3, 2}));
    // The sum line counts every order the filter selects, not only the screen shown.
    const OrderSummary all = journal.summary(sorted);
    EXPECT_EQ(all.count, 4);
    EXPECT_EQ(all.totalKopecks, 650000);

    // March without the cancelled order, by system and by salesperson.
    const MonthlyReport march = journal.report(2026, 3);
    ASSERT_EQ(march.bySystem.size(), 2u);
    EXPECT_EQ(march.bySystem[0].name, "Ловен");
    EXPECT_EQ(march.bySystem[0].count, 1);
    EXPECT_EQ(march.bySystem[0].totalKopecks, 300000);
    EXPECT_EQ(march.bySystem[1].name, "Тавро");
    EXPECT_EQ(march.bySystem[1].totalKopecks, 100000);
    ASSERT_EQ(march.bySalesperson.size(), 1u);
    EXPECT_EQ(march.bySalesperson[0].name, "Петрова");
    EXPECT_EQ(march.all.count, 2);
    EXPECT_EQ(march.all.totalKopecks, 400000);
    EXPECT_EQ(journal.report(2026, 4).all.count, 1);
    EXPECT_EQ(journal.report(2026, 5).all.count, 0);
}

TEST_P(JournalTest, TextIsStoredAndFoundAsTyped) {
    const std::string awkward = "O'Brien; \"Шкаф-купе\" 😀 ; DROP TABLE orders; -- ' \\ % _";
    std::string longText;
    while (longText.size() < 30000) // 10,000 characters of 1, 2 and 4 bytes
        longText += "аz😀";
    longText = longText.substr(0, (longText.size() / 7) * 7);
    ASSERT_GE(QString::fromStdString(longText).toUcs4().size(), 10000);

    Journal journal(address());
    JournalOrder order = sampleOrder(awkward, "'; --");
    order.address = longText;
    order.salesperson = "Анна 😀";
    const int64_t number = placeSample(journal, order);
    const JournalOrder read = journal.order(number);
    EXPECT_EQ(read.customer, awkward);
    EXPECT_EQ(read.phone, "'; --");
    EXPECT_EQ(read.address, longText);
    EXPECT_EQ(read.salesperson, "Анна 😀");
    EXPECT_EQ(numbersOf(journal.list(finding("\"шкаф-КУПЕ\" 😀"))), std::vector<int64_t>{number});
    EXPECT_EQ(numbersOf(journal.list(finding("DROP TABLE orders;"))), std::vector<int64_t>{number});
    EXPECT_EQ(numbersOf(journal.list(finding("'; -"))), std::vector<int64_t>{number});
    JournalOrder longName = sampleOrder(longText, "2");
    const int64_t second = placeSample(journal, longName);
    EXPECT_EQ(journal.order(second).customer, longText);
    EXPECT_EQ(numbersOf(journal.list(finding(longText))), std::vector<int64_t>{second});
}

TEST_P(JournalTest, MigratesStepByStepKeepingOrdersAndRefusesANewerSchema) {
    {
        JournalConnection db(address());
        journalschema::migrate(db, 1);
        EXPECT_EQ(journalschema::versionOf(db), 1);
        db.run(
            "INSERT INTO orders (number, placed_at, utc_offset, salesperson, "
            "customer, customer_folded, phone, search_text, address, system, door_count, "
            "opening_width, opening_height, sum_kopecks, discount_kopecks, assembly_kopecks, "
            "delivery_kopecks, total_kopecks, status, file_path) VALUES (5, 0, 0, 'а', "
            "'Старый', 'старый', '1', 'старый', '', 'Ловен', 2, 1, 1, 7, 0, 0, 0, 7, 'Готов', '')");
        for (const char* status : {"Принят", "Готов"})
            db.run("INSERT INTO order_status_history (number, status, changed_at, changed_by) "
                   "VALUES (5, ?, 0, 'а')",
                   {QString::fromUtf8(status)});
    }
    {
        Journal journal(address()); // brings version 1 up to the latest
        EXPECT_EQ(journal.order(5).customer, "Старый");
        EXPECT_EQ(journal.order(5).balanceKopecks(), 7); // no payments yet
        EXPECT_EQ(numbersOf(journal.list(finding("стар"))), std::vector<int64_t>{5});
        // The earlier order got its customer and the history of what it had before.
        ASSERT_EQ(journal.customers().size(), 1u);
        EXPECT_EQ(journal.order(5).customerId, journal.customers()[0].id);
        const std::vector<HistoryEntry> earlier = journal.changes(5);
        ASSERT_EQ(earlier.size(), 2u);
        EXPECT_EQ(earlier[0].action, "Оформление");
        EXPECT_EQ(earlier[0].newValue, "Итого 0,07");
        EXPECT_EQ(earlier[1].oldValue, "Принят");
        EXPECT_EQ(earlier[1].newValue, "Готов");
        EXPECT_EQ(earlier[1].byName, "а");
        EXPECT_EQ(journal.nextNumber(6), 6);
        EXPECT_EQ(placeSample(journal, sampleOrder("Новый", "2"), 6), 6);
    }
    {
        JournalConnection db(address());
        EXPECT_EQ(journalschema::versionOf(db), journalschema::latestVersion());
        db.run("UPDATE journal_schema SET version = ?", {journalschema::latestVersion() + 1});
    }
    try {
        Journal journal(address());
        ADD_FAILURE() << "a newer journal was opened";
    } catch (const JournalError& e) {
        EXPECT_EQ(e.kind(), JournalError::NewerSchema);
        EXPECT_NE(std::string(e.what()).find("более новой версией"), std::string::npos);
    }
    JournalConnection db(address());
    EXPECT_EQ(journalschema::versionOf(db), journalschema::latestVersion() + 1);
}

TEST_P(JournalTest, APlacingRepeatedWithItsKeyAnswersWithTheFirstNumber) {
    Journal journal(address());
    int sketches = 0;
    auto sketchFor = [&](JournalOrder& o) {
        ++sketches;
        return "sketch of " + std::to_string(o.number);
    };
    const std::string key = "8d0f6c3e-7a41-4b7e-9d2a-1f4c5e6a7b80";
    const int64_t first = journal.place(sampleOrder("Соколов", "1"), "[]", 1, sketchFor, key);
    // The answer was lost; the seat places again with the same key.
    EXPECT_EQ(journal.place(sampleOrder("Соколов", "1"), "[]", 1, sketchFor, key), first);
    EXPECT_EQ(sketches, 1);
    EXPECT_EQ(journal.summary({}).count, 1);
    const auto placed = journal.placedWith(key);
    ASSERT_TRUE(placed.has_value());
    EXPECT_EQ(placed->number, first);
    EXPECT_EQ(placed->at, journal.order(first).placedAt);
    // Another key, or none, is another order.
    EXPECT_EQ(journal.place(sampleOrder("Соколов", "1"), "[]", 1, sketchFor, key + "-2"),
              first + 1);
    EXPECT_EQ(journal.place(sampleOrder("Соколов", "1"), "[]", 1, sketchFor), first + 2);
    EXPECT_FALSE(journal.placedWith("unknown").has_value());
    // A placing that fails records no key: its repeat places.
    EXPECT_THROW(journal.place(
                     sampleOrder("Яковлев", "2"), "[]", 1,
                     [](JournalOrder&) -> std::string { throw std::runtime_error("x"); },
                     "failed-once"),
                 std::runtime_error);
    EXPECT_EQ(journal.place(sampleOrder("Яковлев", "2"), "[]", 1, sketchFor, "failed-once"),
              first + 3);
}
