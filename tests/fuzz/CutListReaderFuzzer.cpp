// Feeds arbitrary bytes to the cut list readers. The first byte picks the reader (even: pieces,
// odd: stock). Whatever the bytes, a reader must not crash, and what it accepts must keep within
// the list's limits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "plan/CutList.h"

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] % 2 == 0) {
        auto read = CutList::readPieces(bytes, data[0] % 4 == 0);
        if (const auto* pieces = std::get_if<std::vector<CutListPiece>>(&read)) {
            long total = 0;
            for (const CutListPiece& p : *pieces) {
                require(!p.material.empty() && p.length >= 10 && p.count >= 0);
                require(p.length <=
                        (p.isBar() ? CutList::kMaxBarLength : CutList::kMaxSheetLength));
                require(p.width <= CutList::kMaxSheetWidth);
                total += p.count;
            }
            require(total <= CutList::kMaxPieces);
        } else {
            require(std::get<CutListError>(read).line >= 1);
        }
    } else {
        auto read = CutList::readStock(bytes);
        if (const auto* stock = std::get_if<std::vector<CutStock>>(&read)) {
            for (const CutStock& s : *stock)
                require(s.length >= 10 && s.price >= 0 && s.price <= CutList::kMaxPrice);
        } else {
            require(std::get<CutListError>(read).line >= 1);
        }
    }
    return 0;
}
