#include "plan/CutList.h"

#include "catalog/CsvText.h"
#include "text/CaseFold.h"
#include "text/Decimal.h"
#include "text/Encoding.h"

#include <set>

namespace {

// UTF-8 when the bytes are valid UTF-8 (without their BOM), else Windows-1251.
std::string decoded(std::string_view bytes) {
    if (!text::isUtf8(bytes))
        return text::cp1251ToUtf8(bytes);
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    return std::string(bytes);
}

[[noreturn]] void refuse(int line, const std::string& reason) {
    throw CutListError{line, "Строка " + std::to_string(line) + ": " + reason};
}

// The rows of a file under its header line, fields in the order of `columns`, each stripped;
// absent columns read empty, blank rows are left out.
std::vector<CutListRow> readTable(std::string_view bytes, const std::vector<std::string>& columns,
                                  const std::vector<bool>& required) {
    const std::string utf8 = decoded(bytes);
    const std::vector<csv_text::Line> lines = csv_text::splitLines(utf8);
    if (lines.empty())
        refuse(1, "нет строки с названиями столбцов");
    std::vector<int> where(columns.size(), -1);
    const std::vector<csv_text::Field> header = csv_text::splitFields(lines[0]);
    for (size_t f = 0; f < header.size(); ++f) {
        const std::string name = text::toLower(text::trim(header[f].text));
        for (size_t c = 0; c < columns.size(); ++c) {
            if (where[c] < 0 && name == text::toLower(columns[c]))
                where[c] = static_cast<int>(f);
        }
    }
    for (size_t c = 0; c < columns.size(); ++c) {
        if (required[c] && where[c] < 0)
            refuse(1, "нет столбца «" + columns[c] + "»");
    }
    std::vector<CutListRow> rows;
    for (size_t l = 1; l < lines.size(); ++l) {
        const std::vector<csv_text::Field> fields = csv_text::splitFields(lines[l]);
        CutListRow row;
        row.line = static_cast<int>(l) + 1;
        bool blank = true;
        for (int w : where) {
            const size_t i = static_cast<size_t>(w);
            row.fields.push_back(w >= 0 && i < fields.size() ? text::trim(fields[i].text) : "");
            blank = blank && row.fields.back().empty();
        }
        if (!blank)
            rows.push_back(std::move(row));
    }
    return rows;
}

// A row's fields stripped and as many as the columns; nullopt for a blank row.
std::optional<std::vector<std::string>> fieldsOf(const CutListRow& row, size_t columns) {
    std::vector<std::string> out;
    bool blank = true;
    for (size_t c = 0; c < columns; ++c) {
        out.push_back(c < row.fields.size() ? text::trim(row.fields[c]) : "");
        blank = blank && out.back().empty();
    }
    if (blank)
        return std::nullopt;
    return out;
}

using Fault = text::Decimal::Fault;

// A size in 0.1 mm within 1 mm … max.
int32_t size(const std::string& field, const char* what, int32_t max, int line) {
    if (field.empty())
        refuse(line, std::string("не указана ") + what);
    const text::Decimal f = text::parseDecimal(field, 1);
    if (f.fault == Fault::NotNumber)
        refuse(line, std::string(what) + " «" + field + "» не число");
    if (f.fault == Fault::Decimals)
        refuse(line, std::string(what) + " " + field + " мм: больше одного знака после запятой");
    if (f.value < 10 || f.value > max)
        refuse(line, std::string(what) + " " + field + " мм вне пределов 1–" +
                         std::to_string(max / 10) + " мм");
    return static_cast<int32_t>(f.value);
}

// A whole count of at least 0; empty gives `empty`.
int count(const std::string& field, int empty, int line) {
    if (field.empty())
        return empty;
    const text::Decimal f = text::parseDecimal(field, 0);
    if (f.fault != Fault::None || f.value < 0 || f.value > CutList::kMaxPieces * 10LL)
        refuse(line, "количество «" + field + "» должно быть целым неотрицательным числом");
    return static_cast<int>(f.value);
}

std::string material(const std::string& field, int line) {
    if (field.empty())
        refuse(line, "не указан материал");
    return field;
}

template <class T>
std::variant<std::vector<T>, CutListError> caught(auto read) {
    try {
        return read();
    } catch (const CutListError& e) {
        return e;
    }
}

} // namespace

std::string CutList::materialKey(std::string_view material) {
    return text::toLower(text::trim(material));
}

const std::vector<std::string>& CutList::pieceColumns() {
    static const std::vector<std::string> columns = {"Материал", "Обозначение", "Длина",
                                                     "Ширина",   "Количество",  "Поворот"};
    return columns;
}

const std::vector<std::string>& CutList::stockColumns() {
    static const std::vector<std::string> columns = {"Материал", "Длина", "Ширина", "Количество",
                                                     "Цена"};
    return columns;
}

