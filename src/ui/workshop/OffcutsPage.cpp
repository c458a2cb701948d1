#include "ui/workshop/OffcutsPage.h"

#include "ui/shared/FormHelpers.h"

#include "calc/RowFormat.h"
#include "journal/BatchOffcuts.h"
#include "journal/Journal.h"
#include "journal/JournalError.h"
#include "output/LabelGrid.h"
#include "text/Format.h"
#include "ui/printing/CutListPrint.h"
#include "ui/printing/PrintCommands.h"
#include "ui/shared/Dialogs.h"
#include "ui/shared/JournalRunner.h"
#include "ui/workshop/DlgOffcutAdd.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <set>

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

using form::named;

QComboBox* choice(const QString& name) {
    auto* box = named(new QComboBox, name);
    box->setMinimumContentsLength(12);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return box;
}

std::string nameOf(const JournalOffcut& o) {
    return o.sheet ? o.materialGroup + " " + o.material : o.article + " " + o.color;
}

std::string sizeOf(const JournalOffcut& o) {
    if (!o.sheet)
        return rowformat::wholeOrTenths(o.length) + " мм";
    return rowformat::wholeOrTenths(o.width) + " × " + rowformat::wholeOrTenths(o.height) + " мм" +
           (o.canTurn ? "" : ", по текстуре");
}

std::string fromOf(const JournalOffcut& o) {
    if (o.fromBatch != 0)
        return "партия " + std::to_string(o.fromBatch);
    if (o.fromOrder != 0)
        return "заказ " + std::to_string(o.fromOrder);
    return "вручную";
}

// The chosen text of a filter; empty for its first item ("Все …").
std::string chosen(const QComboBox* box) {
    return box->currentIndex() > 0 ? box->currentText().toStdString() : std::string();
}

// Refills a filter with the names, keeping the choice when it is still there.
void refill(QComboBox* box, const QString& all, const std::set<std::string>& names) {
    const QString was = box->currentIndex() > 0 ? box->currentText() : QString();
    box->clear();
    box->addItem(all);
    for (const std::string& n : names)
        box->addItem(qs(n));
    const int at = was.isEmpty() ? 0 : box->findText(was);
    box->setCurrentIndex(at > 0 ? at : 0);
}

} // namespace

