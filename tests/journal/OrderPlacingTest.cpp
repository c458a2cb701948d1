// Placing the open project's order: the journal's number on the card, in the file's name and in
// the number file; a placing that cannot save its sketch leaves everything as it was.

#include "journal/JournalBackend.h"

#include "journal/JournalError.h"
#include "journal/OrderPlacing.h"
#include "journal/PendingPlacings.h"
#include "model/OrderNumberFile.h"
#include "model/SketchFile.h"
#include "support/OutputTestSupport.h"

using namespace outtest;

class OrderPlacingTest : public JournalBackendTest {
protected:
    void SetUp() override {
        world.project->order.clientName = "Иванов";
        world.project->order.orderNumber = "00005";
        writeFile(world.base() / "config" / "number.txt", "5");
    }
    World world;
    OrderNumberFile numbers{world.base(), {}};
};
TAV_ON_BOTH_BACKENDS(OrderPlacingTest);

TEST_P(OrderPlacingTest, TheFileOfferedUnderATakenNumberIsNamedAfterTheOrdersNumber) {
    Journal journal(address());
    EXPECT_EQ(orderplacing::nextNumber(journal, numbers), 5);
    // Another seat places number 5 while this one's save dialog is open.
    placeSample(journal, sampleOrder("Другой", "1"), 5);

    const std::filesystem::path offered = world.dir / "00005.tav";
    const int64_t number =
        orderplacing::place(journal, *world.project, numbers, "Анна", offered, "00005");
    EXPECT_EQ(number, 6);
    EXPECT_EQ(world.project->order.orderNumber, "00006");
    EXPECT_FALSE(std::filesystem::exists(offered));
    const std::filesystem::path saved = world.dir / "00006.tav";
    EXPECT_EQ(journal.order(6).filePath, saved.string());
    EXPECT_EQ(journal.order(6).customer, "Иванов");
    EXPECT_EQ(journal.order(6).totalKopecks, world.project->grandTotal());
    EXPECT_EQ(journal.documents(6).sketch, readFile(saved));
    EXPECT_EQ(journal.documents(6).sketch, *SketchFile::toBytes(*world.project));
    EXPECT_EQ(readFile(numbers.programFile()), "7");

    // A name of the salesperson's own choosing stays as chosen.
    const std::filesystem::path chosen = world.dir / "Иванов.tav";
    EXPECT_EQ(orderplacing::place(journal, *world.project, numbers, "Анна", chosen, "00007"), 7);
    EXPECT_TRUE(std::filesystem::exists(chosen));
}

TEST_P(OrderPlacingTest, ASketchThatCannotBeSavedPlacesNothing) {
    Journal journal(address());
    const OrderInfo before = world.project->order;
    try {
        orderplacing::place(journal, *world.project, numbers, "Анна",
                            world.dir / "нет" / "00005.tav");
        ADD_FAILURE() << "placed without its sketch";
    } catch (const JournalError& e) {
        EXPECT_EQ(e.kind(), JournalError::NotSaved);
        EXPECT_NE(std::string(e.what()).find("Ошибка сохранения файла"), std::string::npos);
    }
    EXPECT_EQ(world.project->order, before);
    EXPECT_EQ(journal.summary({}).count, 0);
    EXPECT_EQ(orderplacing::nextNumber(journal, numbers), 5);
    EXPECT_EQ(readFile(numbers.programFile()), "5");
}

// Orders kept while the journal was away: placed in the order they were kept, each once with
// its key (also when the program stopped after a placing but before its entry went), each
// number written into its file; an entry whose sketch is gone stays with its reason.
TEST_P(OrderPlacingTest, OrdersKeptWhileTheJournalWasAwayArePlacedOnceIntoTheirFiles) {
    const PendingPlacings store(world.dir / "pending");
    auto keep = [&](const std::string& key, const std::filesystem::path& file,
                    const std::string& offered, int64_t since) {
        if (std::filesystem::is_directory(file.parent_path())) {
            EXPECT_EQ(SketchFile::write(*world.project, file), SketchFile::WriteOk);
        }
        store.add({key, file, "Анна 100%\nсмена 2", offered, since});
    };
    world.project->order.clientName = "Петров";
    keep("b-key", world.dir / "Петров.tav", "00005", 200);
    keep("a-key", world.dir / "00005.tav", "00005", 100);
    keep("c-key", world.dir / "нет" / "потерян.tav", "00005", 300);
    ASSERT_EQ(store.list().size(), 3u);
    EXPECT_EQ(store.list()[0].key, "a-key");
    EXPECT_EQ(store.list()[0].salesperson, "Анна 100%\nсмена 2");
    // A file in the folder that is not an entry of ours is left alone.
    writeFile(world.dir / "pending" / "d-key.pending", "key=other\nsketch=/x.tav\n");
    EXPECT_THROW(store.add({"../x", world.dir / "x.tav", "", "", 1}), std::runtime_error);

    Journal journal(address());
    // Another seat took number 5 meanwhile; the first kept order was placed before the program
    // stopped, its entry still there.
    placeSample(journal, sampleOrder("Другой", "1"), 5);
    {
        Project first(*world.catalog);
        ASSERT_EQ(SketchFile::read(first, world.dir / "00005.tav"), SketchFile::ReadOk);
        EXPECT_EQ(orderplacing::place(journal, first, numbers, "Анна", world.dir / "00005.tav",
                                      "00005", "a-key"),
                  6);
    }

    const PendingPlacings::Outcome outcome = store.placeAll(journal, *world.catalog, numbers);
    ASSERT_EQ(outcome.placed.size(), 2u);
    EXPECT_FALSE(outcome.journalAway);
    EXPECT_EQ(outcome.placed[0].number, 6);
    EXPECT_EQ(outcome.placed[0].file, world.dir / "00006.tav");
    EXPECT_EQ(outcome.placed[1].number, 7);
    EXPECT_EQ(outcome.placed[1].file, world.dir / "Петров.tav");
    EXPECT_EQ(journal.summary({}).count, 3);
    EXPECT_EQ(journal.order(7).salesperson, "Анна 100%\nсмена 2");
    for (const auto& placed : outcome.placed) {
        Project back(*world.catalog);
        ASSERT_EQ(SketchFile::read(back, placed.file), SketchFile::ReadOk);
        EXPECT_EQ(back.order.orderNumber, orderplacing::numberText(placed.number));
    }
    ASSERT_EQ(outcome.problems.size(), 1u);
    ASSERT_EQ(store.list().size(), 1u);
    EXPECT_EQ(store.list()[0].key, "c-key");

    // A second round places nothing again.
    EXPECT_TRUE(store.placeAll(journal, *world.catalog, numbers).placed.empty());
    EXPECT_EQ(journal.summary({}).count, 3);
}
