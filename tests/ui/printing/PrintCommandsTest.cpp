#include "ui/PdfTestSupport.h"
#include "ui/PrintTestSupport.h"

#include "ui/printing/PrintCommands.h"
#include "ui/printing/PrintedDocument.h"
#include "ui/shared/Dialogs.h"
#include "ui/shared/PictureCache.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

using namespace printtest;

namespace {

// Answers the program's dialogs while a test runs and records what they were asked.
struct ScriptedPrinting {
    bool printerInstalled = false;
    bool acceptQuestion = true;
    QString printerFile; // the print dialog sends the job to this PDF file; empty = cancel
    QString savePath;    // the answer of the save dialog; empty = cancel
    QStringList questions, errors, proposedNames, filters;
    int previews = 0;

    ScriptedPrinting() {
        dialogs::Hooks& d = dialogs::hooks();
        d.saveFile = [this](QWidget*, const QString& proposed, const QString& filter,
                            const QString&) {
            proposedNames << proposed;
            filters << filter;
            return savePath;
        };
        d.error = [this](QWidget*, const QString&, const QString& text) { errors << text; };
        d.confirm = [this](QWidget*, const QString&, const QString& text) {
            questions << text;
            return acceptQuestion;
        };
        PrintCommands::Hooks& p = PrintCommands::hooks();
        p.printerInstalled = [this] { return printerInstalled; };
        p.choosePrinter = [this](QWidget*, QPrinter& printer) {
            if (printerFile.isEmpty())
                return false;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(printerFile);
            return true;
        };
        p.showPreview = [this](QPrintPreviewDialog& preview) {
            ++previews;
            preview.show(); // the preview asks for its pages when it is first shown
            QApplication::processEvents();
            preview.close();
        };
    }
    ~ScriptedPrinting() {
        dialogs::resetHooks();
        PrintCommands::resetHooks();
    }
};

} // namespace

TEST(PrintCommandsFlow, WithoutAPrinterTheProgramOffersThePdf) {
    PrintWorld world;
    world.project->order.orderNumber = "00042";
    ScriptedPrinting script;
    PrintCommands commands(*world.project, nullptr);

    // Declining the offer writes nothing.
    script.acceptQuestion = false;
    script.savePath = world.file(QStringLiteral("declined.pdf"));
    commands.print({true, false, false, false});
    EXPECT_EQ(script.questions, QStringList{QString::fromUtf8(PrintCommands::kNoPrinterQuestion)});
    EXPECT_FALSE(QFile::exists(script.savePath));

    script.acceptQuestion = true;
    script.savePath = world.file(QStringLiteral("00042.pdf"));
    commands.print({true, true, false, false});
    EXPECT_EQ(script.questions.size(), 2);
    EXPECT_EQ(script.proposedNames.value(0), QStringLiteral("00042"));
    EXPECT_EQ(script.filters.value(0), QStringLiteral("PDF файлы (*.pdf)"));
    EXPECT_TRUE(script.errors.isEmpty());
    EXPECT_EQ(pdftest::pageCount(script.savePath), 2);
    EXPECT_TRUE(pdftest::info(script.savePath).contains(QStringLiteral("Рассчет дверей")));

    // Nothing chosen: nothing happens at all.
    commands.print({false, false, false, false});
    commands.savePdf({false, false, false, false});
    EXPECT_EQ(script.questions.size(), 2);
    EXPECT_EQ(script.proposedNames.size(), 1);
}

TEST(PrintCommandsFlow, APrinterGetsTheJobThroughThePrintDialogAndThePreviewShowsIt) {
    PrintWorld world;
    ScriptedPrinting script;
    script.printerInstalled = true;
    PrintCommands commands(*world.project, nullptr);

    commands.print(PrintedDocument::everything()); // the print dialog is cancelled
    EXPECT_TRUE(script.questions.isEmpty());

    script.printerFile = world.file(QStringLiteral("printer.pdf"));
    commands.print({false, true, false, true});
    EXPECT_TRUE(script.errors.isEmpty());
    EXPECT_EQ(pdftest::pageCount(script.printerFile), 2);
    EXPECT_TRUE(pdftest::info(script.printerFile).contains(QStringLiteral("Рассчет дверей")));
    EXPECT_EQ(pdftest::firstLine(script.printerFile, 2), QStringLiteral("2"));

    commands.preview(PrintedDocument::everything());
    EXPECT_EQ(script.previews, 1);
    EXPECT_TRUE(script.errors.isEmpty());
}

TEST(PrintCommandsFlow, APdfPathThatCannotBeWrittenGivesTheErrorAndLeavesNoFile) {
    PrintWorld world;
    ScriptedPrinting script;
    PrintCommands commands(*world.project, nullptr);
    const QString missingFolder = world.file(QStringLiteral("нет/out.pdf"));
    script.savePath = missingFolder;
    commands.savePdf(PrintedDocument::everything());
    EXPECT_EQ(script.errors,
              QStringList{QStringLiteral("Ошибка сохранения файла ") + missingFolder});
    EXPECT_FALSE(QFile::exists(missingFolder));

    // A folder in the way of the file: the folder stays as it was, nothing else appears.
    const QString folderPath = world.file(QStringLiteral("busy.pdf"));
    ASSERT_TRUE(QDir().mkpath(folderPath));
    script.savePath = folderPath;
    commands.savePdf(PrintedDocument::everything());
    EXPECT_EQ(script.errors.size(), 2);
    EXPECT_TRUE(QFileInfo(folderPath).isDir());
    const QStringList left = QDir(world.folder.path()).entryList(QDir::Files);
    for (const QString& name : left)
        EXPECT_FALSE(name.startsWith(QStringLiteral("busy"))) << name.toStdString();
}

// The sketch on paper decodes the material pictures at the printer's resolution; none of them may
// stay in memory after printing, the preview or the PDF.
TEST(PrintCommandsFlow, PrintingPreviewAndPdfKeepNoPicturesDecodedForPaper) {
    PrintWorld world;
    world.buildTenDoorOrder();
    ScriptedPrinting script;
    script.printerInstalled = true;
    script.printerFile = world.file(QStringLiteral("printer.pdf"));
    script.savePath = world.file(QStringLiteral("saved.pdf"));
    PrintCommands commands(*world.project, nullptr);
    PictureCache& cache = PictureCache::shared();
    const std::vector<std::pair<const char*, std::function<void()>>> jobs = {
        {"print", [&] { commands.print(PrintedDocument::everything()); }},
        {"preview", [&] { commands.preview(PrintedDocument::everything()); }},
        {"pdf", [&] { commands.savePdf(PrintedDocument::everything()); }},
    };
    for (const auto& [name, job] : jobs) {
        cache.clear();
        const long long decodedBefore = cache.decodeCalls();
        job();
        EXPECT_GT(cache.decodeCalls(), decodedBefore) << name << ": the sketch was printed";
        EXPECT_EQ(cache.decodedCount(), 0) << name;
        EXPECT_EQ(cache.scaledCount(), 0) << name;
    }
    EXPECT_EQ(script.previews, 1);
    EXPECT_TRUE(script.errors.isEmpty()) << script.errors.join(';').toStdString();
    EXPECT_TRUE(QFile::exists(script.printerFile));
    EXPECT_TRUE(QFile::exists(script.savePath));
}
