// Crafted and damaged sketch files: values that would overflow later arithmetic and layouts large
// enough to make the reader's checks crawl.
#include "support/OutputTestSupport.h"

#include "calc/systems/DSSystemLoven.h"
#include "model/SketchFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <sys/wait.h>
#include <unistd.h>

using namespace outtest;

namespace {

constexpr int kMostSplitters = 1000; // per door

std::string bytesOf(const Project& p) {
    std::optional<std::string> b = SketchFile::toBytes(p);
    EXPECT_TRUE(b.has_value());
    return b.value_or(std::string());
}

std::string i32Bytes(int32_t v) {
    std::string b(4, '\0');
    auto u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i)
        b[static_cast<std::size_t>(i)] = static_cast<char>(u >> (8 * i));
    return b;
}

// Offset of the door set block: its opening width, height and door count as the file holds them,
// after the same three values at the head of the file.
std::size_t doorSetBlockAt(const Project& p, const std::string& bytes) {
    const DoorSet& set = *p.doors;
    const std::string sizes =
        i32Bytes(set.openingWidth) + i32Bytes(set.height) + i32Bytes(set.doorCount);
    std::size_t at = bytes.find(sizes, bytes.find(sizes) + 1);
    EXPECT_NE(at, std::string::npos);
    return at;
}

// Gives door d n vertical splitters from frame to frame, spread evenly over the door, with the
// n + 1 inserts between them. Where the splitters lie closer than a tenth of a millimetre the
// inserts between them are empty: a layout that holds together, however absurd.
void fillWithSplitters(Door& d, int n) {
    d.splitters.clear();
    d.inserts.clear();
    auto positionOf = [&](int i) {
        return static_cast<int32_t>(static_cast<int64_t>(d.width) * i / (n + 1));
    };
    for (int i = 1; i <= n; ++i) {
        Splitter s;
        s.vertical = true;
        s.position = positionOf(i);
        s.length = d.height;
        d.splitters.emplace(i, s);
    }
    for (int i = 0; i <= n; ++i) {
        Insert in;
        in.left = positionOf(i);
        in.right = i == n ? d.width : positionOf(i + 1);
        in.top = 0;
        in.bottom = d.height;
        in.leftId = i;
        in.rightId = i == n ? 0 : i + 1;
        d.inserts.emplace(i + 1, in);
    }
    d.nextSplitterId = n + 1;
    d.nextInsertId = n + 2;
    d.rebuildLinks();
    ASSERT_EQ(d.layoutFault(), "");
}

// Runs f in a child process; true when it returned true within the given milliseconds. A child that
// takes far longer is stopped by an alarm, so a slow reader fails the test instead of hanging it.
template <typename F>
bool finishesWithin(int milliseconds, F f, long* measured = nullptr) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return false;
    pid_t child = fork();
    if (child < 0)
        return false;
    if (child == 0) {
        close(pipeFds[0]);
        alarm(static_cast<unsigned>(milliseconds / 1000 * 10 + 10));
        auto start = std::chrono::steady_clock::now();
        const bool ok = f();
        long ms = static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                        std::chrono::steady_clock::now() - start)
                                        .count());
        ssize_t written = write(pipeFds[1], &ms, sizeof ms);
        _exit(written == sizeof ms && ok ? 0 : 2);
    }
    close(pipeFds[1]);
    long ms = -1;
    ssize_t got = read(pipeFds[0], &ms, sizeof ms);
    close(pipeFds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (measured != nullptr)
        *measured = ms;
    return got == sizeof ms && WIFEXITED(status) && WEXITSTATUS(status) == 0 && ms <= milliseconds;
}

} // namespace

TEST(SketchFileLimits, DoorCrowdedWithSplittersAnswersWithinASecond) {
    World w;
    ASSERT_TRUE(w.project->setDoorCount(1));
    fillWithSplitters(w.project->doors->doors[0], 30000);
    const std::string crowded = bytesOf(*w.project);

    World reader;
    const std::string before = bytesOf(*reader.project);
    long ms = 0;
    EXPECT_TRUE(finishesWithin(
        1000, [&] { return SketchFile::fromBytes(*reader.project, crowded) != SketchFile::ReadOk; },
        &ms))
        << ms << " ms";
    RecordProperty("read_ms", static_cast<int>(ms));
    // In this process: the file is refused and the project stays as it was.
    EXPECT_EQ(SketchFile::fromBytes(*reader.project, crowded), SketchFile::ReadFailed);
    EXPECT_TRUE(bytesOf(*reader.project) == before) << "a refused file changed the project";
}

