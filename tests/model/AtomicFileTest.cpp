// Saving over links and failing with the system's reason.
#include "model/AtomicFile.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class AtomicFileTest : public ::testing::Test {
protected:
    TempFolder folder;
    const fs::path dir{folder.path()};
    void SetUp() override { fs::create_directories(dir / "real"); }
    static std::string read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static mode_t modeOf(const fs::path& p) {
        struct stat st {};
        ::stat(p.c_str(), &st);
        return st.st_mode & 07777;
    }
};

} // namespace

TEST_F(AtomicFileTest, SavingOverALinkReplacesItsTargetAndKeepsThePermissions) {
    const fs::path target = dir / "real" / "order.tav";
    ASSERT_TRUE(fileio::writeFileAtomically(target, "old"));
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    // A relative link in another folder, and a link to that link.
    fs::create_symlink("real/order.tav", dir / "link.tav");
    fs::create_symlink(dir / "link.tav", dir / "real" / "second.tav");

    ASSERT_TRUE(fileio::writeFileAtomically(dir / "real" / "second.tav", "new"));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir / "link.tav")));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir / "real" / "second.tav")));
    EXPECT_EQ(read(target), "new");
    EXPECT_EQ(modeOf(target), 0640u);

    // A link whose file does not exist yet: the file is created where it points.
    fs::create_symlink("real/later.tav", dir / "later.tav");
    ASSERT_TRUE(fileio::writeFileAtomically(dir / "later.tav", "x"));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir / "later.tav")));
    EXPECT_EQ(read(dir / "real" / "later.tav"), "x");

    // A loop of links is refused with its reason.
    fs::create_symlink("b.tav", dir / "a.tav");
    fs::create_symlink("a.tav", dir / "b.tav");
    std::string reason;
    EXPECT_FALSE(fileio::writeFileAtomically(dir / "a.tav", "x", &reason));
    EXPECT_EQ(reason, "Слишком много уровней символьных ссылок");
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir / "a.tav")));
}

TEST_F(AtomicFileTest, AFailedWriteNamesTheSystemsReason) {
    std::string reason;
    EXPECT_FALSE(fileio::writeFileAtomically(dir / "missing" / "a.xml", "x", &reason));
    EXPECT_EQ(reason, "Нет такого файла или каталога");
    fs::create_directories(dir / "busy.xml" / "inside");
    EXPECT_FALSE(fileio::writeFileAtomically(dir / "busy.xml", "x", &reason));
    EXPECT_EQ(reason, "Это каталог");
    EXPECT_EQ(fileio::systemErrorText(EACCES), "Нет доступа");
    EXPECT_EQ(fileio::saveErrorMessage("/x/a.tav", "Нет доступа"),
              "Ошибка сохранения файла /x/a.tav: Нет доступа");
    EXPECT_EQ(fileio::saveErrorMessage("/x/a.tav"), "Ошибка сохранения файла /x/a.tav");
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir))
        ++entries;
    EXPECT_EQ(entries, 2); // real, busy.xml: no temporary file left behind
}
