// The main of every test program. Before any test runs it gives the run a data home of its own
// (with state, config and cache homes) and the offscreen platform, however the program is started
// (CTest, a shell, a script): the tests never read or change the order number, the recovery
// copies, the recent files or the thumbnail cache in the user's folders, and never open windows.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    std::error_code error;
    std::string dataHome = (fs::temp_directory_path(error) / "tavrolab-tests-XXXXXX").string();
    if (error || ::mkdtemp(dataHome.data()) == nullptr) {
        std::fprintf(stderr, "No temporary data folder for the tests: %s\n", dataHome.c_str());
        return 1;
    }
    ::setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
    // Recovery copies and the recent files of the windows under test stay in the run's folder.
    ::setenv("XDG_STATE_HOME", (dataHome + "/state").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (dataHome + "/config").c_str(), 1);
    // Thumbnails the tests make stay out of the user's shared thumbnail cache.
    const std::string cacheHome = dataHome + "/cache";
    ::setenv("XDG_CACHE_HOME", cacheHome.c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);

    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    fs::remove_all(dataHome, error);
    return result;
}
