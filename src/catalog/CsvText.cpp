#include "catalog/CsvText.h"

#include <algorithm>
#include <limits>

#include "text/CaseFold.h"
#include "text/Encoding.h"

namespace csv_text {

namespace {

constexpr int64_t wholeBound = int64_t{1} << 40; // far beyond any int32 result, far from overflow

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int32_t clampToInt32(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

} // namespace

std::vector<Line> splitLines(std::string_view bytes) {
    std::vector<Line> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        const size_t lf = bytes.find('\n', start);
        if (lf == std::string_view::npos) {
            lines.push_back({bytes.substr(start), false});
            break;
        }
        size_t end = lf;
        if (end > start && bytes[end - 1] == '\r')
            --end;
        lines.push_back({bytes.substr(start, end - start), true});
        start = lf + 1;
    }
    return lines;
}

std::vector<Field> splitFields(const Line& line, size_t limit) {
    std::vector<Field> fields;
    if (limit == 0)
        return fields;
    fields.reserve(std::min<size_t>(
        limit, static_cast<size_t>(std::count(line.text.begin(), line.text.end(), ';')) + 1));
    size_t start = 0;
    while (fields.size() < limit) {
        const size_t semicolon = line.text.find(';', start);
        if (semicolon == std::string_view::npos) {
            fields.push_back({line.text.substr(start), line.terminated});
            break;
        }
        fields.push_back({line.text.substr(start, semicolon - start), true});
        start = semicolon + 1;
    }
    return fields;
}

bool hasLineBreak(std::string_view bytes) {
    return bytes.find('\n') != std::string_view::npos;
}

namespace {

bool isAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string_view trimmedView(std::string_view bytes) {
    size_t begin = 0;
    size_t end = bytes.size();
    while (begin < end && isSpace(bytes[begin]))
        ++begin;
    while (end > begin && isSpace(bytes[end - 1]))
        --end;
    return bytes.substr(begin, end - begin);
}

} // namespace

std::string toUtf8(std::string_view cp1251) {
    // Codes and numbers are mostly plain ASCII, the same in both encodings.
    if (isAscii(cp1251))
        return std::string(cp1251);
    return text::cp1251ToUtf8(cp1251);
}

std::string lowerStripped(std::string_view cp1251) {
    if (isAscii(cp1251)) {
        std::string lowered(trimmedView(cp1251));
        for (char& c : lowered) {
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        }
        return lowered;
    }
    return text::trim(text::toLower(text::cp1251ToUtf8(cp1251)));
}

std::string stripped(std::string_view cp1251) {
    return text::trim(toUtf8(cp1251));
}

size_t strippedLength(std::string_view cp1251) {
    return trimmedView(cp1251).size();
}

int32_t wholeNumber(std::string_view field) {
    size_t i = 0;
    while (i < field.size() && isSpace(field[i]))
        ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-')) {
        negative = field[i] == '-';
        ++i;
    }
    int64_t value = 0;
    for (; i < field.size() && isDigit(field[i]); ++i)
        value = std::min(value * 10 + (field[i] - '0'), wholeBound);
    return clampToInt32(negative ? -value : value);
}

Decimal decimalNumber(std::string_view field) {
    Decimal number;
    size_t i = 0;
    while (i < field.size() && isSpace(field[i]))
        ++i;
    if (i < field.size() && (field[i] == '+' || field[i] == '-')) {
        number.negative = field[i] == '-';
        ++i;
    }
    for (; i < field.size() && isDigit(field[i]); ++i)
        number.whole = std::min(number.whole * 10 + (field[i] - '0'), wholeBound);
    if (i < field.size() && (field[i] == ',' || field[i] == '.')) {
        for (++i; i < field.size() && isDigit(field[i]); ++i) {
            if (number.fraction.size() < 16)
                number.fraction += field[i];
        }
    }
    return number;
}

bool Decimal::positive() const {
    if (negative)
        return false;
    return whole > 0 || fraction.find_first_not_of('0') != std::string::npos;
}

int32_t Decimal::hundredths() const {
    int64_t value = whole * 100;
    if (!fraction.empty())
        value += (fraction[0] - '0') * 10;
    if (fraction.size() > 1)
        value += fraction[1] - '0';
    return clampToInt32(negative ? -value : value);
}

bool Decimal::hundredthsFit() const {
    return whole < std::numeric_limits<int32_t>::max() / 100;
}

int32_t Decimal::truncated() const {
    return clampToInt32(negative ? -whole : whole);
}

} // namespace csv_text
