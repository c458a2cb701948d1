#pragma once

#include <optional>
#include <string_view>
#include <vector>

// A QR code symbol (encoded by libqrencode): size × size modules, true for dark.
class QrCode {
public:
    // The UTF-8 text in byte mode at error correction level M; nullopt when it does not fit a
    // symbol.
    static std::optional<QrCode> encode(std::string_view text);

    int size() const { return size_; }
    bool dark(int x, int y) const { return modules_[static_cast<size_t>(y * size_ + x)]; }

private:
    int size_ = 0;
    std::vector<bool> modules_;
};