TEST(SketchFileLimits, TenFullDoorsReadBackQuickly) {
    // Ten doors holding the most splitters a door may have: the largest file the program
    // writes (about a megabyte), read with its checks and the recalculation after it.
    World w;
    ASSERT_TRUE(w.project->setOpeningWidth(1000000));
    ASSERT_TRUE(w.project->setDoorCount(10));
    for (int i = 0; i < 10; ++i)
        fillWithSplitters(w.project->doors->doors[static_cast<std::size_t>(i)], kMostSplitters);
    w.project->recalculate(true);
    const std::string full = bytesOf(*w.project);
    EXPECT_GT(full.size(), 900000u);

    World reader;
    long ms = 0;
    EXPECT_TRUE(finishesWithin(
        1000, [&] { return SketchFile::fromBytes(*reader.project, full) == SketchFile::ReadOk; },
        &ms))
        << ms << " ms";
    RecordProperty("read_ms", static_cast<int>(ms));
    RecordProperty("file_bytes", static_cast<int>(full.size()));
    ASSERT_EQ(SketchFile::fromBytes(*reader.project, full), SketchFile::ReadOk);
    EXPECT_TRUE(bytesOf(*reader.project) == full) << "the file did not read back as written";

    // The editor stops adding splitters where the reader would refuse the door.
    Door& d = reader.project->doors->doors[0];
    d.rect = {0, 0, d.width, d.height};
    EXPECT_EQ(d.splitAtPoint({d.width / 2, 10}, nullptr, false, 1.0), nullptr);
}

TEST(SketchFileLimits, LovenHeightAdjustOutsideItsRangeIsRefused) {
    World w;
    auto* loven = dynamic_cast<DSSystemLoven*>(w.project->system);
    ASSERT_NE(loven, nullptr);
    loven->heightAdjust = -37; // a marker to find the field by
    std::string good = bytesOf(*w.project);
    std::size_t at = good.find(i32Bytes(-37));
    ASSERT_NE(at, std::string::npos);
    loven->heightAdjust = -40;

    for (int32_t bad : {INT32_MIN, INT32_MIN + 1, -101, 101, INT32_MAX}) {
        SCOPED_TRACE(bad);
        std::string file = good;
        file.replace(at, 4, i32Bytes(bad));
        EXPECT_EQ(SketchFile::fromBytes(*w.project, file), SketchFile::ReadFailed);
        EXPECT_EQ(loven->heightAdjust, -40);
    }
    std::string file = good;
    file.replace(at, 4, i32Bytes(-33));
    ASSERT_EQ(SketchFile::fromBytes(*w.project, file), SketchFile::ReadOk);
    EXPECT_EQ(loven->heightAdjust, -33);
    // The next resize works from the adjusted height.
    ASSERT_TRUE(w.project->setHeight(24000));
    EXPECT_EQ(w.project->doors->doors[0].height, 24000 - 330);
}

TEST(SketchFileLimits, NominalWidthThatWouldBlowUpTheDoorSharesIsRefused) {
    World w;
    ASSERT_TRUE(w.project->setDoorCount(2));
    std::string good = bytesOf(*w.project);
    const std::size_t nominalAt = doorSetBlockAt(*w.project, good) + 12;
    const int32_t nominal = w.project->doors->doorsNominalWidth;
    ASSERT_EQ(good.substr(nominalAt, 4), i32Bytes(nominal));

    for (int32_t bad : {1, nominal - 1, -1, INT32_MIN, INT32_MAX}) {
        SCOPED_TRACE(bad);
        World reader;
        std::string file = good;
        file.replace(nominalAt, 4, i32Bytes(bad));
        EXPECT_EQ(SketchFile::fromBytes(*reader.project, file), SketchFile::ReadFailed);
    }
    // A gap left by the door widths dialog, and no nominal width at all, read back; the next
    // width change keeps the proportions.
    for (int32_t fine : {0, nominal + 500}) {
        SCOPED_TRACE(fine);
        World reader;
        std::string file = good;
        file.replace(nominalAt, 4, i32Bytes(fine));
        ASSERT_EQ(SketchFile::fromBytes(*reader.project, file), SketchFile::ReadOk);
        ASSERT_TRUE(reader.project->setOpeningWidth(40000));
        for (int i = 0; i < 2; ++i)
            EXPECT_GT(reader.project->doors->doors[static_cast<std::size_t>(i)].width, 0);
    }
}
