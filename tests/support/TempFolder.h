#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string pathOf(std::string_view relative) const;
    std::filesystem::path operator/(std::string_view relative) const;

    // Writes the bytes as they are, creating the folders on the way; throws when it cannot.
    void writeBytes(std::string_view relative, std::string_view bytes) const;
    // Writes UTF-8 text converted to Windows-1251, as the data files are stored.
    void writeCp1251(std::string_view relative, std::string_view utf8) const;
    void makeFolder(std::string_view relative) const;

private:
    std::string path_;
};
