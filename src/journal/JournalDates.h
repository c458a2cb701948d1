#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Dates of the journal: orders keep the UTC time and the offset of the seat that placed them;
// filters and reports count days and months of the local calendar.
namespace journaldates {

// Seconds east of UTC of the local time zone at time t.
int32_t utcOffsetAt(int64_t t);
// The UTC time of the local midnight that begins the day; nullopt for an impossible date.
std::optional<int64_t> localDayStart(int year, int month, int day);
// "YYYY-MM-DD" → the UTC time its local day begins; with dayAfter, the next day's beginning.
std::optional<int64_t> parseDay(const std::string& text, bool dayAfter = false);
// "YYYY-MM" → year and month.
std::optional<std::pair<int, int>> parseMonth(const std::string& text);
// "2026-12-10T06:11:05+03:00": the time as the seat that placed the order saw it.
std::string isoTime(int64_t utc, int32_t offset);
// "10.12.2026 06:11" of the same.
std::string shownTime(int64_t utc, int32_t offset);

} // namespace journaldates
