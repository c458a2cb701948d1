#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// A recovery copy: what an autosave keeps of a project that was not saved. It holds the sketch
// file's bytes (the whole project with every field of the order card), the file the project
// belongs to (empty for a project never saved) and when the copy was written.
//
// Layout, little-endian: the 4 bytes "TVRC", the copy's format version (u8), the time written
// (t64, seconds since 1970 UTC), the file's path (str, UTF-16LE), from version 2 the key of a
// placing that has not yet succeeded (str), the length of the sketch (i32) and the sketch file's
// bytes.
struct RecoveryCopy {
    static constexpr uint8_t kFormatVersion = 2;

    std::string originalPath; // UTF-8
    int64_t writtenAt = 0;
    std::string placingKey; // empty: no placing pending
    std::string sketch;

    std::string encode() const;

    enum class Status { Ok, Damaged, Newer };
    struct Decoded;
    // Reads a copy; a damaged one gives the reason in Russian.
    static Decoded decode(std::string_view bytes);
};

struct RecoveryCopy::Decoded {
    Status status = Status::Damaged;
    std::string reason;
    RecoveryCopy copy;
};
