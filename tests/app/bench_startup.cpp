// Start-up: from starting the process to the main window on screen, for the program and for a
// bare Qt window started the same way, in pairs, so that both see the same machine. Each process
// quits as soon as its first picture is shown (the program with TAVROLAB_EXIT_WHEN_SHOWN=1).
// Run: build/bench/bench_startup [pairs]   (offscreen unless a platform is set; xvfb-run works)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

double runMs(const std::string& command) {
    const auto start = std::chrono::steady_clock::now();
    const int rc = std::system(command.c_str());
    const auto end = std::chrono::steady_clock::now();
    if (rc != 0)
        std::fprintf(stderr, "failed (%d): %s\n", rc, command.c_str());
    return std::chrono::duration<double, std::milli>(end - start).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const int pairs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const std::string bench = TAV_BINARY_DIR "/bench/";
    const std::string bare = bench + "bench_bare_window";
    const std::string program = "TAVROLAB_EXIT_WHEN_SHOWN=1 " TAV_BINARY_DIR "/bin/tavrolab";
    std::vector<double> bareMs;
    std::vector<double> programMs;
    runMs(bare); // the first start of each fills the disk cache
    runMs(program);
    for (int i = 0; i < pairs; ++i) {
        // Alternate which goes first, so neither always follows the other.
        if (i % 2 == 0) {
            bareMs.push_back(runMs(bare));
            programMs.push_back(runMs(program));
        } else {
            programMs.push_back(runMs(program));
            bareMs.push_back(runMs(bare));
        }
    }
    const double b = median(bareMs);
    const double p = median(programMs);
    std::printf("start-up to a shown window, median of %d pairs: bare Qt window %.1f ms, "
                "tavrolab %.1f ms, ratio %.2f\n",
                pairs, b, p, p / b);
    return 0;
}
