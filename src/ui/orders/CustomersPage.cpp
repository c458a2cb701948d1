#include "ui/orders/CustomersPage.h"

#include "journal/Journal.h"
#include "journal/JournalCsv.h"
#include "journal/JournalDates.h"
#include "journal/OrderPlacing.h"
#include "ui/shared/FormHelpers.h"
#include "ui/shared/JournalRunner.h"
#include "ui/shared/PageMessage.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

QString money(int64_t kopecks) {
    return qs(journalcsv::money(kopecks));
}

} // namespace

CustomersPage::CustomersPage(JournalRunner& journal, QWidget* parent)
    : QWidget(parent), journal_(journal) {
    search_ = form::named(new QLineEdit, QStringLiteral("Поиск клиента по имени или телефону"));
    search_->setPlaceholderText(QStringLiteral("Имя или телефон"));
    search_->setClearButtonEnabled(true);
    table_ = form::named(new QTableWidget, QStringLiteral("Клиенты"));
    form::readOnlyTable(table_, {QStringLiteral("Клиент"), QStringLiteral("Телефон"),
                                 QStringLiteral("Адрес"), QStringLiteral("Заказов"),
                                 QStringLiteral("Итого"), QStringLiteral("Оплачено"),
                                 QStringLiteral("Остаток")});
    const int widths[] = {220, 140, 220, 70, 100, 100};
    for (int c = 0; c < 6; ++c)
        table_->setColumnWidth(c, widths[c]);
    orders_ = form::named(new QTableWidget, QStringLiteral("Заказы клиента"));
    form::readOnlyTable(orders_, {QStringLiteral("Номер"), QStringLiteral("Дата"),
                                  QStringLiteral("Состояние"), QStringLiteral("Итого"),
                                  QStringLiteral("Остаток")});
    name_ = form::named(new QLineEdit, QStringLiteral("Имя клиента"));
    phone_ = form::named(new QLineEdit, QStringLiteral("Телефон клиента"));
    address_ = form::named(new QLineEdit, QStringLiteral("Адрес клиента"));
    save_ = form::named(new QPushButton(QStringLiteral("Сохранить клиента")),
                        QStringLiteral("Сохранить изменения клиента"));
    message_ = new PageMessage(QStringLiteral("Сообщение журнала"));

    auto* top = new QHBoxLayout;
    top->addWidget(form::caption(QStringLiteral("Поиск:"), search_));
    top->addWidget(search_, 1);
    auto* record = new QFormLayout;
    record->addRow(form::caption(QStringLiteral("Имя:"), name_), name_);
    record->addRow(form::caption(QStringLiteral("Телефон:"), phone_), phone_);
    record->addRow(form::caption(QStringLiteral("Адрес:"), address_), address_);
    record->addRow(QString(), save_);
    auto* below = new QHBoxLayout;
    below->addWidget(orders_, 1);
    below->addLayout(record, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(table_, 2);
    layout->addLayout(below, 1);
    layout->addWidget(message_);

    connect(search_, &QLineEdit::textChanged, this, &CustomersPage::refresh);
    connect(table_, &QTableWidget::itemSelectionChanged, this, &CustomersPage::showSelected);
    connect(save_, &QPushButton::clicked, this, &CustomersPage::saveSelected);
    showSelected();
}

void CustomersPage::refresh() {
    const int64_t keep = selectedId();
    std::vector<JournalCustomer> read;
    const std::string find = search_->text().toStdString();
    if (!message_->run(journal_, this, JournalSession::Action::Read,
                       [&](Journal& j) { read = j.customers(find); }))
        return;
    message_->say({}, false);
    customers_ = std::move(read);
    const QSignalBlocker quiet(table_);
    table_->setRowCount(static_cast<int>(customers_.size()));
    int again = -1;
    for (int r = 0; r < table_->rowCount(); ++r) {
        const JournalCustomer& c = customers_[static_cast<size_t>(r)];
        form::fillRow(table_, r,
                      {qs(c.name), qs(c.phone), qs(c.address), QString::number(c.orders),
                       money(c.totalKopecks), money(c.paidKopecks), money(c.balanceKopecks())},
                      {3, 4, 5, 6});
        if (c.id == keep)
            again = r;
    }
    if (again >= 0)
        table_->selectRow(again);
    else
        table_->clearSelection();
    showSelected();
}

int64_t CustomersPage::selectedId() const {
    const QList<QTableWidgetItem*> items = table_->selectedItems();
    if (items.isEmpty())
        return 0;
    const int row = items.first()->row();
    return row >= 0 && row < static_cast<int>(customers_.size())
               ? customers_[static_cast<size_t>(row)].id
               : 0;
}

void CustomersPage::showSelected() {
    const int64_t id = selectedId();
    for (QWidget* w : std::initializer_list<QWidget*>{name_, phone_, address_, save_})
        w->setEnabled(id != 0);
    orders_->setRowCount(0);
    if (id == 0) {
        for (QLineEdit* e : {name_, phone_, address_})
            e->clear();
        return;
    }
    std::vector<JournalOrder> orders;
    for (const JournalCustomer& c : customers_)
        if (c.id == id) {
            name_->setText(qs(c.name));
            phone_->setText(qs(c.phone));
            address_->setText(qs(c.address));
        }
    if (!message_->run(journal_, this, JournalSession::Action::Read,
                       [&](Journal& j) { orders = j.ordersOf(id); }))
        return;
    orders_->setRowCount(static_cast<int>(orders.size()));
    for (int r = 0; r < orders_->rowCount(); ++r) {
        const JournalOrder& o = orders[static_cast<size_t>(r)];
        form::fillRow(orders_, r,
                      {qs(orderplacing::numberText(o.number)),
                       qs(journaldates::shownTime(o.placedAt, o.utcOffset)), qs(o.status),
                       money(o.totalKopecks), money(o.balanceKopecks())},
                      {3, 4});
    }
}

void CustomersPage::saveSelected() {
    const int64_t id = selectedId();
    if (id == 0)
        return;
    const std::string name = name_->text().toStdString();
    const std::string phone = phone_->text().toStdString();
    const std::string address = address_->text().toStdString();
    if (!message_->run(journal_, this, JournalSession::Action::Write, [&](Journal& j) {
            j.editCustomer(id, name, phone, address, journal_.salesperson());
        }))
        return;
    refresh();
    message_->say(QStringLiteral("Клиент сохранен; тексты оформленных заказов не изменены"), false);
}
