#include "journal/JournalDates.h"

#include "text/Format.h"

#include <ctime>

namespace journaldates {
namespace {

bool isDigits(const std::string& s, std::size_t from, std::size_t count) {
    for (std::size_t i = from; i < from + count; ++i)
        if (i >= s.size() || s[i] < '0' || s[i] > '9')
            return false;
    return true;
}

std::tm fieldsOf(int64_t utc, int32_t offset) {
    const std::time_t shifted = static_cast<std::time_t>(utc + offset);
    std::tm tm{};
    ::gmtime_r(&shifted, &tm);
    return tm;
}

} // namespace

int32_t utcOffsetAt(int64_t t) {
    const std::time_t tt = static_cast<std::time_t>(t);
    std::tm tm{};
    if (::localtime_r(&tt, &tm) == nullptr)
        return 0;
    return static_cast<int32_t>(tm.tm_gmtoff);
}

std::optional<int64_t> localDayStart(int year, int month, int day) {
    if (year < 1970 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31)
        return std::nullopt;
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_isdst = -1;
    const std::time_t t = std::mktime(&tm);
    if (t == static_cast<std::time_t>(-1) || tm.tm_mday != day)
        return std::nullopt;
    return static_cast<int64_t>(t);
}

std::optional<int64_t> parseDay(const std::string& text, bool dayAfter) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-' || !isDigits(text, 0, 4) ||
        !isDigits(text, 5, 2) || !isDigits(text, 8, 2))
        return std::nullopt;
    const int year = std::stoi(text.substr(0, 4));
    const int month = std::stoi(text.substr(5, 2));
    const int day = std::stoi(text.substr(8, 2));
    if (!localDayStart(year, month, day))
        return std::nullopt;
    if (!dayAfter)
        return localDayStart(year, month, day);
    // mktime carries day 32 or 29 of February over into the next month.
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day + 1;
    tm.tm_isdst = -1;
    const std::time_t t = std::mktime(&tm);
    return static_cast<int64_t>(t);
}

std::optional<std::pair<int, int>> parseMonth(const std::string& text) {
    if (text.size() != 7 || text[4] != '-' || !isDigits(text, 0, 4) || !isDigits(text, 5, 2))
        return std::nullopt;
    const int year = std::stoi(text.substr(0, 4));
    const int month = std::stoi(text.substr(5, 2));
    if (year < 1970 || month < 1 || month > 12)
        return std::nullopt;
    return std::make_pair(year, month);
}

std::string isoTime(int64_t utc, int32_t offset) {
    const std::tm tm = fieldsOf(utc, offset);
    const int32_t a = offset < 0 ? -offset : offset;
    return text::format("%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", tm.tm_year + 1900,
                        tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec,
                        offset < 0 ? '-' : '+', a / 3600, a % 3600 / 60);
}

std::string shownTime(int64_t utc, int32_t offset) {
    const std::tm tm = fieldsOf(utc, offset);
    return text::format("%02d.%02d.%04d %02d:%02d", tm.tm_mday, tm.tm_mon + 1, tm.tm_year + 1900,
                        tm.tm_hour, tm.tm_min);
}

} // namespace journaldates
