#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// File helpers for every file the program writes or reads whole.
namespace fileio {

// Writes bytes to a temporary file in the target's folder, flushes it to disk and renames it over
// the target. Returns false on any failure; the target is then untouched, the temporary file
// removed and, when reason is given, it receives the system's reason (systemErrorText). A new
// file gets the usual permissions (0666 minus the umask), a replaced one keeps its own. A target
// that is a symbolic link stays one: the file it points to is replaced.
bool writeFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                         std::string* reason = nullptr);

// The reason for a system error number as the program shows it: "Нет доступа" for EACCES.
std::string systemErrorText(int errorNumber);

// "Ошибка сохранения файла " + path, followed by ": " and the reason when there is one.
std::string saveErrorMessage(const std::string& path, const std::string& reason = {});

// The whole file, or nullopt when it cannot be opened or read.
std::optional<std::string> readWholeFile(const std::filesystem::path& path);

} // namespace fileio
