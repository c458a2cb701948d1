#pragma once

#include "plan/CutList.h"

#include <QGroupBox>

#include <functional>
#include <optional>
#include <variant>

class CutListTable;
class QPushButton;

// One table of the cut list page under its heading, with its commands: add and remove a row,
// read the table from a CSV file ("Из файла…") and write it to one ("В файл…"). A file is read by
// the same readers as the command line's: a refusal names the file's line and leaves the table as
// it was.
class CutListTableBox : public QGroupBox {
    Q_OBJECT
public:
    // The file's rows under its header, or the refusal of the header.
    using RowsReader =
        std::function<std::variant<std::vector<CutListRow>, CutListError>(std::string_view)>;
    // The first refusal of the rows' values, if any.
    using RowsCheck = std::function<std::optional<CutListError>(const std::vector<CutListRow>&)>;

    CutListTableBox(const QString& title, const std::vector<std::string>& columns,
                    const QString& fileName, RowsReader reader, RowsCheck check,
                    QWidget* parent = nullptr);

    CutListTable* table() const { return table_; }
    QPushButton* addButton() const { return add_; }
    QPushButton* removeButton() const { return remove_; }
    QPushButton* importButton() const { return import_; }
    QPushButton* exportButton() const { return export_; }

    // Reads the file into the table; false (and the refusal shown) when it is refused.
    bool importFile(const QString& path);
    // Writes the table to the file; false (and the error shown) when it cannot be written.
    bool exportFile(const QString& path);

private:
    CutListTable* table_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* import_ = nullptr;
    QPushButton* export_ = nullptr;
    QString fileName_;
    RowsReader reader_;
    RowsCheck check_;
};
