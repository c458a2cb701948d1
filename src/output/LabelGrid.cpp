#include "output/LabelGrid.h"

#include "text/Format.h"

namespace {

// A whole number of 1..4 digits at the front of text; consumed from text.
std::optional<int> takeNumber(std::string_view& text) {
    size_t n = 0;
    int value = 0;
    while (n < text.size() && n < 5 && text[n] >= '0' && text[n] <= '9')
        value = value * 10 + (text[n++] - '0');
    if (n == 0 || n > 4)
        return std::nullopt;
    text.remove_prefix(n);
    return value;
}

bool takeChar(std::string_view& text, char c) {
    if (text.empty() || (text.front() != c && !(c == 'x' && text.front() == 'X')))
        return false;
    text.remove_prefix(1);
    return true;
}

} // namespace

bool LabelGrid::valid() const {
    return columns >= 1 && columns <= kMaxCount && rows >= 1 && rows <= kMaxCount &&
           labelWidth >= 200 && labelHeight >= 100 && columns * labelWidth <= kPageWidth &&
           rows * labelHeight <= kPageHeight;
}

std::optional<LabelGrid> LabelGrid::parse(std::string_view text) {
    LabelGrid grid;
    std::optional<int> columns = takeNumber(text);
    if (!columns || !takeChar(text, 'x'))
        return std::nullopt;
    std::optional<int> rows = takeNumber(text);
    if (!rows)
        return std::nullopt;
    grid.columns = *columns;
    grid.rows = *rows;
    if (takeChar(text, ':')) {
        std::optional<int> width = takeNumber(text);
        if (!width || !takeChar(text, 'x'))
            return std::nullopt;
        std::optional<int> height = takeNumber(text);
        if (!height)
            return std::nullopt;
        grid.labelWidth = *width * 10;
        grid.labelHeight = *height * 10;
    }
    if (!text.empty() || !grid.valid())
        return std::nullopt;
    return grid;
}

std::string LabelGrid::describe() const {
    return text::format("%d × %d, %d × %d мм", columns, rows, labelWidth / 10, labelHeight / 10);
}

std::string LabelGrid::text() const {
    return text::format("%dx%d:%dx%d", columns, rows, labelWidth / 10, labelHeight / 10);
}
