#include "text/ByteReader.h"

#include "text/Encoding.h"

#include <bit>

namespace {

uint32_t byteAt(const char* p, int i) {
    return static_cast<unsigned char>(p[i]);
}

} // namespace

void ByteReader::skip(std::size_t n) {
    if (!take(n))
        ok_ = false;
}

uint8_t ByteReader::u8() {
    const char* p = take(1);
    return p ? static_cast<uint8_t>(p[0]) : 0;
}

uint16_t ByteReader::u16() {
    const char* p = take(2);
    return p ? static_cast<uint16_t>(byteAt(p, 0) | byteAt(p, 1) << 8) : 0;
}

int32_t ByteReader::i32() {
    const char* p = take(4);
    if (!p)
        return 0;
    uint32_t v = byteAt(p, 0) | byteAt(p, 1) << 8 | byteAt(p, 2) << 16 | byteAt(p, 3) << 24;
    return static_cast<int32_t>(v);
}

uint64_t ByteReader::u64() {
    const char* p = take(8);
    if (!p)
        return 0;
    uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = v << 8 | byteAt(p, i);
    return v;
}

double ByteReader::f64() {
    return std::bit_cast<double>(u64());
}

std::string ByteReader::str() {
    uint16_t n = u16();
    const char* p = take(std::size_t{n} * 2);
    if (!p)
        return {};
    std::size_t units = 0;
    while (units < n && (p[2 * units] != 0 || p[2 * units + 1] != 0))
        ++units;
    return text::utf16leBytesToUtf8(std::string_view(p, units * 2));
}

const char* ByteReader::take(std::size_t n) {
    if (!ok_ || n > remaining()) {
        ok_ = false;
        return nullptr;
    }
    const char* p = bytes_.data() + pos_;
    pos_ += n;
    return p;
}
