#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Conversions at the program's borders: data files and exports are Windows-1251, the sketch file
// stores UTF-16LE, everything inside is UTF-8. The work is done by ICU's converters.
namespace text {

// Whether the bytes are well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool isUtf8(std::string_view bytes);

// Windows-1251 bytes to UTF-8.
std::string cp1251ToUtf8(std::string_view bytes);
// UTF-8 to Windows-1251 bytes; a character without a Windows-1251 form becomes the converter's
// substitution character. Invalid UTF-8 is replaced the same way.
std::string utf8ToCp1251(std::string_view utf8);

std::u16string utf8ToUtf16(std::string_view utf8);
std::string utf16ToUtf8(std::u16string_view utf16);

// Raw little-endian byte forms, as stored in files.
std::string utf16leBytesToUtf8(std::string_view bytes);
std::string utf8ToUtf16leBytes(std::string_view utf8);

// Number of UTF-16 code units the text takes.
std::size_t utf16Length(std::string_view utf8);

} // namespace text
