#include "text/PngTexts.h"

#include <zlib.h>

#include <array>
#include <cstdint>

namespace pngtexts {

bool inflate(const std::string& stream, std::size_t limit, std::string& out) {
    out.clear();
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        return false;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stream.data()));
    z.avail_in = static_cast<uInt>(stream.size());
    std::array<char, 16 * 1024> buffer;
    int status = Z_OK;
    while (status == Z_OK) {
        z.next_out = reinterpret_cast<Bytef*>(buffer.data());
        z.avail_out = static_cast<uInt>(buffer.size());
        status = ::inflate(&z, Z_NO_FLUSH);
        const std::size_t got = buffer.size() - z.avail_out;
        if (out.size() + got > limit) {
            status = Z_MEM_ERROR; // more than any text worth keeping: stop unpacking here
            break;
        }
        out.append(buffer.data(), got);
        if (status == Z_BUF_ERROR && z.avail_in == 0)
            break; // the stream ends before its end mark
    }
    inflateEnd(&z);
    if (status != Z_STREAM_END) {
        out.clear();
        return false;
    }
    return true;
}

std::map<std::string, std::string> read(std::istream& in, std::size_t maxText,
                                        std::size_t maxChunk) {
    std::map<std::string, std::string> texts;
    char signature[8];
    if (!in.read(signature, 8) || std::string(signature, 8) != std::string("\x89PNG\r\n\x1a\n", 8))
        return texts;
    for (;;) {
        unsigned char head[8];
        if (!in.read(reinterpret_cast<char*>(head), 8))
            return texts;
        const uint32_t length = (uint32_t{head[0]} << 24) | (uint32_t{head[1]} << 16) |
                                (uint32_t{head[2]} << 8) | uint32_t{head[3]};
        const std::string type(reinterpret_cast<const char*>(head) + 4, 4);
        if (type == "IDAT" || type == "IEND" || length > maxChunk)
            return texts;
        std::string data(length, '\0');
        char crc[4];
        if (!in.read(data.data(), static_cast<std::streamsize>(length)) || !in.read(crc, 4))
            return texts;
        const std::size_t zero = data.find('\0');
        if (zero == std::string::npos || zero == 0)
            continue;
        const std::string key = data.substr(0, zero);
        std::string text;
        if (type == "tEXt") {
            text = data.substr(zero + 1);
        } else if (type == "zTXt" && data.size() > zero + 2) {
            if (!inflate(data.substr(zero + 2), maxText, text))
                continue;
        } else if (type == "iTXt" && data.size() > zero + 3) {
            // Compression flag and method, then language and translated keyword, each ended by 0.
            const bool compressed = data[zero + 1] != 0;
            const std::size_t language = data.find('\0', zero + 3);
            const std::size_t translated =
                language == std::string::npos ? language : data.find('\0', language + 1);
            if (translated == std::string::npos)
                continue;
            text = data.substr(translated + 1);
            if (compressed && !inflate(std::string(text), maxText, text))
                continue;
        } else {
            continue;
        }
        if (text.size() <= maxText)
            texts[key] = std::move(text);
    }
}

} // namespace pngtexts
