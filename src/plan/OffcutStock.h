#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Offcuts of profile bars kept by the workshop: profiles/offcuts.csv of the data folder, one
// line per length: code; colour; length in mm; count (Windows-1251, ";"-separated, a header line
// naming the columns "код", "цвет", "длина", "количество" is optional).
struct Offcut {
    std::string code;   // article code
    std::string colour; // profile colour name; empty: any colour
    int32_t length = 0; // 0.1 mm
    int32_t count = 0;
};

class OffcutStock {
public:
    std::vector<Offcut> offcuts;
    int badLines = 0;      // lines skipped because a field could not be read
    bool fileRead = false; // the file was there and could be read

    // Lines without code, with a length or count that is not a positive number are skipped and
    // counted; empty lines are ignored.
    static OffcutStock fromBytes(std::string_view bytes);
    // A missing file gives an empty stock.
    static OffcutStock fromFile(const std::string& path);
    // profiles/offcuts.csv under the data folder.
    static std::string pathIn(std::string_view dataFolder);

    // The offcuts of an article in a colour (codes without regard to case, colours stripped and
    // without regard to case; an offcut without colour fits every colour).
    std::vector<Offcut> matching(std::string_view code, std::string_view colour) const;
};
