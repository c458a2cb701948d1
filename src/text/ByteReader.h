#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Bounds-checked little-endian reading of the binary files. Every read reports failure instead of
// running past the end (it returns 0 or an empty text); once a read failed the reader stays failed.
class ByteReader {
public:
    explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

    std::size_t remaining() const { return bytes_.size() - pos_; }
    bool ok() const { return ok_; }
    std::string_view rest() const { return bytes_.substr(pos_); }
    void skip(std::size_t n);

    uint8_t u8();
    uint16_t u16();
    int32_t i32();
    uint64_t u64();
    int64_t t64() { return static_cast<int64_t>(u64()); }
    double f64();
    // A u16 count of UTF-16LE code units, as UTF-8; the text ends at the first zero unit.
    std::string str();

private:
    const char* take(std::size_t n);

    std::string_view bytes_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};
