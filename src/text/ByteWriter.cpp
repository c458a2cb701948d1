#include "text/ByteWriter.h"

#include "text/Encoding.h"

#include <bit>

void ByteWriter::u16(uint16_t v) {
    u8(static_cast<uint8_t>(v & 0xFF));
    u8(static_cast<uint8_t>(v >> 8));
}

void ByteWriter::i32(int32_t v) {
    auto u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i)
        u8(static_cast<uint8_t>(u >> (8 * i)));
}

void ByteWriter::u64(uint64_t v) {
    for (int i = 0; i < 8; ++i)
        u8(static_cast<uint8_t>(v >> (8 * i)));
}

void ByteWriter::f64(double v) {
    u64(std::bit_cast<uint64_t>(v));
}

void ByteWriter::str(std::string_view utf8) {
    std::u16string units = text::utf8ToUtf16(utf8);
    if (units.size() > kMaxStringUnits) {
        std::size_t n = kMaxStringUnits;
        if (units[n - 1] >= 0xD800 && units[n - 1] <= 0xDBFF)
            --n;
        units.resize(n);
    }
    u16(static_cast<uint16_t>(units.size()));
    for (char16_t c : units)
        u16(static_cast<uint16_t>(c));
}
