#pragma once

#include <array>
#include <string>
#include <string_view>

// The statuses an order passes through, in their usual order. Placing gives the first.
namespace orderstatus {

inline constexpr std::array<std::string_view, 5> kAll = {"Принят", "В производстве", "Готов",
                                                         "Доставлен", "Отменён"};
inline constexpr std::string_view kPlaced = kAll[0];
inline constexpr std::string_view kCancelled = kAll[4];

// Whether the text is one of the statuses, written exactly.
inline bool isKnown(std::string_view status) {
    for (std::string_view s : kAll)
        if (s == status)
            return true;
    return false;
}

} // namespace orderstatus
