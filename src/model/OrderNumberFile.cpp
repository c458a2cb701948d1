#include "model/OrderNumberFile.h"

#include "model/OrderInfo.h"

#include <cstdlib>
#include <system_error>
#include <unistd.h>

OrderNumberFile::OrderNumberFile(const std::filesystem::path& baseFolder)
    : OrderNumberFile(baseFolder, userDataFolder()) {}

OrderNumberFile::OrderNumberFile(const std::filesystem::path& baseFolder,
                                 std::filesystem::path userFolder)
    : programFile_(baseFolder / "config" / "number.txt") {
    if (!userFolder.empty())
        userFile_ = std::move(userFolder) / "number.txt";
}

std::filesystem::path OrderNumberFile::userDataFolder() {
    // A relative XDG_DATA_HOME is invalid and must be ignored.
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg != nullptr && xdg[0] == '/')
        return std::filesystem::path(xdg) / "tavrolab";
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/')
        return std::filesystem::path(home) / ".local" / "share" / "tavrolab";
    return {};
}

std::filesystem::path OrderNumberFile::readPath() const {
    std::error_code ec;
    if (!userFile_.empty() && std::filesystem::is_regular_file(userFile_, ec))
        return userFile_;
    return programFile_;
}

std::string OrderNumberFile::next() const {
    return nextOrderNumber(readPath());
}

bool OrderNumberFile::commit(const OrderInfo& order, std::string* failure) const {
    // Decide where the number goes before writing: a failed write is remembered by the order
    // numbering, so the program's file is not tried when its folder cannot take it.
    const bool userFileRead = readPath() == userFile_;
    const std::filesystem::path folder = programFile_.parent_path();
    if (!userFileRead && (userFile_.empty() || ::access(folder.c_str(), W_OK) == 0))
        return order.commitOrderNumber(programFile_, failure);
    // The user's file starts from the program's number; an older order placed again leaves both
    // files alone.
    if (!userFileRead && order.orderNumberValue() < leadingInteger(nextOrderNumber(programFile_)))
        return false;
    std::error_code ec;
    std::filesystem::create_directories(userFile_.parent_path(), ec);
    if (userFileRead)
        return order.commitOrderNumber(userFile_, failure);
    // Neither folder takes the number: the failure is reported (and the number kept for this
    // run) for the program's file, which the next order reads.
    return order.commitOrderNumber(userFile_) || order.commitOrderNumber(programFile_, failure);
}
