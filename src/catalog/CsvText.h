#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The text form shared by the data files: Windows-1251 lines ended by LF or CR LF, fields
// separated by ";" without quoting.
namespace csv_text {

struct Line {
    std::string_view text; // without its line break
    bool terminated;       // a line break ended it
};

// A field counts when a ";" or a line break follows it; the last field of an unterminated last
// line is not closed.
struct Field {
    std::string_view text;
    bool closed;
};

std::vector<Line> splitLines(std::string_view bytes);
// The first `limit` fields of the line (all of them by default).
std::vector<Field> splitFields(const Line& line, size_t limit = SIZE_MAX);

// True when the bytes hold at least one line break (LF).
bool hasLineBreak(std::string_view bytes);

// The field converted to UTF-8.
std::string toUtf8(std::string_view cp1251);
// Length in bytes (= characters in Windows-1251) without leading and trailing white space.
size_t strippedLength(std::string_view cp1251);
// The field converted to UTF-8, lower-cased (Cyrillic and Latin) and stripped of white space.
std::string lowerStripped(std::string_view cp1251);
// The field converted to UTF-8 and stripped.
std::string stripped(std::string_view cp1251);

// Leading decimal digits with an optional sign (after leading white space); the rest is
// ignored; empty or no digits gives 0. Values beyond the int32 range are clamped.
int32_t wholeNumber(std::string_view field);

// A decimal fraction with "," or "." as its separator, read up to the first character that
// cannot continue it. Kept as text digits so that no binary rounding creeps in.
struct Decimal {
    bool negative = false;
    int64_t whole = 0;     // clamped at a large bound
    std::string fraction;  // the digits after the separator
    bool positive() const; // strictly greater than 0
    // trunc(value × 100), clamped to the int32 range.
    int32_t hundredths() const;
    // True when trunc(value × 100) lies within the int32 range.
    bool hundredthsFit() const;
    // trunc(value), clamped to the int32 range.
    int32_t truncated() const;
};
Decimal decimalNumber(std::string_view field);

} // namespace csv_text
