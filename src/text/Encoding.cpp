#include "text/Encoding.h"

#include <unicode/ucnv.h>
#include <unicode/unistr.h>

#include <cstdint>
#include <memory>

namespace text {
namespace {

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

ConverterPtr openConverter(const char* name) {
    UErrorCode status = U_ZERO_ERROR;
    ConverterPtr conv(ucnv_open(name, &status));
    if (U_FAILURE(status))
        return nullptr;
    return conv;
}

} // namespace

bool isUtf8(std::string_view bytes) {
    size_t i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        int follow = 0;
        uint32_t cp = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            follow = 1;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            follow = 2;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            follow = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (bytes.size() - i <= static_cast<size_t>(follow))
            return false;
        for (int k = 1; k <= follow; ++k) {
            const auto b = static_cast<unsigned char>(bytes[i + static_cast<size_t>(k)]);
            if ((b & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (b & 0x3F);
        }
        static constexpr uint32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
        if (cp < kSmallest[follow] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += static_cast<size_t>(follow) + 1;
    }
    return true;
}

std::string cp1251ToUtf8(std::string_view bytes) {
    ConverterPtr conv = openConverter("windows-1251");
    if (!conv || bytes.empty())
        return {};
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeString u(bytes.data(), static_cast<int32_t>(bytes.size()), conv.get(), status);
    std::string out;
    u.toUTF8String(out);
    return out;
}

std::string utf8ToCp1251(std::string_view utf8) {
    ConverterPtr conv = openConverter("windows-1251");
    if (!conv || utf8.empty())
        return {};
    icu::UnicodeString u = icu::UnicodeString::fromUTF8(
        icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
    UErrorCode status = U_ZERO_ERROR;
    int32_t needed = u.extract(nullptr, 0, conv.get(), status);
    std::string out(static_cast<std::size_t>(needed), '\0');
    status = U_ZERO_ERROR;
    ucnv_reset(conv.get());
    u.extract(out.data(), needed, conv.get(), status);
    if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING)
        return {};
    return out;
}

std::u16string utf8ToUtf16(std::string_view utf8) {
    icu::UnicodeString u = icu::UnicodeString::fromUTF8(
        icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
    return std::u16string(u.getBuffer(), u.getBuffer() + u.length());
}

std::string utf16ToUtf8(std::u16string_view utf16) {
    icu::UnicodeString u(utf16.data(), static_cast<int32_t>(utf16.size()));
    std::string out;
    u.toUTF8String(out);
    return out;
}

std::string utf16leBytesToUtf8(std::string_view bytes) {
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        auto lo = static_cast<unsigned char>(bytes[2 * i]);
        auto hi = static_cast<unsigned char>(bytes[2 * i + 1]);
        units[i] = static_cast<char16_t>(lo | (hi << 8));
    }
    return utf16ToUtf8(units);
}

std::string utf8ToUtf16leBytes(std::string_view utf8) {
    std::u16string units = utf8ToUtf16(utf8);
    std::string out;
    out.reserve(units.size() * 2);
    for (char16_t c : units) {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>((c >> 8) & 0xFF));
    }
    return out;
}

std::size_t utf16Length(std::string_view utf8) {
    return utf8ToUtf16(utf8).size();
}

} // namespace text
