#include "ui/printing/PaymentReceipt.h"

#include "catalog/DataPaths.h"
#include "journal/JournalCsv.h"
#include "journal/JournalDates.h"
#include "journal/OrderPlacing.h"
#include "text/MoneyWords.h"
#include "ui/printing/DocumentPrinter.h"
#include "ui/printing/PrintJob.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>

const char* const PaymentReceipt::kTitle = "Квитанция об оплате";

namespace {

constexpr int kWrapFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

QString roubles(int64_t kopecks) {
    return q(journalcsv::money(kopecks)) + QStringLiteral(" руб.");
}

} // namespace

PaymentReceipt::PaymentReceipt(const JournalOrder& order, const JournalPayment& payment,
                               int64_t balanceAfter)
    : order_(order), payment_(payment), balanceAfter_(balanceAfter) {}

void PaymentReceipt::setLogoFrom(const std::string& dataFolder) {
    logo_ = QImage(q(DataPaths::join(DataPaths::configPath(dataFolder), "logo.jpg")));
}

QStringList PaymentReceipt::lines() const {
    QStringList out = {
        QStringLiteral("Заказ № %1 от %2")
            .arg(q(orderplacing::numberText(order_.number)),
                 q(journaldates::shownTime(order_.placedAt, order_.utcOffset)).left(10)),
        QStringLiteral("Клиент: ") + q(order_.customer),
        QStringLiteral("Вид платежа: ") + q(payment_.kind),
        QStringLiteral("Способ оплаты: ") + q(payment_.method),
        QStringLiteral("Дата: ") + q(journaldates::shownTime(payment_.takenAt, payment_.utcOffset)),
        QStringLiteral("Сумма: ") + roubles(payment_.amountKopecks),
        QStringLiteral("Сумма прописью: ") + q(text::moneyInWords(payment_.amountKopecks)),
        QStringLiteral("Сумма заказа: ") + roubles(order_.totalKopecks),
        QStringLiteral("Остаток после платежа: ") + roubles(balanceAfter_),
    };
    if (!payment_.note.empty())
        out << QStringLiteral("Примечание: ") + q(payment_.note);
    return out;
}

bool PaymentReceipt::print(PrintJob& job) const {
    job.setOrderLine({}, 0);
    if (!job.beginPage())
        return false;
    QPainter& painter = job.painter();
    QRect& rect = job.rect();
    painter.save();
    painter.setPen(Qt::black);
    QFont title = job.headerFont();
    title.setPixelSize(job.points(16));
    title.setBold(true);
    painter.setFont(title);
    const int titleHeight = QFontMetrics(title, &job.device()).height();
    painter.drawText(QRect(rect.left(), rect.top(), rect.width(), titleHeight), Qt::AlignCenter,
                     QString::fromUtf8(kTitle));
    rect.setTop(rect.top() + titleHeight + job.points(10));

    QFont plain = job.headerFont();
    plain.setPixelSize(job.points(12));
    painter.setFont(plain);
    const QFontMetrics metrics(plain, &job.device());
    for (const QString& line : lines()) {
        const int h =
            metrics.boundingRect(QRect(0, 0, rect.width(), 1 << 20), kWrapFlags, line).height();
        painter.drawText(QRect(rect.left(), rect.top(), rect.width(), h), kWrapFlags, line);
        rect.setTop(rect.top() + h + job.points(4));
    }

    // The signature of whoever took the money, with the name under the line.
    rect.setTop(rect.top() + job.points(30));
    const QString sign =
        QStringLiteral("Деньги принял(а): ____________________ / %1 /").arg(q(payment_.takenBy));
    painter.drawText(QRect(rect.left(), rect.top(), rect.width(), metrics.height()), kWrapFlags,
                     sign);
    rect.setTop(rect.top() + metrics.height());
    painter.restore();
    return true;
}

QString PaymentReceipt::print(QPagedPaintDevice& device) const {
    if (auto* printer = dynamic_cast<QPrinter*>(&device))
        printer->setDocName(QString::fromUtf8(kTitle));
    QPainter painter;
    if (!painter.begin(&device))
        return QString::fromUtf8(DocumentPrinter::kStartDocFailed);
    PrintJob job(painter, device, logo_);
    if (!print(job)) {
        if (auto* printer = dynamic_cast<QPrinter*>(&device))
            printer->abort();
        painter.end();
        return QString::fromUtf8(DocumentPrinter::kStartPageFailed);
    }
    if (!painter.end())
        return QString::fromUtf8(DocumentPrinter::kEndDocFailed);
    return {};
}

QString PaymentReceipt::writePdf(const std::filesystem::path& path) const {
    QString error;
    const QByteArray bytes =
        DocumentPrinter::pdfOf([&](QPagedPaintDevice& device) { return print(device); },
                               QString::fromUtf8(kTitle), &error);
    if (!error.isEmpty())
        return error;
    return DocumentPrinter::writeFile(path, bytes);
}
