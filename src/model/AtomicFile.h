#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// File helpers for every file the program writes or reads whole.
namespace fileio {

// Writes bytes to a temporary file in the target's folder, flushes it to disk and renames it over
// the target. Returns false on any failure; the target is then untouched and the temporary file
// removed. A new file gets the usual permissions (0666 minus the umask), a replaced one keeps its
// own.
bool writeFileAtomically(const std::filesystem::path& target, std::string_view bytes);

// The whole file, or nullopt when it cannot be opened or read.
std::optional<std::string> readWholeFile(const std::filesystem::path& path);

} // namespace fileio
