#include "plan/OffcutStock.h"

#include "catalog/CsvText.h"
#include "catalog/DataFileReader.h"
#include "catalog/DataPaths.h"
#include "text/CaseFold.h"

#include <array>

namespace {

constexpr std::array<std::string_view, 4> kColumns = {"код", "цвет", "длина", "количество"};

} // namespace

OffcutStock OffcutStock::fromBytes(std::string_view bytes) {
    OffcutStock stock;
    stock.fileRead = true;
    const std::vector<csv_text::Line> lines = csv_text::splitLines(bytes);
    std::array<int, 4> column = {0, 1, 2, 3};
    size_t first = 0;
    if (!lines.empty()) {
        // A header line names the columns in any order; without one the order is fixed.
        const std::vector<csv_text::Field> fields = csv_text::splitFields(lines[0]);
        std::array<int, 4> named = {-1, -1, -1, -1};
        for (size_t c = 0; c < fields.size(); ++c) {
            if (csv_text::strippedLength(fields[c].text) > 20)
                continue;
            const std::string name = csv_text::lowerStripped(fields[c].text);
            for (size_t k = 0; k < kColumns.size(); ++k)
                if (name == kColumns[k])
                    named[k] = static_cast<int>(c);
        }
        if (named[0] >= 0) {
            first = 1;
            column = named;
        }
    }
    for (size_t i = first; i < lines.size(); ++i) {
        if (csv_text::strippedLength(lines[i].text) == 0)
            continue;
        const std::vector<csv_text::Field> fields = csv_text::splitFields(lines[i]);
        auto field = [&](int k) -> std::string_view {
            const int c = column[static_cast<size_t>(k)];
            return c >= 0 && static_cast<size_t>(c) < fields.size()
                       ? fields[static_cast<size_t>(c)].text
                       : std::string_view();
        };
        Offcut offcut;
        offcut.code = csv_text::stripped(field(0));
        offcut.colour = csv_text::stripped(field(1));
        const csv_text::Decimal length = csv_text::decimalNumber(field(2));
        offcut.count = csv_text::wholeNumber(field(3));
        const bool lengthOk = length.positive() && length.hundredthsFit() &&
                              length.hundredths() / 10 > 0 && length.whole < 100000;
        if (offcut.code.empty() || !lengthOk || offcut.count <= 0 || offcut.count > 10000) {
            ++stock.badLines;
            continue;
        }
        offcut.length = length.hundredths() / 10;
        stock.offcuts.push_back(std::move(offcut));
    }
    return stock;
}

OffcutStock OffcutStock::fromFile(const std::string& path) {
    std::string bytes;
    if (!DataFileReader::readWholeFile(path, bytes))
        return {};
    return fromBytes(bytes);
}

std::string OffcutStock::pathIn(std::string_view dataFolder) {
    return DataPaths::join(DataPaths::join(dataFolder, DataPaths::profilesFolder), "offcuts.csv");
}

std::vector<Offcut> OffcutStock::matching(std::string_view code, std::string_view colour) const {
    std::vector<Offcut> out;
    const std::string wantedColour = text::toLower(text::trim(colour));
    for (const Offcut& o : offcuts) {
        if (!text::equalsNoCase(o.code, code))
            continue;
        if (!o.colour.empty() && text::toLower(o.colour) != wantedColour)
            continue;
        out.push_back(o);
    }
    return out;
}
