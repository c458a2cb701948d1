#include "ui/orders/DebtsPage.h"

#include "journal/Journal.h"
#include "journal/JournalCsv.h"
#include "journal/JournalDates.h"
#include "journal/OrderPlacing.h"
#include "model/AtomicFile.h"
#include "ui/shared/Dialogs.h"
#include "ui/shared/FormHelpers.h"
#include "ui/shared/JournalRunner.h"
#include "ui/shared/PageMessage.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
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

DebtsPage::DebtsPage(JournalRunner& journal, QWidget* parent) : QWidget(parent), journal_(journal) {
    table_ = form::named(new QTableWidget, QStringLiteral("Долги"));
    form::readOnlyTable(
        table_, {QStringLiteral("Номер"), QStringLiteral("Дата"), QStringLiteral("Клиент"),
                 QStringLiteral("Телефон"), QStringLiteral("Состояние"), QStringLiteral("Итого"),
                 QStringLiteral("Оплачено"), QStringLiteral("Остаток"),
                 QStringLiteral("Дней с оформления"), QStringLiteral("Дней с готовности")});
    const int widths[] = {70, 120, 200, 130, 110, 90, 90, 90, 120};
    for (int c = 0; c < 9; ++c)
        table_->setColumnWidth(c, widths[c]);
    totals_ = form::named(new QLabel, QStringLiteral("Итоги долгов"));
    message_ = new PageMessage(QStringLiteral("Сообщение журнала"));
    refresh_ = form::named(new QPushButton(QStringLiteral("Обновить")),
                           QStringLiteral("Обновить список долгов"));
    export_ = form::named(new QPushButton(QStringLiteral("Экспорт CSV…")),
                          QStringLiteral("Экспорт долгов в CSV"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(refresh_);
    buttons->addStretch(1);
    buttons->addWidget(export_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_, 1);
    layout->addWidget(totals_);
    layout->addWidget(message_);
    layout->addLayout(buttons);
    connect(refresh_, &QPushButton::clicked, this, &DebtsPage::refresh);
    connect(export_, &QPushButton::clicked, this, &DebtsPage::exportRows);
}

void DebtsPage::refresh() {
    message_->say({}, false);
    DebtReport read;
    if (!message_->run(journal_, this, JournalSession::Action::Read,
                       [&](Journal& j) { read = j.debts(); }))
        return;
    debts_ = std::move(read);
    table_->setRowCount(static_cast<int>(debts_.lines.size()));
    for (int r = 0; r < table_->rowCount(); ++r) {
        const DebtLine& l = debts_.lines[static_cast<size_t>(r)];
        const JournalOrder& o = l.order;
        form::fillRow(table_, r,
                      {qs(orderplacing::numberText(o.number)),
                       qs(journaldates::shownTime(o.placedAt, o.utcOffset)), qs(o.customer),
                       qs(o.phone), qs(o.status), money(o.totalKopecks), money(o.paidKopecks),
                       money(o.balanceKopecks()), QString::number(l.daysSincePlaced),
                       l.daysSinceReady ? QString::number(*l.daysSinceReady) : QString()},
                      {5, 6, 7, 8, 9});
    }
    totals_->setText(QStringLiteral("Должников: %1, итого %2 руб., оплачено %3 руб., остаток %4 "
                                    "руб.")
                         .arg(debts_.lines.size())
                         .arg(money(debts_.totalKopecks), money(debts_.paidKopecks),
                              money(debts_.balanceKopecks)));
    export_->setEnabled(!debts_.lines.empty());
}

void DebtsPage::exportRows() {
    const QString path =
        dialogs::saveFile(this, QStringLiteral("долги.csv"), QStringLiteral("Файлы CSV (*.csv)"),
                          QStringLiteral("csv"));
    if (path.isEmpty())
        return;
    std::string reason;
    if (!fileio::writeFileAtomically(path.toStdString(), journalcsv::debts(debts_), &reason))
        dialogs::showError(this, qs(fileio::saveErrorMessage(path.toStdString(), reason)));
}
