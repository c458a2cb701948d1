#include "calc/RowFormat.h"

#include <cstdlib>

namespace rowformat {

namespace {

// Digits of v >= 0 appended to out.
void appendDigits(std::string& out, uint64_t v) {
    char buf[24];
    int n = 0;
    do {
        buf[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    while (n > 0)
        out.push_back(buf[--n]);
}

void appendInteger(std::string& out, int64_t v) {
    if (v < 0) {
        out.push_back('-');
        appendDigits(out, 0 - static_cast<uint64_t>(v));
    } else {
        appendDigits(out, static_cast<uint64_t>(v));
    }
}

} // namespace

std::string integer(int64_t v) {
    std::string out;
    appendInteger(out, v);
    return out;
}

std::string pair(int64_t a, int64_t b) {
    std::string out;
    appendInteger(out, a);
    out.push_back('-');
    appendInteger(out, b);
    return out;
}

std::string tenths(int64_t t) {
    // t / 10.0 lies far closer to the one-decimal number t / 10 than to a rounding boundary,
    // so printf's rounding gives exactly its digits.
    std::string out;
    uint64_t magnitude = static_cast<uint64_t>(t);
    if (t < 0) {
        out.push_back('-');
        magnitude = 0 - static_cast<uint64_t>(t);
    }
    appendDigits(out, magnitude / 10);
    out.push_back(',');
    out.push_back(static_cast<char>('0' + magnitude % 10));
    return out;
}

std::string wholeOrTenths(int64_t t) {
    return t % 10 == 0 ? integer(t / 10) : tenths(t);
}

std::string roundedWhole(int64_t t) {
    // floor((t + 5) / 10) with the division rounding toward minus infinity.
    const int64_t shifted = t + 5;
    int64_t q = shifted / 10;
    if (shifted % 10 != 0 && shifted < 0)
        --q;
    return integer(q);
}

} // namespace rowformat
