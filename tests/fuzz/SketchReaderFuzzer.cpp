// libFuzzer target for the sketch file reader: any input is either rejected without touching the
// project, or read completely; what was read must be written, read back and written again
// unchanged.

#include "FuzzCatalog.h"
#include "model/Project.h"
#include "model/SketchFile.h"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Project project(fuzzCatalog());
    std::optional<std::string> before = SketchFile::toBytes(project);
    std::string_view input(reinterpret_cast<const char*>(data), size);
    int rc = SketchFile::fromBytes(project, input);
    if (rc != SketchFile::ReadOk) {
        if (SketchFile::toBytes(project) != before)
            __builtin_trap(); // a rejected file changed the project
        return 0;
    }
    std::optional<std::string> written = SketchFile::toBytes(project);
    if (!written)
        return 0;
    Project again(fuzzCatalog());
    if (SketchFile::fromBytes(again, *written) != SketchFile::ReadOk)
        __builtin_trap(); // the program cannot read what it wrote
    if (SketchFile::toBytes(again) != written)
        __builtin_trap(); // reading and writing again changed the project
    return 0;
}
