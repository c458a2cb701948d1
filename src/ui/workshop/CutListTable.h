#pragma once

#include "plan/CutList.h"

#include <QStringList>
#include <QTableWidget>

#include <vector>

// One table of the cut list page (the pieces or the stock): its columns fixed in the readers'
// order, typed into cell by cell, and filled from a spreadsheet: Ctrl+V puts tab-separated rows
// from the clipboard in from the current cell, overwriting the cells there and adding rows
// below the last one.
class CutListTable : public QTableWidget {
    Q_OBJECT
public:
    CutListTable(const std::vector<std::string>& columns, const QString& accessibleName,
                 QWidget* parent = nullptr);

    // The rows as the readers take them, numbered from 1 as the table shows them.
    std::vector<CutListRow> rows() const;
    // Replaces every row (fields in the columns' order).
    void setRows(const std::vector<CutListRow>& rows);
    // The rows as a ";"-separated file under the columns' header, in UTF-8.
    QByteArray csv() const;

    void addRow();
    // Removes the rows with a selected cell, else the current row.
    void removeSelectedRows();
    // Tab-separated text (a spreadsheet's copy) put in from the current cell.
    void paste(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void setCell(int row, int column, const QString& text);
};
