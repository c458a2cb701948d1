#pragma once

#include "ui/printing/PrintedDocument.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <filesystem>
#include <functional>

class PrintJob;
class Project;
class QPagedPaintDevice;
class QPdfWriter;

// Prints the chosen documents of a project as one job. The printer, the print preview and the
// PDF file all go through print(), so what the shop previews is what it prints and mails.
class DocumentPrinter {
public:
    static constexpr int kPdfDpi = 300;
    static const char* const kDocumentName; // the job's name, also the PDF's title

    explicit DocumentPrinter(Project& project);

    // The whole job on a device: opens it, prints the chosen documents in their fixed order
    // with page numbers from 1, closes it. Returns the error message, empty on success. With
    // nothing chosen nothing happens.
    QString print(QPagedPaintDevice& device, const DocumentChoice& choice);

    // Prints the chosen documents into a job that is already running, so that other pages may
    // come before and after them under the same page numbering. False when a page could not be
    // started (the job must stop).
    bool printInto(PrintJob& job, const DocumentChoice& choice);

    // The documents as an A4 PDF with embedded fonts. Empty bytes and the error message in
    // 'error' on failure.
    QByteArray pdf(const DocumentChoice& choice, QString* error = nullptr);
    // The PDF written to a file (replaced whole, or left untouched on failure). Returns the
    // error message, empty on success.
    QString writePdf(const std::filesystem::path& path, const DocumentChoice& choice);

    // A4 portrait without margins (the page rectangle sets its own), kPdfDpi, named and titled.
    static void setUpPdf(QPdfWriter& writer);

    // Runs a job on a PDF writer set up as above under the given title. The bytes, or empty bytes
    // and the job's message in 'error' on failure.
    static QByteArray pdfOf(const std::function<QString(QPagedPaintDevice&)>& job,
                            const QString& title, QString* error);
    // Writes the bytes of a finished PDF in place of the file at path. Returns the error message,
    // empty on success.
    static QString writeFile(const std::filesystem::path& path, const QByteArray& bytes);

    // config/logo.jpg beside the program, and the picture read from it (null when missing or
    // unreadable).
    QString logoPath() const;
    QImage logo() const;
    // Whether that logo is too tall for the documents' heading and prints held to a fifth of an
    // A4 page's printable height (narrower than the page, its proportions kept).
    bool logoCapped() const;
    static const char* const kLogoCapped; // what the window tells the shop about it, once

    // The messages of a failed job.
    static const char* const kStartDocFailed;
    static const char* const kStartPageFailed;
    static const char* const kEndDocFailed;

private:
    Project& project_;
};
