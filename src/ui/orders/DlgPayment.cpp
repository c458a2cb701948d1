#include "ui/orders/DlgPayment.h"

#include "journal/Journal.h"
#include "journal/JournalCsv.h"
#include "journal/JournalError.h"
#include "journal/OrderPlacing.h"
#include "text/Decimal.h"
#include "ui/shared/JournalRunner.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QUuid>
#include <QVBoxLayout>

namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

template <class W>
W* named(W* widget, const QString& name) {
    widget->setAccessibleName(name);
    return widget;
}

} // namespace

DlgPayment::DlgPayment(JournalRunner& session, int64_t number, int64_t balanceKopecks,
                       QWidget* parent)
    : QDialog(parent), session_(session), number_(number),
      key_("window:" + QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString()) {
    setWindowTitle(QStringLiteral("Принять оплату"));
    setAccessibleName(QStringLiteral("Принять оплату"));

    amount_ = named(new QLineEdit, QStringLiteral("Сумма платежа, руб."));
    amount_->setPlaceholderText(QStringLiteral("1500,00"));
    kind_ = named(new QComboBox, QStringLiteral("Вид платежа"));
    for (std::string_view k : journalpayment::kKinds)
        kind_->addItem(qs(k));
    method_ = named(new QComboBox, QStringLiteral("Способ оплаты"));
    for (std::string_view m : journalpayment::kMethods)
        method_->addItem(qs(m));
    note_ = named(new QLineEdit, QStringLiteral("Примечание к платежу"));
    message_ = named(new QLabel, QStringLiteral("Сообщение о платеже"));
    message_->setStyleSheet(QStringLiteral("color: #b00000"));
    message_->setWordWrap(true);
    message_->hide();

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Заказ:"),
                 new QLabel(qs(orderplacing::numberText(number)) + QStringLiteral(", остаток ") +
                            qs(journalcsv::money(balanceKopecks)) + QStringLiteral(" руб.")));
    form->addRow(QStringLiteral("Сумма, руб.:"), amount_);
    form->addRow(QStringLiteral("Вид:"), kind_);
    form->addRow(QStringLiteral("Способ:"), method_);
    form->addRow(QStringLiteral("Примечание:"), note_);

    ok_ = named(new QPushButton(QStringLiteral("Принять")), QStringLiteral("Принять платеж"));
    ok_->setDefault(true);
    cancel_ = named(new QPushButton(QStringLiteral("Отмена")), QStringLiteral("Отмена"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(message_);
    layout->addLayout(buttons);

    connect(ok_, &QPushButton::clicked, this, &DlgPayment::record);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void DlgPayment::record() {
    const std::string typed = amount_->text().trimmed().toStdString();
    const text::Decimal amount = text::parseDecimal(typed, 2);
    if (typed.empty() || amount.fault != text::Decimal::Fault::None || amount.value <= 0) {
        message_->setText(
            QStringLiteral("Неверная сумма: укажите рубли, копейки после запятой (1500,50)"));
        message_->show();
        return;
    }
    try {
        payment_ = session_.run(this, JournalSession::Action::KeyedWrite, [&](Journal& journal) {
            return journal.pay(number_, amount.value, kind_->currentText().toStdString(),
                               method_->currentText().toStdString(),
                               note_->text().trimmed().toStdString(), session_.salesperson(), key_);
        });
    } catch (const JournalError& e) {
        message_->setText(QString::fromStdString(e.what()));
        message_->show();
        return;
    }
    accept();
}

void DlgPayment::allowRefunds(bool allowed) {
    auto* items = qobject_cast<QStandardItemModel*>(kind_->model());
    const int refund = kind_->findText(qs(std::string(journalpayment::kRefund)));
    if (items == nullptr || refund < 0)
        return;
    items->item(refund)->setEnabled(allowed);
    kind_->setItemData(refund,
                       allowed ? QVariant()
                               : QVariant(QStringLiteral("Возврат денег может провести только "
                                                         "менеджер")),
                       Qt::ToolTipRole);
    if (!allowed && kind_->currentIndex() == refund)
        kind_->setCurrentIndex(0);
}
