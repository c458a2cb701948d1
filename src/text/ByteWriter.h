#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Little-endian writing of the binary files into a byte string.
class ByteWriter {
public:
    // Longest text a field holds, in UTF-16 code units.
    static constexpr std::size_t kMaxStringUnits = 65535;

    void u8(uint8_t v) { out_.push_back(static_cast<char>(v)); }
    void u16(uint16_t v);
    void i32(int32_t v);
    void u64(uint64_t v);
    void t64(int64_t v) { u64(static_cast<uint64_t>(v)); }
    void f64(double v);
    // A u16 count of UTF-16LE code units followed by the units. Texts longer than kMaxStringUnits
    // are shortened, never split inside a surrogate pair.
    void str(std::string_view utf8);
    void raw(std::string_view bytes) { out_ += bytes; }
    std::string& bytes() { return out_; }

private:
    std::string out_;
};
