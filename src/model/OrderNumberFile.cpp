#include "model/OrderNumberFile.h"

#include "model/OrderInfo.h"

#include <cstdlib>
#include <system_error>

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
    if (readPath() == userFile_)
        return order.commitOrderNumber(userFile_, failure);
    if (order.commitOrderNumber(programFile_))
        return true;
    // Not written: either an older order placed again, or the program folder refused the file.
    if (order.orderNumberValue() < leadingInteger(nextOrderNumber(programFile_)) ||
        userFile_.empty())
        return order.commitOrderNumber(programFile_, failure);
    std::error_code ec;
    std::filesystem::create_directories(userFile_.parent_path(), ec);
    return order.commitOrderNumber(userFile_, failure);
}
