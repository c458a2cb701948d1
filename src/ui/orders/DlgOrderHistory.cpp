#include "ui/orders/DlgOrderHistory.h"

#include "journal/Journal.h"
#include "journal/JournalCsv.h"
#include "journal/JournalDates.h"
#include "journal/OrderPlacing.h"
#include "ui/shared/FormHelpers.h"
#include "ui/shared/JournalRunner.h"
#include "ui/shared/PageMessage.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

DlgOrderHistory::DlgOrderHistory(JournalRunner& journal, int64_t number, QWidget* parent)
    : QDialog(parent), journal_(journal), number_(number) {
    const QString shown = qs(orderplacing::numberText(number));
    setWindowTitle(QStringLiteral("История заказа %1").arg(shown));
    resize(900, 520);
    changes_ = form::named(new QTableWidget, QStringLiteral("Изменения заказа"));
    form::readOnlyTable(changes_,
                        {QStringLiteral("Когда"), QStringLiteral("Кто"), QStringLiteral("Действие"),
                         QStringLiteral("Что"), QStringLiteral("Было"), QStringLiteral("Стало"),
                         QStringLiteral("Примечание")});
    const int widths[] = {120, 110, 100, 150, 160, 160};
    for (int c = 0; c < 6; ++c)
        changes_->setColumnWidth(c, widths[c]);
    revisions_ = form::named(new QTableWidget, QStringLiteral("Редакции заказа"));
    form::readOnlyTable(revisions_,
                        {QStringLiteral("Редакция"), QStringLiteral("Когда"), QStringLiteral("Кто"),
                         QStringLiteral("Итого"), QStringLiteral("Причина")});
    open_ = form::named(new QPushButton(QStringLiteral("Открыть редакцию")),
                        QStringLiteral("Открыть выбранную редакцию заказа"));
    message_ = new PageMessage(QStringLiteral("Сообщение журнала"));
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close);
    close->button(QDialogButtonBox::Close)->setText(QStringLiteral("Закрыть"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(changes_, 3);
    layout->addWidget(new QLabel(QStringLiteral("Редакции:")));
    layout->addWidget(revisions_, 1);
    layout->addWidget(message_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(open_);
    buttons->addStretch(1);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(open_, &QPushButton::clicked, this, &DlgOrderHistory::openSelected);
    connect(revisions_, &QTableWidget::itemSelectionChanged, this,
            [this] { open_->setEnabled(!revisions_->selectedItems().isEmpty()); });

    std::vector<HistoryEntry> entries;
    if (!message_->run(journal_, this, JournalSession::Action::Read, [&](Journal& j) {
            entries = j.changes(number_);
            list_ = j.revisions(number_);
        }))
        return;
    changes_->setRowCount(static_cast<int>(entries.size()));
    for (int r = 0; r < changes_->rowCount(); ++r) {
        const HistoryEntry& e = entries[static_cast<size_t>(r)];
        form::fillRow(
            changes_, r,
            {qs(journaldates::shownTime(e.at, e.utcOffset)),
             qs(e.who == e.byName || e.byName.empty() ? e.who : e.who + " (" + e.byName + ")"),
             qs(e.action), qs(e.subject), qs(e.oldValue), qs(e.newValue), qs(e.note)});
    }
    revisions_->setRowCount(static_cast<int>(list_.size()));
    for (int r = 0; r < revisions_->rowCount(); ++r) {
        const OrderRevision& v = list_[static_cast<size_t>(r)];
        form::fillRow(
            revisions_, r,
            {QString::number(v.revision) + (v.current ? QStringLiteral(" (текущая)") : QString()),
             qs(journaldates::shownTime(v.madeAt, journaldates::utcOffsetAt(v.madeAt))),
             qs(v.madeBy), qs(journalcsv::money(v.totalKopecks)), qs(v.reason)},
            {3});
    }
    open_->setEnabled(false);
}

void DlgOrderHistory::openSelected() {
    const QList<QTableWidgetItem*> items = revisions_->selectedItems();
    if (items.isEmpty())
        return;
    const OrderRevision& v = list_.at(static_cast<size_t>(items.first()->row()));
    JournalDocuments docs;
    if (!message_->run(journal_, this, JournalSession::Action::Read,
                       [&](Journal& j) { docs = j.revisionDocuments(number_, v.revision); }))
        return;
    emit revisionRequested(QByteArray::fromStdString(docs.sketch), number_);
}
