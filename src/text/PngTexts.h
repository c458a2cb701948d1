#pragma once

#include <cstddef>
#include <istream>
#include <map>
#include <string>

// The text chunks of a PNG before its image data, read without decoding the image: tEXt, and
// zTXt and iTXt, compressed or not, in which writers keep long texts. A compressed text may claim
// to unpack to gigabytes: whatever would unpack beyond maxText is left out, and so is a chunk
// longer than maxChunk. Empty when the bytes are not a PNG.
namespace pngtexts {

inline constexpr std::size_t kMaxText = 64 * 1024;
inline constexpr std::size_t kMaxChunk = 1 << 20;

std::map<std::string, std::string> read(std::istream& in, std::size_t maxText = kMaxText,
                                        std::size_t maxChunk = kMaxChunk);

// A zlib stream unpacked; nullopt-like false when it is damaged or unpacks beyond `limit`.
bool inflate(const std::string& stream, std::size_t limit, std::string& out);

} // namespace pngtexts
