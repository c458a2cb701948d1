#include "ui/orders/DlgMonthlyReport.h"

#include "journal/Journal.h"
#include "journal/JournalCsv.h"
#include "journal/JournalError.h"
#include "model/AtomicFile.h"
#include "ui/shared/Dialogs.h"
#include "ui/shared/JournalRunner.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

DlgMonthlyReport::DlgMonthlyReport(JournalRunner& session, QWidget* parent)
    : QDialog(parent), session_(session) {
    setWindowTitle(QStringLiteral("Отчет за месяц"));
    setAccessibleName(QStringLiteral("Отчет за месяц"));
    resize(520, 420);

    month_ = new QDateEdit(QDate::currentDate());
    month_->setDisplayFormat(QStringLiteral("MM.yyyy"));
    month_->setAccessibleName(QStringLiteral("Месяц отчета"));
    auto* monthLabel = new QLabel(QStringLiteral("Месяц:"));
    monthLabel->setBuddy(month_);

    table_ = new QTableWidget(0, 3);
    table_->setAccessibleName(QStringLiteral("Итоги месяца по системам и продавцам"));
    table_->setHorizontalHeaderLabels(
        {QStringLiteral(""), QStringLiteral("Заказов"), QStringLiteral("Итого, руб.")});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);

    message_ = new QLabel;
    message_->setAccessibleName(QStringLiteral("Сообщение журнала"));
    message_->setStyleSheet(QStringLiteral("color: #b00000"));
    message_->setWordWrap(true);
    message_->hide();

    export_ = new QPushButton(QStringLiteral("Экспорт CSV…"));
    export_->setAccessibleName(QStringLiteral("Экспорт отчета в CSV"));
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close);
    close->button(QDialogButtonBox::Close)->setText(QStringLiteral("Закрыть"));
    close->button(QDialogButtonBox::Close)->setAccessibleName(QStringLiteral("Закрыть отчет"));

    auto* top = new QHBoxLayout;
    top->addWidget(monthLabel);
    top->addWidget(month_);
    top->addStretch(1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(export_);
    bottom->addStretch(1);
    bottom->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(table_, 1);
    layout->addWidget(message_);
    layout->addLayout(bottom);

    connect(month_, &QDateEdit::dateChanged, this, &DlgMonthlyReport::load);
    connect(export_, &QPushButton::clicked, this, &DlgMonthlyReport::exportReport);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    load();
}

void DlgMonthlyReport::load() {
    const QDate d = month_->date();
    try {
        report_ = session_.run(this, JournalSession::Action::Read, [&](Journal& journal) {
            return journal.report(d.year(), d.month());
        });
        message_->hide();
    } catch (const JournalError& e) {
        report_ = {};
        message_->setText(qs(e.what()));
        message_->show();
    }
    table_->setRowCount(0);
    auto add = [&](const QString& name, const QString& count, const QString& total, bool bold) {
        const int row = table_->rowCount();
        table_->insertRow(row);
        const QString cells[] = {name, count, total};
        for (int c = 0; c < 3; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            QFont f = item->font();
            f.setBold(bold);
            item->setFont(f);
            table_->setItem(row, c, item);
        }
    };
    auto part = [&](const QString& heading, const std::vector<MonthlyReport::Line>& lines) {
        add(heading, {}, {}, true);
        for (const MonthlyReport::Line& l : lines)
            add(qs(l.name), QString::number(l.count), qs(journalcsv::money(l.totalKopecks)), false);
    };
    part(QStringLiteral("По системам"), report_.bySystem);
    part(QStringLiteral("По продавцам"), report_.bySalesperson);
    add(QStringLiteral("Всего (без отмененных)"), QString::number(report_.all.count),
        qs(journalcsv::money(report_.all.totalKopecks)), true);
    // The money of the month: what came in by each method (counted in payments), what went back.
    part(QStringLiteral("Получено денег (платежей)"), report_.receivedByMethod);
    add(QStringLiteral("Возвраты"), QString::number(report_.refunds.count),
        qs(journalcsv::money(report_.refunds.totalKopecks)), false);
}

void DlgMonthlyReport::exportReport() {
    const QString name =
        QStringLiteral("отчет %1.csv").arg(month_->date().toString(QStringLiteral("yyyy-MM")));
    const QString path =
        dialogs::saveFile(this, name, QStringLiteral("Файлы CSV (*.csv)"), QStringLiteral("csv"));
    if (path.isEmpty())
        return;
    std::string reason;
    if (!fileio::writeFileAtomically(path.toStdString(), journalcsv::report(report_), &reason))
        dialogs::showError(this, qs(fileio::saveErrorMessage(path.toStdString(), reason)));
}
