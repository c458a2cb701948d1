#include "text/CaseFold.h"

#include <unicode/locid.h>
#include <unicode/unistr.h>

namespace text {

std::string toLower(std::string_view utf8) {
    // Plain ASCII needs no trip through ICU; codes and column names are mostly ASCII or short.
    bool ascii = true;
    for (char c : utf8) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii) {
        std::string out(utf8);
        for (char& c : out) {
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        }
        return out;
    }
    static const icu::Locale russian("ru");
    icu::UnicodeString u = icu::UnicodeString::fromUTF8(
        icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
    u.toLower(russian);
    std::string out;
    u.toUTF8String(out);
    return out;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    return toLower(a) == toLower(b);
}

std::string trim(std::string_view s) {
    auto isSpace = [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
    };
    std::size_t begin = 0;
    std::size_t end = s.size();
    while (begin < end && isSpace(s[begin]))
        ++begin;
    while (end > begin && isSpace(s[end - 1]))
        --end;
    return std::string(s.substr(begin, end - begin));
}

} // namespace text
