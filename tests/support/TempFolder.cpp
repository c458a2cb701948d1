#include "support/TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "text/Encoding.h"

namespace fs = std::filesystem;

TempFolder::TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "tavrolab-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code error;
    fs::remove_all(path_, error);
}

std::string TempFolder::pathOf(std::string_view relative) const {
    return path_ + "/" + std::string(relative);
}

fs::path TempFolder::operator/(std::string_view relative) const {
    return fs::path(path_) / relative;
}

void TempFolder::writeBytes(std::string_view relative, std::string_view bytes) const {
    const fs::path file = pathOf(relative);
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}

void TempFolder::writeCp1251(std::string_view relative, std::string_view utf8) const {
    writeBytes(relative, text::utf8ToCp1251(utf8));
}

void TempFolder::makeFolder(std::string_view relative) const {
    fs::create_directories(pathOf(relative));
}
