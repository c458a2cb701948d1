#include "ui/orders/DlgOrders.h"

#include "ui/shared/FormHelpers.h"

#include "journal/Journal.h"
#include "journal/JournalCsv.h"
#include "journal/JournalDates.h"
#include "journal/JournalError.h"
#include "journal/OrderStatus.h"
#include "model/AtomicFile.h"
#include "ui/orders/CustomersPage.h"
#include "ui/orders/DebtsPage.h"
#include "ui/orders/DlgMonthlyReport.h"
#include "ui/orders/DlgOrderHistory.h"
#include "ui/orders/DlgPayment.h"
#include "ui/orders/OrdersTableModel.h"
#include "ui/shared/Dialogs.h"
#include "ui/shared/JournalRunner.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

using form::caption;
using form::named;

} // namespace

DlgOrders::DlgOrders(JournalRunner& session, QWidget* parent) : QDialog(parent), session_(session) {
    setWindowTitle(QStringLiteral("Журнал заказов"));
    setAccessibleName(QStringLiteral("Журнал заказов"));
    setWindowFlag(Qt::Window);
    resize(960, 600);

    model_ = new OrdersTableModel(session_, this);

    search_ = named(new QLineEdit, QStringLiteral("Поиск по номеру, клиенту или телефону"));
    search_->setPlaceholderText(QStringLiteral("Номер, клиент или телефон"));
    search_->setClearButtonEnabled(true);
    statusFilter_ = named(new QComboBox, QStringLiteral("Фильтр по состоянию"));
    statusFilter_->addItem(QStringLiteral("Все состояния"));
    for (std::string_view s : orderstatus::kAll)
        statusFilter_->addItem(qs(std::string(s)));
    period_ = named(new QCheckBox(QStringLiteral("Период с")),
                    QStringLiteral("Показывать заказы за период"));
    const QDate today = QDate::currentDate();
    from_ = named(new QDateEdit(today.addMonths(-1)), QStringLiteral("Начало периода"));
    to_ = named(new QDateEdit(today), QStringLiteral("Конец периода"));
    for (QDateEdit* d : {from_, to_}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
        d->setEnabled(false);
    }

    auto* filters = new QHBoxLayout;
    filters->addWidget(caption(QStringLiteral("Поиск:"), search_));
    filters->addWidget(search_, 1);
    filters->addWidget(caption(QStringLiteral("Состояние:"), statusFilter_));
    filters->addWidget(statusFilter_);
    filters->addWidget(period_);
    filters->addWidget(from_);
    filters->addWidget(caption(QStringLiteral("по"), to_));
    filters->addWidget(to_);

    table_ = named(new QTableView, QStringLiteral("Заказы"));
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Several rows (Ctrl, Shift) make a batch for the workshop.
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSortingEnabled(true);
    table_->sortByColumn(OrdersTableModel::Number, Qt::DescendingOrder);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    const int widths[] = {70, 120, 230, 150, 100, 50, 100, 100, 100};
    for (int c = 0; c < OrdersTableModel::Status; ++c)
        table_->setColumnWidth(c, widths[c]);

    summary_ = named(new QLabel, QStringLiteral("Количество и сумма показанных заказов"));
    message_ = named(new QLabel, QStringLiteral("Сообщение журнала"));
    message_->setStyleSheet(QStringLiteral("color: #b00000"));
    message_->setWordWrap(true);
    message_->hide();

    open_ = named(new QPushButton(QStringLiteral("Открыть")), QStringLiteral("Открыть заказ"));
    statusChoice_ = named(new QComboBox, QStringLiteral("Новое состояние заказа"));
    for (std::string_view s : orderstatus::kAll)
        statusChoice_->addItem(qs(std::string(s)));
    setStatus_ = named(new QPushButton(QStringLiteral("Изменить состояние")),
                       QStringLiteral("Изменить состояние заказа"));
    copy_ = named(new QPushButton(QStringLiteral("Копировать как новый")),
                  QStringLiteral("Копировать как новый заказ"));
    export_ = named(new QPushButton(QStringLiteral("Экспорт CSV…")),
                    QStringLiteral("Экспорт показанных заказов в CSV"));
    report_ =
        named(new QPushButton(QStringLiteral("Отчет за месяц…")), QStringLiteral("Отчет за месяц"));
    pay_ = named(new QPushButton(QStringLiteral("Принять оплату")),
                 QStringLiteral("Принять оплату по заказу"));
    batch_ = named(new QPushButton(QStringLiteral("В партию")),
                   QStringLiteral("Выбранные заказы в партию производства"));
    revise_ = named(new QPushButton(QStringLiteral("Изменить заказ")),
                    QStringLiteral("Изменить оформленный заказ: новая редакция с тем же номером"));
    history_ = named(new QPushButton(QStringLiteral("История")),
                     QStringLiteral("История изменений заказа"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(open_);
    buttons->addWidget(revise_);
    buttons->addWidget(pay_);
    buttons->addWidget(statusChoice_);
    buttons->addWidget(setStatus_);
    buttons->addWidget(copy_);
    buttons->addWidget(batch_);
    buttons->addWidget(history_);
    buttons->addStretch(1);
    buttons->addWidget(export_);
    buttons->addWidget(report_);

    auto* ordersPage = new QWidget;
    auto* layout = new QVBoxLayout(ordersPage);
    layout->addLayout(filters);
    layout->addWidget(table_, 1);
    layout->addWidget(summary_);
    layout->addWidget(message_);
    layout->addLayout(buttons);
    debts_ = new DebtsPage(session_);
    customers_ = new CustomersPage(session_);
    pages_ = named(new QTabWidget, QStringLiteral("Страницы журнала"));
    pages_->addTab(ordersPage, QStringLiteral("Заказы"));
    pages_->addTab(debts_, QStringLiteral("Долги"));
    pages_->addTab(customers_, QStringLiteral("Клиенты"));
    pages_->tabBar()->setAccessibleName(QStringLiteral("Страницы журнала"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->addWidget(pages_);
    // A page is read when it is shown.
    connect(pages_, &QTabWidget::currentChanged, this, [this](int page) {
        if (pages_->widget(page) == debts_)
            debts_->refresh();
        else if (pages_->widget(page) == customers_)
            customers_->refresh();
    });

    connect(search_, &QLineEdit::textChanged, this, &DlgOrders::filterChanged);
    connect(statusFilter_, &QComboBox::currentIndexChanged, this, &DlgOrders::filterChanged);
    connect(period_, &QCheckBox::toggled, this, [this](bool on) {
        from_->setEnabled(on);
        to_->setEnabled(on);
        filterChanged();
    });
    connect(from_, &QDateEdit::dateChanged, this, &DlgOrders::filterChanged);
    connect(to_, &QDateEdit::dateChanged, this, &DlgOrders::filterChanged);
    connect(model_, &OrdersTableModel::failed, this, &DlgOrders::showFailure);
    connect(model_, &OrdersTableModel::summaryChanged, this, &DlgOrders::updateSummary);
    connect(model_, &QAbstractItemModel::modelReset, this, &DlgOrders::updateButtons);
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &DlgOrders::updateButtons);
    connect(table_, &QAbstractItemView::activated, this, [this] { openSelected(Open::View); });
    connect(open_, &QPushButton::clicked, this, [this] { openSelected(Open::View); });
    connect(revise_, &QPushButton::clicked, this, [this] { openSelected(Open::Revise); });
    connect(copy_, &QPushButton::clicked, this, [this] { openSelected(Open::Copy); });
    connect(history_, &QPushButton::clicked, this, &DlgOrders::showHistory);
    connect(statusChoice_, &QComboBox::currentIndexChanged, this, &DlgOrders::updateButtons);
    connect(setStatus_, &QPushButton::clicked, this, &DlgOrders::changeStatus);
    connect(export_, &QPushButton::clicked, this, &DlgOrders::exportRows);
    connect(report_, &QPushButton::clicked, this, &DlgOrders::showReport);
    connect(pay_, &QPushButton::clicked, this, &DlgOrders::takePayment);
    connect(batch_, &QPushButton::clicked, this, [this] {
        const std::vector<int64_t> numbers = selectedNumbers();
        if (!numbers.empty())
            emit batchRequested(QList<qint64>(numbers.begin(), numbers.end()));
    });

    refresh();
}

void DlgOrders::refresh() {
    // What the user may do is read once the journal answers (the connection's user stays).
    if (!rightsRead_) {
        try {
            rights_ = session_.run(this, JournalSession::Action::Read,
                                   [](Journal& journal) { return journal.rights(); });
            rightsRead_ = true;
        } catch (const JournalError& e) {
            // The orders are not read either: the window waited once already.
            showFailure(qs(e.what()));
            return;
        }
    }
    filterChanged();
    if (pages_->currentWidget() == debts_)
        debts_->refresh();
    else if (pages_->currentWidget() == customers_)
        customers_->refresh();
}

void DlgOrders::filterChanged() {
    OrderFilter f;
    f.find = search_->text().trimmed().toStdString();
    if (statusFilter_->currentIndex() > 0)
        f.status = statusFilter_->currentText().toStdString();
    if (period_->isChecked()) {
        const QDate a = from_->date(), b = to_->date();
        f.from = journaldates::localDayStart(a.year(), a.month(), a.day());
        f.to = journaldates::parseDay(b.toString(Qt::ISODate).toStdString(), true);
    }
    message_->hide();
    model_->setFilter(f);
}

void DlgOrders::showFailure(const QString& message) {
    message_->setText(message);
    message_->show();
}

void DlgOrders::updateSummary() {
    const OrderSummary& s = model_->summary();
    summary_->setText(QStringLiteral("Заказов: %1, на сумму %2 руб.")
                          .arg(s.count)
                          .arg(qs(journalcsv::money(s.totalKopecks))));
}

void DlgOrders::updateButtons() {
    const bool selected = selectedNumber() > 0;
    open_->setEnabled(selected);
    copy_->setEnabled(selected);
    pay_->setEnabled(selected);
    history_->setEnabled(selected);
    batch_->setEnabled(!selectedNumbers().empty());
    const JournalOrder* o = selected ? model_->orderAt(table_->currentIndex().row()) : nullptr;
    if (o != nullptr && sender() != statusChoice_) {
        const QSignalBlocker quiet(statusChoice_);
        statusChoice_->setCurrentText(qs(o->status));
    }
    // What the user's role may not do is greyed, and the tooltip says why.
    const std::string chosen = statusChoice_->currentText().toStdString();
    const bool mayStatus = o == nullptr || rights_.mayChangeStatus(o->status, chosen);
    setStatus_->setEnabled(o != nullptr && mayStatus && chosen != o->status);
    setStatus_->setToolTip(mayStatus ? QString()
                                     : QStringLiteral("Отменить заказ или вернуть его в прежнее "
                                                      "состояние может только менеджер"));
    const bool mayRevise = o == nullptr || rights_.mayRevise(o->status);
    revise_->setEnabled(o != nullptr && mayRevise);
    revise_->setToolTip(
        mayRevise ? QStringLiteral("Открыть заказ для изменения; оформление сохранит новую "
                                   "редакцию с тем же номером")
        : o->status == orderstatus::kCancelled
            ? QStringLiteral("Отменённый заказ изменить нельзя")
            : QStringLiteral("Изменить заказ в производстве может только менеджер"));
}

int64_t DlgOrders::selectedNumber() const {
    const QModelIndexList rows = table_->selectionModel()->selectedRows();
    if (rows.size() != 1)
        return 0;
    const JournalOrder* o = model_->orderAt(rows.first().row());
    return o ? o->number : 0;
}

std::vector<int64_t> DlgOrders::selectedNumbers() const {
    QModelIndexList rows = table_->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    std::vector<int64_t> out;
    for (const QModelIndex& i : rows)
        if (const JournalOrder* o = model_->orderAt(i.row()))
            out.push_back(o->number);
    return out;
}

void DlgOrders::openSelected(Open how) {
    const int64_t number = selectedNumber();
    if (number <= 0)
        return;
    QByteArray sketch;
    try {
        sketch = QByteArray::fromStdString(
            session_
                .run(this, JournalSession::Action::Read,
                     [&](Journal& journal) { return journal.documents(number); })
                .sketch);
    } catch (const JournalError& e) {
        // Said in the window's own message line; the main window's strip shows the journal's
        // state.
        showFailure(qs(e.what()));
        return;
    }
    if (how == Open::Copy)
        emit copyRequested(sketch, number);
    else if (how == Open::Revise)
        emit reviseRequested(sketch, number);
    else
        emit openRequested(sketch, number);
}

void DlgOrders::showHistory() {
    const int64_t number = selectedNumber();
    if (number <= 0)
        return;
    DlgOrderHistory dialog(session_, number, this);
    connect(&dialog, &DlgOrderHistory::revisionRequested, this,
            [this, &dialog](const QByteArray& sketch, qint64 n) {
                dialog.accept();
                emit openRequested(sketch, n);
            });
    dialog.exec();
}

void DlgOrders::changeStatus() {
    const int64_t number = selectedNumber();
    if (number <= 0)
        return;
    const std::string status = statusChoice_->currentText().toStdString();
    try {
        session_.run(this, JournalSession::Action::Write, [&](Journal& journal) {
            journal.setStatus(number, status, session_.salesperson());
        });
    } catch (const JournalError& e) {
        showFailure(qs(e.what()));
        return;
    }
    const int row = table_->currentIndex().row();
    model_->reload();
    if (row >= 0 && row < model_->rowCount())
        table_->selectRow(row);
}

void DlgOrders::exportRows() {
    const QString path =
        dialogs::saveFile(this, QStringLiteral("журнал заказов.csv"),
                          QStringLiteral("Файлы CSV (*.csv)"), QStringLiteral("csv"));
    if (path.isEmpty())
        return;
    const std::string text = journalcsv::orders(model_->allRows());
    std::string reason;
    if (!fileio::writeFileAtomically(path.toStdString(), text, &reason))
        dialogs::showError(this, qs(fileio::saveErrorMessage(path.toStdString(), reason)));
}

void DlgOrders::showReport() {
    DlgMonthlyReport report(session_, this);
    report.exec();
}

void DlgOrders::takePayment() {
    const QModelIndexList rows = table_->selectionModel()->selectedRows();
    const int row = rows.size() == 1 ? rows.first().row() : -1;
    const JournalOrder* o = model_->orderAt(row);
    if (o == nullptr)
        return;
    DlgPayment dialog(session_, o->number, o->balanceKopecks(), this);
    dialog.allowRefunds(rights_.mayRefund());
    paymentDialog_ = &dialog;
    const bool taken = dialog.exec() == QDialog::Accepted && dialog.payment();
    paymentDialog_ = nullptr;
    if (!taken)
        return;
    model_->reload();
    if (row >= 0 && row < model_->rowCount())
        table_->selectRow(row);
    emit paymentTaken(dialog.payment()->number, dialog.payment()->id);
}
