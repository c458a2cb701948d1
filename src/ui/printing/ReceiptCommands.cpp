#include "ui/printing/ReceiptCommands.h"

#include "journal/Journal.h"
#include "journal/JournalError.h"
#include "ui/printing/PaymentReceipt.h"
#include "ui/printing/PrintCommands.h"
#include "ui/shared/Dialogs.h"
#include "ui/shared/JournalRunner.h"

#include <QPrinter>

#include <optional>

namespace receiptcommands {

void offer(JournalRunner& session, int64_t number, int64_t paymentId, const std::string& dataFolder,
           QWidget* parent) {
    const int choice = dialogs::ask(
        parent, QStringLiteral("Платеж принят. Напечатать квитанцию об оплате?"),
        {QStringLiteral("Печать…"), QStringLiteral("Сохранить PDF…"), QStringLiteral("Не нужна")},
        2, QString::fromUtf8(PaymentReceipt::kTitle));
    if (choice != 0 && choice != 1)
        return;
    std::optional<PaymentReceipt> receipt;
    try {
        session.run(parent, JournalSession::Action::Read, [&](Journal& journal) {
            const JournalOrder order = journal.order(number);
            const std::vector<JournalPayment> payments = journal.payments(number);
            for (const JournalPayment& p : payments)
                if (p.id == paymentId)
                    receipt.emplace(
                        order, p,
                        journalpayment::balanceAfter(order.totalKopecks, payments, paymentId));
        });
    } catch (const JournalError& e) {
        dialogs::showError(parent, QString::fromStdString(e.what()));
        return;
    }
    if (!receipt)
        return;
    receipt->setLogoFrom(dataFolder);
    // Without a printer, printing offers the PDF, as for the other documents.
    int how = choice;
    if (how == 0 && !PrintCommands::hooks().printerInstalled()) {
        if (!dialogs::confirm(parent, QString::fromUtf8(PrintCommands::kNoPrinterQuestion)))
            return;
        how = 1;
    }
    QString error;
    if (how == 1) {
        const QString path =
            dialogs::saveFile(parent, QStringLiteral("квитанция %1.pdf").arg(paymentId),
                              QString::fromUtf8(PrintCommands::kPdfFilter), QStringLiteral("pdf"));
        if (path.isEmpty())
            return;
        error = receipt->writePdf(path.toStdString());
    } else {
        QPrinter printer(QPrinter::HighResolution);
        printer.setDocName(QString::fromUtf8(PaymentReceipt::kTitle));
        if (!PrintCommands::hooks().choosePrinter(parent, printer))
            return;
        error = receipt->print(printer);
    }
    if (!error.isEmpty())
        dialogs::showError(parent, error);
}

} // namespace receiptcommands
