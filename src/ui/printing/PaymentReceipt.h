#pragma once

#include "journal/JournalOrder.h"
#include "journal/JournalPayment.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <string>

class PrintJob;
class QPagedPaintDevice;

// "Квитанция об оплате": one A4 page for the customer under the shop's logo, with the order's
// number and customer, the amount in figures and in words, the kind, the method, the date, the
// balance after the payment and the signature lines. Printed and saved as PDF as the other
// documents are.
class PaymentReceipt {
public:
    static const char* const kTitle;

    // balanceAfter: the order's balance just after this payment.
    PaymentReceipt(const JournalOrder& order, const JournalPayment& payment, int64_t balanceAfter);

    // The logo of the documents, config/logo.jpg in the data folder (none when missing).
    void setLogoFrom(const std::string& dataFolder);

    // The lines under the title, as printed.
    QStringList lines() const;

    // Prints the page into a running job. False when the page could not be started.
    bool print(PrintJob& job) const;
    // The whole job on a printer or PDF writer; the error message, empty on success.
    QString print(QPagedPaintDevice& device) const;
    // Writes the PDF (replaced whole, or left untouched on failure); the error message, empty on
    // success.
    QString writePdf(const std::filesystem::path& path) const;

private:
    JournalOrder order_;
    JournalPayment payment_;
    int64_t balanceAfter_;
    QImage logo_;
};
