#include "ui/PdfTestSupport.h"
#include "ui/ViewsTestSupport.h"

#include "text/Encoding.h"
#include "ui/Dialogs.h"
#include "ui/output/DocumentPrinter.h"
#include "ui/output/PrintCommands.h"
#include "ui/output/PrintJob.h"
#include "ui/output/PrintedDocument.h"

#include <QFile>
#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <gtest/gtest.h>

using namespace viewstest;

namespace {

// A project with the shop's logo and conditions in its config folder, printed to PDF files in
// the same temporary folder.
struct PrintWorld : ProjectWorld {
    PrintWorld() {
        QDir(folder.path()).mkpath(QStringLiteral("config"));
        Project& p = *project;
        p.order.clientName = "Иванов Пётр Сергеевич";
        p.order.address = "г. Тверь, ул. Советская, д. 12, кв. 5";
        p.order.phone = "+7 910 123-45-67";
        p.order.assemblyCost = 1500;
        p.order.deliveryCost = 800;
        p.recalculate(true);
    }

    QString configPath(const QString& name) const {
        return QDir(folder.path()).filePath(QStringLiteral("config/") + name);
    }

    void writeLogo(const QImage& logo) const {
        logo.save(configPath(QStringLiteral("logo.jpg")), "JPEG", 95);
    }

    void writeInfo(const std::string& utf8) const {
        QFile file(configPath(QStringLiteral("info.txt")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        const std::string bytes = text::utf8ToCp1251(utf8);
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }

    // The documents as a PDF file; empty path when writing failed.
    QString pdf(const DocumentChoice& choice, const QString& name = QStringLiteral("out.pdf")) {
        const QString path = QDir(folder.path()).filePath(name);
        const QString error = DocumentPrinter(*project).writePdf(path.toStdString(), choice);
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        return error.isEmpty() ? path : QString();
    }
};

} // namespace

// The whole order as the customer gets it, every page rendered under build/screenshots/ for a
// person to look at; the page numbers run from 1 to the last page.
TEST(PrintedDocuments, FullOrderPagesForTheEye) {
    PrintWorld world;
    buildThreeDoorProject(world);
    world.writeLogo(QImage(QStringLiteral(TAV_SOURCE_DIR "/data/config/logo.jpg")));
    QFile::remove(world.configPath(QStringLiteral("info.txt")));
    ASSERT_TRUE(QFile::copy(QStringLiteral(TAV_SOURCE_DIR "/data/config/info.txt"),
                            world.configPath(QStringLiteral("info.txt"))));
    const QString path = world.pdf(PrintedDocument::everything());
    const int pages = pdftest::pageCount(path);
    EXPECT_GE(pages, 4);
    QFile::remove(screenshotPath(QStringLiteral("print_order.pdf")));
    QFile::copy(path, screenshotPath(QStringLiteral("print_order.pdf")));
    for (int page = 1; page <= pages; ++page) {
        EXPECT_EQ(pdftest::firstLine(path, page), QString::number(page));
        const QImage image = pdftest::renderPage(
            path, page, 100, screenshotPath(QStringLiteral("print_order-%1").arg(page)));
        EXPECT_EQ(image.size(), QSize(827, 1170)); // A4 at 100 dots per inch
    }
}

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
    script.savePath = QDir(world.folder.path()).filePath(QStringLiteral("declined.pdf"));
    commands.print({true, false, false, false});
    EXPECT_EQ(script.questions, QStringList{QString::fromUtf8(PrintCommands::kNoPrinterQuestion)});
    EXPECT_FALSE(QFile::exists(script.savePath));

    script.acceptQuestion = true;
    script.savePath = QDir(world.folder.path()).filePath(QStringLiteral("00042.pdf"));
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

    script.printerFile = QDir(world.folder.path()).filePath(QStringLiteral("printer.pdf"));
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
    const QString missingFolder = QDir(world.folder.path()).filePath(QStringLiteral("нет/out.pdf"));
    script.savePath = missingFolder;
    commands.savePdf(PrintedDocument::everything());
    EXPECT_EQ(script.errors,
              QStringList{QStringLiteral("Ошибка сохранения файла ") + missingFolder});
    EXPECT_FALSE(QFile::exists(missingFolder));

    // A folder in the way of the file: the folder stays as it was, nothing else appears.
    const QString folderPath = QDir(world.folder.path()).filePath(QStringLiteral("busy.pdf"));
    ASSERT_TRUE(QDir().mkpath(folderPath));
    script.savePath = folderPath;
    commands.savePdf(PrintedDocument::everything());
    EXPECT_EQ(script.errors.size(), 2);
    EXPECT_TRUE(QFileInfo(folderPath).isDir());
    const QStringList left = QDir(world.folder.path()).entryList(QDir::Files);
    for (const QString& name : left)
        EXPECT_FALSE(name.startsWith(QStringLiteral("busy"))) << name.toStdString();
}
