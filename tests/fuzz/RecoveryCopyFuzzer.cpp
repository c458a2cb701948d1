// libFuzzer target for the recovery copy reader, as the program meets a copy at start-up: any
// bytes are either refused with a reason or decoded; a decoded copy is written back to the same
// bytes, and its sketch is either refused without touching the project or read completely.

#include "FuzzCatalog.h"
#include "model/Project.h"
#include "model/RecoveryCopy.h"
#include "model/SketchFile.h"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const RecoveryCopy::Decoded d = RecoveryCopy::decode(input);
    if (d.status != RecoveryCopy::Status::Ok) {
        if (d.reason.empty())
            __builtin_trap(); // a refused copy must say why
        return 0;
    }
    if (d.copy.sketch.empty())
        __builtin_trap(); // an empty sketch cannot restore a project
    const RecoveryCopy::Decoded again = RecoveryCopy::decode(d.copy.encode());
    if (again.status != RecoveryCopy::Status::Ok || again.copy.sketch != d.copy.sketch ||
        again.copy.originalPath != d.copy.originalPath || again.copy.writtenAt != d.copy.writtenAt)
        __builtin_trap(); // what was read does not survive being written again

    Project project(fuzzCatalog());
    const std::optional<std::string> before = SketchFile::toBytes(project);
    if (SketchFile::fromBytes(project, d.copy.sketch) != SketchFile::ReadOk) {
        if (SketchFile::toBytes(project) != before)
            __builtin_trap(); // a copy that cannot be restored changed the project
    }
    return 0;
}
