#include "output/QrCode.h"

#include <qrencode.h>

#include <memory>
#include <string>

std::optional<QrCode> QrCode::encode(std::string_view text) {
    const std::string data(text);
    // 8-bit mode keeps the UTF-8 bytes as they are; version 0 picks the smallest symbol.
    std::unique_ptr<QRcode, decltype(&QRcode_free)> symbol(
        QRcode_encodeData(static_cast<int>(data.size()),
                          reinterpret_cast<const unsigned char*>(data.data()), 0, QR_ECLEVEL_M),
        &QRcode_free);
    if (!symbol)
        return std::nullopt;
    QrCode code;
    code.size_ = symbol->width;
    code.modules_.resize(static_cast<size_t>(symbol->width) * static_cast<size_t>(symbol->width));
    for (size_t i = 0; i < code.modules_.size(); ++i)
        code.modules_[i] = (symbol->data[i] & 1) != 0; // the lowest bit is the module's colour
    return code;
}
