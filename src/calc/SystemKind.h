#pragma once

#include <cstdint>

// Which rules of the shared operations a system follows; the values are the numbers of the
// system table (3 is not used).
enum SystemKind : int32_t {
    SystemStenvik = 0,
    SystemTavro = 1,
    SystemLoven = 2,
    SystemKvert = 4,
    SystemGartis = 5,
    SystemMeloza = 6,
    SystemDarso = 7,
    SystemFolm = 8,
    SystemNorsia = 9,
};
