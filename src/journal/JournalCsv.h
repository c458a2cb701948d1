#pragma once

#include "journal/JournalOrder.h"

#include <cstdint>
#include <string>
#include <vector>

// The journal's rows and the monthly report as CSV for a spreadsheet: UTF-8 with a byte order
// mark (names and phones may hold any character), ";" between fields, money with a decimal comma.
namespace journalcsv {

// "1234,56" of an amount of kopecks.
std::string money(int64_t kopecks);
std::string orders(const std::vector<JournalOrder>& rows);
std::string report(const MonthlyReport& report);
// The orders that still owe, with their age in days and the totals.
std::string debts(const DebtReport& debts);

} // namespace journalcsv
