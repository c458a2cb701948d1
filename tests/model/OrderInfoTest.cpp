#include "support/OutputTestSupport.h"

#include "model/AtomicFile.h"
#include "model/OrderInfo.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

using namespace outtest;

namespace {

std::string numberFor(const TempFolder& dir, const std::string& content) {
    writeFile(dir / "number.txt", content);
    return nextOrderNumber(dir / "number.txt");
}

} // namespace

TEST(OrderNumber, FileContentsGiveTheNextNumber) {
    TempFolder dir;
    EXPECT_EQ(nextOrderNumber(dir / "missing.txt"), "00001");
    EXPECT_EQ(numberFor(dir, "41"), "00041");
    EXPECT_EQ(numberFor(dir, "100000"), "10000"); // only the first five bytes count
    EXPECT_EQ(numberFor(dir, "7\r\n"), "00007");
    EXPECT_EQ(numberFor(dir, "  12"), "00012");
    EXPECT_EQ(numberFor(dir, "abc"), "00001");
    EXPECT_EQ(numberFor(dir, "0"), "00001");
    EXPECT_EQ(numberFor(dir, "-5"), "00001");
    EXPECT_EQ(numberFor(dir, ""), "00001");
    EXPECT_EQ(numberFor(dir, "123x9"), "00123");
    EXPECT_EQ(numberFor(dir, "     7"), "00001"); // the digit lies beyond the fifth byte
}

TEST(OrderNumber, PlacingAnOrderMovesTheFileOnlyForwards) {
    TempFolder dir;
    std::filesystem::path file = dir / "config" / "number.txt";
    std::filesystem::create_directories(file.parent_path());

    OrderInfo order;
    order.newOrder(file);
    EXPECT_EQ(order.orderNumber, "00001");
    EXPECT_FALSE(std::filesystem::exists(file)); // a new order only reads
    order.newOrder(file);
    EXPECT_EQ(order.orderNumber, "00001");
    EXPECT_TRUE(order.commitOrderNumber(file));
    EXPECT_EQ(readFile(file), "2");

    writeFile(file, "41");
    order.newOrder(file);
    EXPECT_EQ(order.orderNumber, "00041");
    EXPECT_TRUE(order.commitOrderNumber(file));
    EXPECT_EQ(readFile(file), "42");
    EXPECT_EQ(order.orderNumber, "00041"); // the record keeps its number

    order.orderNumber = "5"; // an older order placed again
    EXPECT_FALSE(order.commitOrderNumber(file));
    EXPECT_EQ(readFile(file), "42");

    order.orderNumber = "0500"; // typed above the stored number
    EXPECT_TRUE(order.commitOrderNumber(file));
    EXPECT_EQ(readFile(file), "501");

    // Nothing but the number file is left in the folder.
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(file.parent_path()))
        ++entries;
    EXPECT_EQ(entries, 1);

    // No config folder: the number cannot be stored. The caller is told so, and the rest of the
    // run still hands out numbers of their own.
    std::filesystem::path nowhere = dir / "none" / "number.txt";
    order.newOrder(nowhere);
    EXPECT_EQ(order.orderNumber, "00001");
    std::string failure;
    EXPECT_FALSE(order.commitOrderNumber(nowhere, &failure));
    EXPECT_EQ(failure.rfind("Ошибка сохранения файла " + nowhere.string() +
                                ": Нет такого файла или каталога",
                            0),
              0u)
        << failure;
    EXPECT_NE(failure.find("00001"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(nowhere.parent_path()));
    order.newOrder(nowhere);
    EXPECT_EQ(order.orderNumber, "00002");
    failure.clear();
    order.orderNumber = "00001"; // an older order placed again: nothing to store, nothing to say
    EXPECT_FALSE(order.commitOrderNumber(nowhere, &failure));
    EXPECT_EQ(failure, "");

    // The largest number cannot move the file past the integer range.
    order.orderNumber = "2147483647";
    EXPECT_FALSE(order.commitOrderNumber(file));
    EXPECT_EQ(readFile(file), "501");
}

TEST(OrderNumber, NewOrderClearsTheCardAndDatesItNow) {
    TempFolder dir;
    OrderInfo order;
    order.clientName = "Петров";
    order.address = "Москва";
    order.phone = "123";
    order.assemblyCost = 1500;
    order.deliveryCost = 300;
    int64_t before = std::time(nullptr);
    order.newOrder(dir / "number.txt");
    int64_t after = std::time(nullptr);
    EXPECT_EQ(order.clientName, "");
    EXPECT_EQ(order.address, "");
    EXPECT_EQ(order.phone, "");
    EXPECT_EQ(order.assemblyCost, 0);
    EXPECT_EQ(order.deliveryCost, 0);
    EXPECT_GE(order.orderDate, before);
    EXPECT_LE(order.orderDate, after);
    EXPECT_EQ(order.readyDate, order.orderDate);
}

TEST(OrderNumber, NumberAndDateTexts) {
    OrderInfo order;
    order.orderNumber = "7";
    EXPECT_EQ(order.orderNumberText(), "00007");
    order.orderNumber = "abc";
    EXPECT_EQ(order.orderNumberText(), "00000");
    order.orderNumber = "123456";
    EXPECT_EQ(order.orderNumberText(), "123456");
    EXPECT_EQ(leadingInteger("99999999999999"), 2147483647);
    EXPECT_EQ(leadingInteger("-99999999999999"), -2147483647 - 1);
    EXPECT_EQ(leadingInteger(" +15x"), 15);

    setenv("TZ", "UTC", 1);
    tzset();
    EXPECT_EQ(orderDateText(kOrderDate), "15.03.2026");
    EXPECT_EQ(orderDateText(0), "01.01.1970");
    EXPECT_EQ(orderDateText(INT64_MAX), "00.00.0");
}