std::variant<std::vector<CutListRow>, CutListError> CutList::pieceRows(std::string_view bytes) {
    return caught<CutListRow>([&] {
        return readTable(bytes, pieceColumns(), {true, false, true, false, false, false});
    });
}

std::variant<std::vector<CutListRow>, CutListError> CutList::stockRows(std::string_view bytes) {
    return caught<CutListRow>([&] {
        return readTable(bytes, stockColumns(), {true, true, false, false, true});
    });
}

std::variant<std::vector<CutListPiece>, CutListError> CutList::readPieces(std::string_view bytes,
                                                                          bool defaultRotate) {
    auto rows = pieceRows(bytes);
    if (const auto* e = std::get_if<CutListError>(&rows))
        return *e;
    return readPieceRows(std::get<std::vector<CutListRow>>(rows), defaultRotate);
}

std::variant<std::vector<CutStock>, CutListError> CutList::readStock(std::string_view bytes) {
    auto rows = stockRows(bytes);
    if (const auto* e = std::get_if<CutListError>(&rows))
        return *e;
    return readStockRows(std::get<std::vector<CutListRow>>(rows));
}

std::variant<std::vector<CutListPiece>, CutListError>
CutList::readPieceRows(const std::vector<CutListRow>& rows, bool defaultRotate) {
    return caught<CutListPiece>([&] {
        enum { Material, Name, Length, Width, Count, Rotation };
        std::vector<CutListPiece> pieces;
        int total = 0;
        for (const CutListRow& row : rows) {
            const std::optional<std::vector<std::string>> fields =
                fieldsOf(row, pieceColumns().size());
            if (!fields)
                continue;
            const auto& f = *fields;
            CutListPiece p;
            p.line = row.line;
            p.material = material(f[Material], row.line);
            p.name = f[Name];
            const bool bar = f[Width].empty();
            p.length = size(f[Length], "длина", bar ? kMaxBarLength : kMaxSheetLength, row.line);
            p.width = bar ? 0 : size(f[Width], "ширина", kMaxSheetWidth, row.line);
            p.count = count(f[Count], 1, row.line);
            const std::string turn = text::toLower(f[Rotation]);
            if (turn.empty())
                p.canRotate = defaultRotate;
            else if (turn == "да" || turn == "нет")
                p.canRotate = turn == "да";
            else
                refuse(row.line, "поворот «" + f[Rotation] + "»: ожидается «да» или «нет»");
            total += p.count;
            if (total > kMaxPieces)
                refuse(row.line, "в списке больше " + std::to_string(kMaxPieces) + " деталей");
            pieces.push_back(std::move(p));
        }
        return pieces;
    });
}

std::variant<std::vector<CutStock>, CutListError>
CutList::readStockRows(const std::vector<CutListRow>& rows) {
    return caught<CutStock>([&] {
        enum { Material, Length, Width, Count, Price };
        std::vector<CutStock> stock;
        for (const CutListRow& row : rows) {
            const std::optional<std::vector<std::string>> fields =
                fieldsOf(row, stockColumns().size());
            if (!fields)
                continue;
            const auto& f = *fields;
            CutStock s;
            s.line = row.line;
            s.material = material(f[Material], row.line);
            const bool bar = f[Width].empty();
            s.length = size(f[Length], "длина", bar ? kMaxBarLength : kMaxSheetLength, row.line);
            s.width = bar ? 0 : size(f[Width], "ширина", kMaxSheetWidth, row.line);
            s.count = count(f[Count], -1, row.line);
            const text::Decimal price = f[Price].empty() ? text::Decimal{0, Fault::NotNumber}
                                                         : text::parseDecimal(f[Price], 2);
            if (price.fault != Fault::None)
                refuse(row.line, "цена «" + f[Price] +
                                     "» должна быть суммой в рублях, до двух знаков после запятой");
            if (price.value < 0 || price.value > kMaxPrice)
                refuse(row.line, "цена " + f[Price] + " руб. вне пределов 0–" +
                                     std::to_string(kMaxPrice / 100) + " руб.");
            s.price = price.value;
            stock.push_back(std::move(s));
        }
        return stock;
    });
}

std::optional<CutListError> CutList::missingStock() const {
    std::set<std::string> materials, bars, sheets;
    for (const CutStock& s : stock) {
        const std::string key = materialKey(s.material);
        materials.insert(key);
        (s.isBar() ? bars : sheets).insert(key);
    }
    for (const CutListPiece& p : pieces) {
        const std::string key = materialKey(p.material);
        const std::string line = "Строка " + std::to_string(p.line) + ": ";
        if (!materials.contains(key))
            return CutListError{p.line, line + "материала «" + p.material + "» нет на складе"};
        if (!(p.isBar() ? bars : sheets).contains(key))
            return CutListError{
                p.line, line + "для материала «" + p.material +
                            (p.isBar() ? "» на складе нет хлыстов" : "» на складе нет листов")};
    }
    return std::nullopt;
}
