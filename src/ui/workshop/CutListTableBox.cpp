#include "ui/workshop/CutListTableBox.h"

#include "model/AtomicFile.h"
#include "ui/shared/Dialogs.h"
#include "ui/workshop/CutListTable.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char* const kCsvFilter = "Таблицы CSV (*.csv)";

QPushButton* button(const QString& text, const QString& tip, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setToolTip(tip);
    b->setAccessibleName(tip);
    return b;
}

} // namespace

CutListTableBox::CutListTableBox(const QString& title, const std::vector<std::string>& columns,
                                 const QString& fileName, RowsReader reader, RowsCheck check,
                                 QWidget* parent)
    : QGroupBox(title, parent), fileName_(fileName), reader_(std::move(reader)),
      check_(std::move(check)) {
    table_ = new CutListTable(columns, QStringLiteral("Таблица «%1»").arg(title), this);
    add_ = button(QStringLiteral("Добавить строку"),
                  QStringLiteral("Добавить строку в таблицу «%1»").arg(title), this);
    remove_ = button(QStringLiteral("Удалить строку"),
                     QStringLiteral("Удалить выбранные строки таблицы «%1»").arg(title), this);
    import_ = button(QStringLiteral("Из файла…"),
                     QStringLiteral("Заменить таблицу «%1» строками файла CSV").arg(title), this);
    export_ = button(QStringLiteral("В файл…"),
                     QStringLiteral("Сохранить таблицу «%1» в файл CSV").arg(title), this);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {add_, remove_, import_, export_})
        buttons->addWidget(b);
    buttons->addStretch(1);
    auto* box = new QVBoxLayout(this);
    box->addWidget(table_, 1);
    box->addLayout(buttons);

    connect(add_, &QPushButton::clicked, table_, &CutListTable::addRow);
    connect(remove_, &QPushButton::clicked, table_, &CutListTable::removeSelectedRows);
    connect(import_, &QPushButton::clicked, this, [this] {
        const QString path =
            dialogs::openFile(this, QString::fromUtf8(kCsvFilter), QStringLiteral("csv"));
        if (!path.isEmpty())
            importFile(path);
    });
    connect(export_, &QPushButton::clicked, this, [this] {
        const QString path = dialogs::saveFile(this, fileName_, QString::fromUtf8(kCsvFilter),
                                               QStringLiteral("csv"));
        if (!path.isEmpty())
            exportFile(path);
    });
}

bool CutListTableBox::importFile(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    const std::optional<std::string> bytes = fileio::readWholeFile(path.toStdString());
    if (!bytes) {
        dialogs::showError(this, QStringLiteral("Не удалось открыть файл %1").arg(path));
        return false;
    }
    auto rows = reader_(*bytes);
    std::optional<CutListError> refusal;
    if (const auto* e = std::get_if<CutListError>(&rows))
        refusal = *e;
    else
        refusal = check_(std::get<std::vector<CutListRow>>(rows));
    if (refusal) {
        dialogs::showError(this,
                           QStringLiteral("Файл %1 не прочитан, таблица «%2» не изменена.\n%3")
                               .arg(name, title(), QString::fromStdString(refusal->message)));
        return false;
    }
    table_->setRows(std::get<std::vector<CutListRow>>(rows));
    return true;
}

bool CutListTableBox::exportFile(const QString& path) {
    std::string reason;
    if (!fileio::writeFileAtomically(path.toStdString(), table_->csv().toStdString(), &reason)) {
        dialogs::showError(
            this, QString::fromStdString(fileio::saveErrorMessage(path.toStdString(), reason)));
        return false;
    }
    return true;
}
