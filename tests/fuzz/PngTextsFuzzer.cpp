// Feeds arbitrary bytes to the PNG text reader of the thumbnail cache: it must not crash, never
// keep a text beyond its limit however much a compressed chunk claims, and stop at the image.
#include "text/PngTexts.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    for (const auto& [key, text] : pngtexts::read(in, 4096, 1 << 16)) {
        if (key.empty() || text.size() > 4096)
            std::abort();
    }
    return 0;
}
