#include "model/RecoveryCopy.h"

#include "model/SketchFile.h"
#include "text/ByteReader.h"
#include "text/ByteWriter.h"

namespace {

constexpr std::string_view kMagic = "TVRC";

} // namespace

std::string RecoveryCopy::encode() const {
    ByteWriter w;
    w.raw(kMagic);
    w.u8(kFormatVersion);
    w.t64(writtenAt);
    w.str(originalPath);
    w.str(placingKey);
    w.i32(static_cast<int32_t>(sketch.size()));
    w.raw(sketch);
    return std::move(w.bytes());
}

RecoveryCopy::Decoded RecoveryCopy::decode(std::string_view bytes) {
    Decoded d;
    if (bytes.size() < kMagic.size() + 1 || bytes.substr(0, kMagic.size()) != kMagic) {
        d.reason = "файл не является копией восстановления";
        return d;
    }
    ByteReader r(bytes.substr(kMagic.size()));
    const uint8_t version = r.u8();
    if (version > kFormatVersion) {
        d.status = Status::Newer;
        d.reason = "копия записана более новой версией программы";
        return d;
    }
    d.copy.writtenAt = r.t64();
    d.copy.originalPath = r.str();
    if (version >= 2)
        d.copy.placingKey = r.str();
    const int32_t length = r.i32();
    if (!r.ok() || length < 1 || static_cast<std::size_t>(length) != r.remaining()) {
        d.reason = "копия обрывается или повреждена";
        return d;
    }
    d.copy.sketch = std::string(r.rest());
    // The sketch's first byte is its version: a newer program wrote it.
    if (static_cast<uint8_t>(d.copy.sketch[0]) > SketchFile::kCurrentVersion) {
        d.status = Status::Newer;
        d.reason = "эскиз в копии записан более новой версией программы";
        return d;
    }
    d.status = Status::Ok;
    return d;
}
