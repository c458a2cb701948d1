#pragma once

#include "ui/printing/PrintedDocument.h"

#include <QString>

#include <functional>

class Project;
class QPrintPreviewDialog;
class QPrinter;
class QWidget;

// The window's print commands around DocumentPrinter: printing with the standard print dialog,
// the print preview and saving as PDF. Without an installed printer, printing offers the PDF.
class PrintCommands {
public:
    // The platform dialogs, replaceable so that tests run without modal windows.
    struct Hooks {
        // Whether the system knows any printer.
        std::function<bool()> printerInstalled;
        // The standard print dialog over the printer; false on cancel.
        std::function<bool(QWidget* parent, QPrinter& printer)> choosePrinter;
        // Shows the preview (which paints its pages on request) until it is closed.
        std::function<void(QPrintPreviewDialog& preview)> showPreview;
    };
    static Hooks& hooks();
    static void resetHooks();

    static const char* const kNoPrinterQuestion;
    static const char* const kPdfFilter;

    PrintCommands(Project& project, QWidget* parent);

    void print(const DocumentChoice& choice);
    void preview(const DocumentChoice& choice);
    void savePdf(const DocumentChoice& choice);

private:
    Project& project_;
    QWidget* parent_;
};
