#pragma once

#include "text/ByteWriter.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

class Project;

// The sketch file (".tav"): the whole project with its system options, doors and order card.
// Binary, little-endian; strings are a u16 count of UTF-16LE code units followed by the units.
// The writer always writes the current version; the reader accepts versions 1 to 6.
//
// Reading never half-applies a file: the whole file is parsed and checked into a temporary model
// first, and the project changes only when the file was read completely and holds together.
// Writing replaces the target atomically: a failed save leaves an existing file untouched.
class SketchFile {
public:
    static constexpr uint8_t kCurrentVersion = 6;

    enum ReadResult : int {
        ReadOk = 0,
        ReadFailed = 1,         // cannot be opened, truncated or damaged
        UnknownSystem = 2,      // the system named in the file is not in the catalog
        UnsupportedVersion = 3, // newer than kCurrentVersion
    };
    enum WriteResult : int {
        WriteOk = 0,
        WriteFailed = 1,
    };

    // On failure reason, when given, receives the system's reason (fileio::systemErrorText).
    static int write(const Project& project, const std::filesystem::path& path,
                     std::string* reason = nullptr);
    static int read(Project& project, const std::filesystem::path& path);

    // The file's bytes; nullopt when the project cannot be represented (a count above 65535).
    static std::optional<std::string> toBytes(const Project& project);
    // Reads a file's bytes into the project (same results as read()).
    static int fromBytes(Project& project, std::string_view bytes);

    // "Ошибка открытия файла: версия файла не поддерживается данной программой." for
    // UnsupportedVersion, else "Ошибка открытия файла " + path.
    static std::string openErrorMessage(int result, const std::string& path);
    // "Ошибка сохранения файла " + path, then ": " and the reason when there is one.
    static std::string saveErrorMessage(const std::string& path, const std::string& reason = {});

    // Longest string the format holds, in UTF-16 code units; longer texts are shortened on writing.
    static constexpr std::size_t kMaxStringUnits = ByteWriter::kMaxStringUnits;
};
