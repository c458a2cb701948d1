// Feeds arbitrary bytes to the journal's address and configuration readers. The first byte
// picks the reader: even, an address as typed after --journal; odd, config/journal.conf of a
// data folder. A reader must not crash, and an address it refuses must say why.
#include "journal/JournalAddress.h"
#include "journal/JournalConfig.h"
#include "journal/JournalError.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

const std::filesystem::path& dataFolder() {
    static const std::filesystem::path folder = [] {
        const std::filesystem::path base =
            std::filesystem::temp_directory_path() / "tavrolab-fuzz-journal";
        std::filesystem::create_directories(base / "config");
        return base;
    }();
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] % 2 == 0) {
        std::string error;
        const std::optional<JournalAddress> a = JournalAddress::parse(text, &error);
        if (!a && error.empty())
            std::abort();
        if (a)
            (void)a->shown();
        return 0;
    }
    std::ofstream(dataFolder() / "config" / "journal.conf", std::ios::binary | std::ios::trunc)
        << text;
    try {
        const JournalConfig c = JournalConfig::resolve(dataFolder());
        if (c.address)
            (void)c.address->shown();
    } catch (const JournalError&) {
    }
    return 0;
}
