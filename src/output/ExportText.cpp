#include "output/ExportText.h"

#include "text/Encoding.h"

namespace exporttext {

std::string toWindows1251(std::string_view utf8) {
    // Pre-existing SUB characters and the converter's substitutes alike become "?".
    std::string bytes = text::utf8ToCp1251(utf8);
    for (char& c : bytes) {
        if (c == '\x1a')
            c = '?';
    }
    return bytes;
}

std::string xmlEscaped(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (char c : utf8) {
        auto u = static_cast<unsigned char>(c);
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        default:
            if (u < 0x20 && c != '\t' && c != '\n' && c != '\r')
                out += '?';
            else
                out += c;
        }
    }
    return out;
}

std::string withDecimalPoint(std::string_view number) {
    std::string out(number);
    for (char& c : out) {
        if (c == ',')
            c = '.';
    }
    return out;
}

} // namespace exporttext