OffcutsPage::OffcutsPage(JournalRunner& session, QWidget* parent)
    : QWidget(parent), session_(session) {
    setAccessibleName(QStringLiteral("Остатки"));
    search_ = named(new QLineEdit, QStringLiteral("Код остатка"));
    search_->setPlaceholderText(QStringLiteral("О-000123: наберите или отсканируйте этикетку"));
    search_->setClearButtonEnabled(true);
    article_ = choice(QStringLiteral("Фильтр по артикулу"));
    colour_ = choice(QStringLiteral("Фильтр по цвету"));
    material_ = choice(QStringLiteral("Фильтр по материалу"));
    state_ = choice(QStringLiteral("Фильтр по состоянию"));
    state_->addItem(QStringLiteral("Все состояния"));
    for (std::string_view s : offcutstate::kAll)
        state_->addItem(qs(std::string(s)));
    state_->setCurrentIndex(1); // what is on the rack

    auto* filters = new QHBoxLayout;
    auto* searchCaption = new QLabel(QStringLiteral("Найти:"));
    searchCaption->setBuddy(search_);
    filters->addWidget(searchCaption);
    filters->addWidget(search_, 1);
    filters->addWidget(article_);
    filters->addWidget(colour_);
    filters->addWidget(material_);
    filters->addWidget(state_);

    table_ = named(new QTableWidget(0, ColumnCount), QStringLiteral("Остатки на складе"));
    table_->setHorizontalHeaderLabels({QStringLiteral("Код"), QStringLiteral("Вид"),
                                       QStringLiteral("Артикул / материал"),
                                       QStringLiteral("Размер"), QStringLiteral("Место"),
                                       QStringLiteral("Состояние"), QStringLiteral("Откуда")});
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    const int widths[] = {90, 70, 260, 190, 130, 120};
    for (int c = 0; c < From; ++c)
        table_->setColumnWidth(c, widths[c]);

    totals_ = named(new QLabel, QStringLiteral("Итоги показанных остатков"));
    totals_->setWordWrap(true);
    totals_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    message_ = new PageMessage(QStringLiteral("Сообщение склада остатков"));

    add_ = named(new QPushButton(QStringLiteral("Добавить…")),
                 QStringLiteral("Добавить остаток, найденный на стеллаже"));
    scrap_ = named(new QPushButton(QStringLiteral("Списать")),
                   QStringLiteral("Списать выбранный остаток"));
    place_ = named(new QLineEdit, QStringLiteral("Новое место остатка"));
    place_->setPlaceholderText(QStringLiteral("Новое место"));
    move_ = named(new QPushButton(QStringLiteral("Переместить")),
                  QStringLiteral("Переместить выбранный остаток"));
    label_ = named(new QPushButton(QStringLiteral("Этикетка в PDF…")),
                   QStringLiteral("Сохранить этикетку выбранного остатка"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add_);
    buttons->addWidget(scrap_);
    buttons->addSpacing(12);
    buttons->addWidget(place_);
    buttons->addWidget(move_);
    buttons->addStretch(1);
    buttons->addWidget(label_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(table_, 1);
    layout->addWidget(totals_);
    layout->addWidget(message_);
    layout->addLayout(buttons);

    connect(search_, &QLineEdit::returnPressed, this, &OffcutsPage::findTyped);
    for (QComboBox* box : {article_, colour_, material_, state_})
        connect(box, &QComboBox::currentIndexChanged, this, [this] {
            if (!filling_)
                refresh();
        });
    connect(table_, &QTableWidget::itemSelectionChanged, this, &OffcutsPage::updateButtons);
    connect(add_, &QPushButton::clicked, this, &OffcutsPage::openAddDialog);
    connect(scrap_, &QPushButton::clicked, this, &OffcutsPage::scrapSelected);
    connect(move_, &QPushButton::clicked, this, &OffcutsPage::moveSelected);
    connect(place_, &QLineEdit::returnPressed, this, &OffcutsPage::moveSelected);
    connect(place_, &QLineEdit::textChanged, this, &OffcutsPage::updateButtons);
    connect(label_, &QPushButton::clicked, this, &OffcutsPage::saveLabel);
    refresh();
}

OffcutFilter OffcutsPage::filter() const {
    OffcutFilter f;
    f.article = chosen(article_);
    f.color = chosen(colour_);
    f.material = chosen(material_);
    if (state_->currentIndex() > 0)
        f.state = state_->currentText().toStdString();
    return f;
}

bool OffcutsPage::call(JournalSession::Action action, const std::function<void(Journal&)>& work) {
    return message_->run(session_, this, action, work);
}

void OffcutsPage::say(const QString& text, bool failure) {
    message_->say(text, failure);
}

void OffcutsPage::fillChoices() {
    std::set<std::string> articles, colours, materials;
    call(JournalSession::Action::Read, [&](Journal& j) {
        for (const JournalOffcut& o : j.offcuts().list({})) {
            if (o.sheet) {
                materials.insert(o.material);
            } else {
                articles.insert(o.article);
                if (!o.color.empty())
                    colours.insert(o.color);
            }
        }
    });
    filling_ = true;
    refill(article_, QStringLiteral("Все артикулы"), articles);
    refill(colour_, QStringLiteral("Все цвета"), colours);
    refill(material_, QStringLiteral("Все материалы"), materials);
    filling_ = false;
}

void OffcutsPage::refresh() {
    const int64_t was = selectedId();
    fillChoices();
    const OffcutFilter f = filter();
    std::vector<JournalOffcut> rows;
    OffcutTotals totals;
    if (!call(JournalSession::Action::Read, [&](Journal& j) {
            OffcutStore store = j.offcuts();
            rows = store.list(f);
            totals = store.totals(f);
        }))
        rows.clear();
    shown_ = std::move(rows);
    table_->setRowCount(static_cast<int>(shown_.size()));
    for (size_t i = 0; i < shown_.size(); ++i) {
        const JournalOffcut& o = shown_[i];
        const QString cells[] = {qs(OffcutStore::idText(o.id)),
                                 o.sheet ? QStringLiteral("лист") : QStringLiteral("профиль"),
                                 qs(nameOf(o)),
                                 qs(sizeOf(o)),
                                 qs(o.place),
                                 qs(o.state),
                                 qs(fromOf(o))};
        for (int c = 0; c < ColumnCount; ++c)
            table_->setItem(static_cast<int>(i), c, new QTableWidgetItem(cells[c]));
    }
    // One line for the bars, one for the sheets.
    QStringList bars, sheets;
    for (const OffcutTotals::Line& l : totals.bars)
        bars << qs(text::format("%s: %lld шт., %.2f м", l.name.c_str(),
                                static_cast<long long>(l.count),
                                static_cast<double>(l.amount) / 10000.0));
    for (const OffcutTotals::Line& l : totals.sheets)
        sheets << qs(text::format("%s: %lld шт., %.3f м²", l.name.c_str(),
                                  static_cast<long long>(l.count),
                                  static_cast<double>(l.amount) / 1e8));
    QStringList lines;
    if (!bars.isEmpty())
        lines << QStringLiteral("Итого профиль: ") + bars.join(QStringLiteral("; "));
    if (!sheets.isEmpty())
        lines << QStringLiteral("Итого листы: ") + sheets.join(QStringLiteral("; "));
    totals_->setText(lines.isEmpty() ? QStringLiteral("Итого: остатков нет")
                                     : lines.join(QLatin1Char('\n')));
    if (was == 0 || !select(was))
        table_->clearSelection();
    updateButtons();
}

int64_t OffcutsPage::selectedId() const {
    const QList<QTableWidgetItem*> items = table_->selectedItems();
    if (items.isEmpty())
        return 0;
    const auto row = static_cast<size_t>(items.first()->row());
    return row < shown_.size() ? shown_[row].id : 0;
}

bool OffcutsPage::select(int64_t id) {
    for (size_t i = 0; i < shown_.size(); ++i) {
        if (shown_[i].id == id) {
            table_->selectRow(static_cast<int>(i));
            table_->scrollToItem(table_->item(static_cast<int>(i), 0));
            return true;
        }
    }
    return false;
}

void OffcutsPage::findTyped() {
    const QString typed = search_->text().trimmed();
    const std::optional<int64_t> id = OffcutStore::parseId(typed.toStdString());
    if (!id) {
        say(QStringLiteral("Код остатка не распознан: %1").arg(typed), true);
        return;
    }
    if (!select(*id)) {
        // Hidden by the filters: shown with every state and name, if the store has it at all.
        filling_ = true;
        for (QComboBox* box : {article_, colour_, material_, state_})
            box->setCurrentIndex(0);
        filling_ = false;
        refresh();
        if (!select(*id)) {
            say(QStringLiteral("Остаток %1 не найден на складе").arg(qs(OffcutStore::idText(*id))),
                true);
            return;
        }
    }
    say({}, false);
    search_->selectAll(); // the next scan replaces it
}

void OffcutsPage::openAddDialog() {
    if (addDialog_ != nullptr) {
        addDialog_->raise();
        return;
    }
    addDialog_ = new DlgOffcutAdd(this);
    addDialog_->setAttribute(Qt::WA_DeleteOnClose);
    connect(addDialog_, &QDialog::accepted, this, [this] {
        const JournalOffcut o = addDialog_->offcut();
        int64_t id = 0;
        if (call(JournalSession::Action::Write,
                 [&](Journal& j) { id = j.offcuts().add(o, session_.salesperson()); })) {
            refresh();
            select(id);
            say(QStringLiteral("Добавлен остаток %1").arg(qs(OffcutStore::idText(id))), false);
            emit storeChanged();
        }
    });
    connect(addDialog_, &QObject::destroyed, this, [this] { addDialog_ = nullptr; });
    addDialog_->open();
}

void OffcutsPage::scrapSelected() {
    const int64_t id = selectedId();
    if (id == 0)
        return;
    const QString name = qs(OffcutStore::idText(id));
    if (!dialogs::confirm(this, QStringLiteral("Списать остаток %1?").arg(name)))
        return;
    if (call(JournalSession::Action::Write,
             [&](Journal& j) { j.offcuts().scrap(id, session_.salesperson(), {}); })) {
        refresh();
        say(QStringLiteral("Остаток %1 списан").arg(name), false);
        emit storeChanged();
    }
}

void OffcutsPage::moveSelected() {
    const int64_t id = selectedId();
    const std::string place = place_->text().trimmed().toStdString();
    if (id == 0 || place.empty())
        return;
    if (call(JournalSession::Action::Write,
             [&](Journal& j) { j.offcuts().move(id, place, session_.salesperson()); })) {
        place_->clear();
        refresh();
        say(QStringLiteral("Остаток %1 перемещен: %2").arg(qs(OffcutStore::idText(id)), qs(place)),
            false);
        emit storeChanged();
    }
}

void OffcutsPage::saveLabel() {
    const int64_t id = selectedId();
    if (id == 0)
        return;
    JournalOffcut o;
    for (const JournalOffcut& s : shown_)
        if (s.id == id)
            o = s;
    const std::string source = o.fromBatch != 0 ? "Партия № " + std::to_string(o.fromBatch)
                               : o.fromOrder != 0 ? "Заказ " + std::to_string(o.fromOrder)
                                                  : std::string();
    const QString path =
        dialogs::saveFile(this, QStringLiteral("остаток %1.pdf").arg(qs(OffcutStore::idText(id))),
                          QString::fromUtf8(PrintCommands::kPdfFilter), QStringLiteral("pdf"));
    if (path.isEmpty())
        return;
    const QString error = CutListPrint::writeLabelsPdf({batchoffcuts::labelOf(o, source)},
                                                       LabelGrid(), path.toStdString());
    if (!error.isEmpty())
        dialogs::showError(this, error);
}

void OffcutsPage::updateButtons() {
    const int64_t id = selectedId();
    std::string state;
    for (const JournalOffcut& o : shown_)
        if (o.id == id)
            state = o.state;
    scrap_->setEnabled(id != 0 && state == offcutstate::kOnStock);
    move_->setEnabled(id != 0 && !place_->text().trimmed().isEmpty() &&
                      (state == offcutstate::kOnStock || state == offcutstate::kReserved));
    label_->setEnabled(id != 0);
}
