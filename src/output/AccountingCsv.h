#pragma once

#include <filesystem>
#include <string>

class Project;

// The ";"-separated file for the accounting program "1С" as Windows-1251 bytes with CR LF line
// ends: order number, heading, one line per article and filling row, the five totals.
std::string accountingCsvBytes(Project& project);

// Writes the accounting file to path. Returns true when it FAILED, with the system's reason in
// reason. The file is replaced atomically, so a failed export leaves an existing file untouched.
bool exportAccountingCsv(Project& project, const std::filesystem::path& path,
                         std::string* reason = nullptr);
