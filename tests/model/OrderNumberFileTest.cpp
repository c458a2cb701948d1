// Where the order number lives when the program folder cannot be written (an installed program).

#include "support/OutputTestSupport.h"

#include "model/OrderInfo.h"
#include "model/OrderNumberFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

using namespace outtest;
namespace fs = std::filesystem;

namespace {

OrderInfo placed(const OrderNumberFile& numbers) {
    OrderInfo order;
    order.newOrder(numbers.readPath());
    return order;
}

} // namespace

TEST(OrderNumberFile, FallsBackToTheUserFolderAndReadsItFirst) {
    TempFolder dir;
    // A program folder without config/ cannot take the number file.
    const OrderNumberFile numbers(dir / "program", dir / "home" / "tavrolab");
    fs::create_directories(dir / "program");

    OrderInfo order = placed(numbers);
    EXPECT_EQ(order.orderNumber, "00001");
    EXPECT_TRUE(numbers.commit(order));
    EXPECT_EQ(readFile(dir / "home" / "tavrolab" / "number.txt"), "2");
    EXPECT_FALSE(fs::exists(numbers.programFile()));
    EXPECT_EQ(numbers.readPath(), numbers.userFile());
    EXPECT_EQ(placed(numbers).orderNumber, "00002");

    // A program file that appears later does not bring an old number back: the user's is read.
    writeFile(numbers.programFile(), "1");
    order = placed(numbers);
    EXPECT_EQ(order.orderNumber, "00002");
    EXPECT_TRUE(numbers.commit(order));
    EXPECT_EQ(readFile(numbers.userFile()), "3");
    EXPECT_EQ(readFile(numbers.programFile()), "1");

    // An older order placed again leaves the user's file alone.
    order.orderNumber = "1";
    EXPECT_FALSE(numbers.commit(order));
    EXPECT_EQ(readFile(numbers.userFile()), "3");
}

TEST(OrderNumberFile, AWritableProgramFolderKeepsTheNumber) {
    TempFolder dir;
    const OrderNumberFile numbers(dir / "program", dir / "home" / "tavrolab");
    writeFile(numbers.programFile(), "41");

    OrderInfo order = placed(numbers);
    EXPECT_EQ(order.orderNumber, "00041");
    EXPECT_TRUE(numbers.commit(order));
    EXPECT_EQ(readFile(numbers.programFile()), "42");
    EXPECT_FALSE(fs::exists(dir / "home"));

    // Below the stored number nothing is written anywhere.
    order.orderNumber = "7";
    EXPECT_FALSE(numbers.commit(order));
    EXPECT_EQ(readFile(numbers.programFile()), "42");
    EXPECT_FALSE(fs::exists(dir / "home"));

    // Without a user folder a program folder that refuses the file consumes nothing.
    const OrderNumberFile nowhere(dir / "none", fs::path());
    EXPECT_FALSE(nowhere.commit(placed(nowhere)));
    EXPECT_FALSE(fs::exists(dir / "none"));
}

TEST(OrderNumberFile, AReadOnlyProgramFolderContinuesItsNumberInTheUserFolder) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser writes into read-only folders";
    TempFolder dir;
    const OrderNumberFile numbers(dir / "program", dir / "home" / "tavrolab");
    writeFile(numbers.programFile(), "41");
    fs::permissions(numbers.programFile().parent_path(), fs::perms::owner_write,
                    fs::perm_options::remove);

    OrderInfo order = placed(numbers);
    EXPECT_EQ(order.orderNumber, "00041");
    EXPECT_TRUE(numbers.commit(order));
    fs::permissions(numbers.programFile().parent_path(), fs::perms::owner_write,
                    fs::perm_options::add);
    EXPECT_EQ(readFile(numbers.programFile()), "41");
    EXPECT_EQ(readFile(numbers.userFile()), "42");
}

TEST(OrderNumberFile, UserFolderFollowsTheXdgRules) {
    const char* oldXdg = std::getenv("XDG_DATA_HOME");
    const char* oldHome = std::getenv("HOME");
    const std::string savedXdg = oldXdg ? oldXdg : "", savedHome = oldHome ? oldHome : "";

    setenv("XDG_DATA_HOME", "/srv/data", 1);
    setenv("HOME", "/home/shop", 1);
    EXPECT_EQ(OrderNumberFile::userDataFolder(), fs::path("/srv/data/tavrolab"));
    setenv("XDG_DATA_HOME", "relative/data", 1); // not absolute: ignored
    EXPECT_EQ(OrderNumberFile::userDataFolder(), fs::path("/home/shop/.local/share/tavrolab"));
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(OrderNumberFile::userDataFolder(), fs::path("/home/shop/.local/share/tavrolab"));
    unsetenv("HOME");
    EXPECT_EQ(OrderNumberFile::userDataFolder(), fs::path());
    EXPECT_EQ(OrderNumberFile(fs::path("/opt/x")).userFile(), fs::path());

    oldXdg ? setenv("XDG_DATA_HOME", savedXdg.c_str(), 1) : unsetenv("XDG_DATA_HOME");
    oldHome ? setenv("HOME", savedHome.c_str(), 1) : unsetenv("HOME");
}
