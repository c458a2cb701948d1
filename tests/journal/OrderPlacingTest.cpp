// Placing the open project's order: the journal's number on the card, in the file's name and in
// the number file; a placing that cannot save its sketch leaves everything as it was.

#include "journal/JournalBackend.h"

#include "journal/JournalError.h"
#include "journal/OrderPlacing.h"
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
