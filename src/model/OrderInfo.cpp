#include "model/OrderInfo.h"

#include "model/AtomicFile.h"
#include "text/Format.h"

#include <algorithm>
#include <climits>
#include <ctime>
#include <fstream>
#include <map>

namespace {

// The number file holds the next number as plain digits; only its first five bytes count.
constexpr std::size_t kNumberBytes = 5;

// Next numbers this run handed out but could not store, by number file.
std::map<std::filesystem::path, int32_t>& unstoredNumbers() {
    static std::map<std::filesystem::path, int32_t> numbers;
    return numbers;
}

} // namespace

int32_t leadingInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' ||
                               text[i] == '\r' || text[i] == '\v' || text[i] == '\f'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<int64_t>(INT32_MAX) + 1)
            value = static_cast<int64_t>(INT32_MAX) + 1; // saturate, keep consuming digits
    }
    if (negative)
        return static_cast<int32_t>(-value);
    return value > INT32_MAX ? INT32_MAX : static_cast<int32_t>(value);
}

std::string nextOrderNumber(const std::filesystem::path& numberFile) {
    int32_t number = 0;
    if (std::ifstream in(numberFile, std::ios::binary); in) {
        char bytes[kNumberBytes] = {};
        in.read(bytes, kNumberBytes);
        number = leadingInteger(std::string_view(bytes, static_cast<std::size_t>(in.gcount())));
    }
    auto unstored = unstoredNumbers().find(numberFile);
    if (unstored != unstoredNumbers().end())
        number = std::max(number, unstored->second);
    if (number <= 0)
        return "00001";
    return text::format("%05d", number);
}

void OrderInfo::newOrder(const std::filesystem::path& numberFile) {
    orderNumber = nextOrderNumber(numberFile);
    clientName.clear();
    address.clear();
    phone.clear();
    orderDate = readyDate = static_cast<int64_t>(std::time(nullptr));
    deliveryCost = 0;
    assemblyCost = 0;
}

bool OrderInfo::commitOrderNumber(const std::filesystem::path& numberFile,
                                  std::string* failure) const {
    int32_t stored = leadingInteger(nextOrderNumber(numberFile));
    int32_t placed = orderNumberValue();
    if (placed < stored || placed == INT32_MAX)
        return false;
    std::string reason;
    if (fileio::writeFileAtomically(numberFile, text::format("%d", placed + 1), &reason)) {
        unstoredNumbers().erase(numberFile);
        return true;
    }
    unstoredNumbers()[numberFile] = placed + 1;
    if (failure != nullptr)
        *failure = fileio::saveErrorMessage(numberFile.string(), reason) +
                   ". Следующий номер заказа не сохранён: после перезапуска программы номер " +
                   orderNumberText() + " будет выдан снова.";
    return false;
}

int32_t OrderInfo::orderNumberValue() const {
    return leadingInteger(orderNumber);
}

std::string OrderInfo::orderNumberText() const {
    return text::format("%05d", orderNumberValue());
}

std::string orderDateText(int64_t t) {
    std::tm parts{};
    std::time_t value = static_cast<std::time_t>(t);
    if (localtime_r(&value, &parts) == nullptr || parts.tm_year > INT_MAX - 1900)
        return "00.00.0";
    return text::format("%02d.%02d.%d", parts.tm_mday, parts.tm_mon + 1, parts.tm_year + 1900);
}
