#include "ui/workshop/CutListTable.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>

#include <set>

namespace {

// A field as a ";"-separated file must hold it: quoted when it has a separator or a quote.
QString csvField(QString text) {
    if (!text.contains(QLatin1Char(';')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')))
        return text;
    text.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace

CutListTable::CutListTable(const std::vector<std::string>& columns, const QString& accessibleName,
                           QWidget* parent)
    : QTableWidget(0, static_cast<int>(columns.size()), parent) {
    QStringList headers;
    for (const std::string& c : columns)
        headers << QString::fromStdString(c);
    setHorizontalHeaderLabels(headers);
    setAccessibleName(accessibleName);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    // As in a spreadsheet: typing into the current cell replaces it, F2 or a double click
    // edits it; moving to a cell only selects it, so Ctrl+V there pastes rows.
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::DoubleClicked);
    setTabKeyNavigation(true);
}

std::vector<CutListRow> CutListTable::rows() const {
    std::vector<CutListRow> out;
    for (int r = 0; r < rowCount(); ++r) {
        CutListRow row;
        row.line = r + 1;
        for (int c = 0; c < columnCount(); ++c) {
            const QTableWidgetItem* cell = item(r, c);
            row.fields.push_back(cell ? cell->text().toStdString() : std::string());
        }
        out.push_back(std::move(row));
    }
    return out;
}

void CutListTable::setRows(const std::vector<CutListRow>& rows) {
    clearContents();
    setRowCount(static_cast<int>(rows.size()));
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].fields.size() && c < static_cast<size_t>(columnCount()); ++c)
            setCell(static_cast<int>(r), static_cast<int>(c),
                    QString::fromStdString(rows[r].fields[c]));
}

QByteArray CutListTable::csv() const {
    QStringList lines;
    QStringList header;
    for (int c = 0; c < columnCount(); ++c)
        header << horizontalHeaderItem(c)->text();
    lines << header.join(QLatin1Char(';'));
    for (const CutListRow& row : rows()) {
        QStringList fields;
        bool blank = true;
        for (const std::string& f : row.fields) {
            fields << csvField(QString::fromStdString(f).trimmed());
            blank = blank && fields.back().isEmpty();
        }
        if (!blank)
            lines << fields.join(QLatin1Char(';'));
    }
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

void CutListTable::addRow() {
    const int row = rowCount();
    insertRow(row);
    setFocus();
    setCurrentCell(row, 0);
}

void CutListTable::removeSelectedRows() {
    std::set<int> doomed;
    for (const QTableWidgetSelectionRange& range : selectedRanges())
        for (int r = range.topRow(); r <= range.bottomRow(); ++r)
            doomed.insert(r);
    if (doomed.empty() && currentRow() >= 0)
        doomed.insert(currentRow());
    for (auto it = doomed.rbegin(); it != doomed.rend(); ++it)
        removeRow(*it);
}

void CutListTable::paste(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    // A spreadsheet ends its copy with a line break; Windows ones with "\r\n".
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    while (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    const int top = std::max(0, currentRow());
    const int left = std::max(0, currentColumn());
    for (int k = 0; k < lines.size(); ++k) {
        const int row = top + k;
        if (row >= rowCount())
            insertRow(row);
        const QStringList fields = lines[k].split(QLatin1Char('\t'));
        for (int f = 0; f < fields.size() && left + f < columnCount(); ++f)
            setCell(row, left + f, fields[f].trimmed());
    }
}

void CutListTable::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste) && state() != QAbstractItemView::EditingState) {
        paste(QApplication::clipboard()->text());
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Delete) && state() != QAbstractItemView::EditingState) {
        for (QTableWidgetItem* cell : selectedItems())
            cell->setText(QString());
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void CutListTable::setCell(int row, int column, const QString& text) {
    if (QTableWidgetItem* cell = item(row, column))
        cell->setText(text);
    else
        setItem(row, column, new QTableWidgetItem(text));
}
