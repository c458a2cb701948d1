// Faults found taking orders in the real window as a salesperson does: popups that must not be
// worked under another popup, the keyboard after a popup, Qt's own dialogs in Russian.
#include "ui/ShellTestSupport.h"
#include "ui/SketchDriver.h"

#include "app/CtavrolabDlg.h"
#include "catalog/MaterialGroup.h"
#include "ui/materials/CThumbListCtrl.h"
#include "ui/materials/DlgDoorSize.h"
#include "ui/materials/DlgSplitter.h"
#include "ui/materials/DlgZoomMaterial.h"
#include "ui/materials/RightPanelDlg.h"
#include "ui/printing/DlgPrint.h"
#include "ui/printing/DocumentPrinter.h"
#include "ui/printing/PrintCommands.h"
#include "ui/results/InfoPanelDlg.h"
#include "ui/shared/Dialogs.h"
#include "ui/shared/PictureButton.h"
#include "ui/shared/Translations.h"
#include "ui/toppanel/DlgSystems.h"
#include "ui/toppanel/TopPanelDlg.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace shelltest;

namespace {

struct SalespersonFixture : ::testing::Test {
    World world{true};
    std::unique_ptr<CtavrolabDlg> window;
    sketchtest::SketchDriver driver;

    void SetUp() override {
        window = std::make_unique<CtavrolabDlg>(*world.project);
        window->show();
        QApplication::processEvents();
        driver.sketch = static_cast<DraftDlg*>(window->sketch());
        driver.project = world.project.get();
        driver.draw();
    }
    Project& project() { return *world.project; }
    RightPanelDlg* materials() { return window->materialsPanel(); }
};

TEST_F(SalespersonFixture, NoSelectionPopupStaysOpenUnderTheDoorWidthsDialog) {
    TopPanelDlg* top = window->topPanel();
    QTest::mouseClick(top->systemButton(), Qt::LeftButton);
    ASSERT_TRUE(top->systemsPopup()->isVisible());
    QTest::mouseClick(materials()->splitterButton(), Qt::LeftButton);
    ASSERT_TRUE(materials()->splitterPopup()->isVisible());
    QTest::mouseClick(materials()->doorSizeButton(), Qt::LeftButton);
    ASSERT_TRUE(materials()->doorSizeDialog()->isVisible());
    // A system chosen now would get the dialog's stale widths on ОК.
    EXPECT_FALSE(top->systemsPopup()->isVisible());
    EXPECT_FALSE(materials()->splitterPopup()->isVisible());
    materials()->doorSizeDialog()->reject();
    EXPECT_TRUE(top->isEnabled());
}

TEST_F(SalespersonFixture, ThePlacementPopupOpensBesideTheInsertAndCtrlZUndoesThePlacing) {
    // Choose the insert of door 2 on the sketch, then a material with "Масштабирование".
    const Insert& insert = driver.door(1).inserts.begin()->second;
    driver.click(sketchtest::centre(insert.rect));
    ASSERT_EQ(driver.door(1).materialTarget, &insert);
    QTest::mouseClick(materials()->pageButton(RightPanelDlg::FillingPage), Qt::LeftButton);
    QTest::mouseClick(materials()->placementToggle(), Qt::LeftButton);
    CThumbListCtrl* thumbs = materials()->thumbnails();
    ASSERT_TRUE(thumbs->waitForThumbnails(5000));
    QTest::mouseClick(thumbs->viewport(), Qt::LeftButton, {},
                      thumbs->visualItemRect(thumbs->item(0)).center());
    DlgZoomMaterial* zoom = materials()->placementPopup();
    ASSERT_TRUE(zoom->isVisible());
    const QRect onScreen(driver.sketch->mapToGlobal(QPoint(insert.rect.left, insert.rect.top)),
                         QSize(insert.rect.width(), insert.rect.height()));
    EXPECT_FALSE(zoom->frameGeometry().intersects(onScreen))
        << "the popup covers the insert it is about";
    EXPECT_TRUE(window->geometry().contains(zoom->geometry().topLeft()));

    QTest::mouseClick(zoom->insertButton(), Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_NE(driver.door(1).inserts.begin()->second.material, nullptr);
    EXPECT_EQ(QApplication::activeWindow(), window.get());
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(driver.door(1).inserts.begin()->second.material, nullptr)
        << "Ctrl+Z right after the popup undoes the placing";

    // An insert low on the sketch: the popup rises so that all of it stays in the window.
    ASSERT_NE(driver.splitAt(1, 0.5, 0.9, false), nullptr);
    const Insert* low = nullptr;
    for (const auto& [id, in] : driver.door(1).inserts)
        if (low == nullptr || in.rect.top > low->rect.top)
            low = &in;
    ASSERT_NE(low, nullptr);
    driver.click(sketchtest::centre(low->rect));
    ASSERT_EQ(driver.door(1).materialTarget, low);
    QTest::mouseClick(thumbs->viewport(), Qt::LeftButton, {},
                      thumbs->visualItemRect(thumbs->item(0)).center());
    ASSERT_TRUE(zoom->isVisible());
    const QPoint lowTop = driver.sketch->mapToGlobal(QPoint(low->rect.left, low->rect.top));
    ASSERT_GT(lowTop.y() + zoom->height(), window->geometry().bottom())
        << "the insert is not low enough for the popup to reach below the window";
    // Its door lists and buttons are within reach, inside the window.
    const QWidget* parts[] = {zoom->fromList(), zoom->toList(), zoom->insertButton(),
                              zoom->doorsButton()};
    for (const QWidget* w : parts) {
        const QRect global(w->mapToGlobal(QPoint(0, 0)), w->size());
        EXPECT_TRUE(window->geometry().contains(global))
            << w->accessibleName().toStdString() << " at " << global.y() << "+" << global.height()
            << ", window bottom " << window->geometry().bottom();
    }
    zoom->reject();
}

// Qt's own windows read Russian once the program has loaded Qt's translation.
TEST(QtRussian, FileDialogAndQuestionBoxSpeakRussianAndTheQuestionStaysOnTop) {
    ensureApp();
    ASSERT_TRUE(translations::installQtRussian(*QCoreApplication::instance()))
        << "qtbase_ru.qm is missing (package qt6-translations-l10n)";
    std::unique_ptr<QMessageBox> box =
        dialogs::questionBox(nullptr, QStringLiteral("Подтверждение"),
                             QStringLiteral("Очистить эскиз, удалив все разделители и материалы?"));
    EXPECT_TRUE(box->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(box->button(QMessageBox::Cancel)->text(), QStringLiteral("Отмена"));

    QFileDialog dlg(nullptr, QString(), QString(), QString::fromUtf8(dialogs::kSketchFilter));
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    QStringList texts;
    for (QLabel* l : dlg.findChildren<QLabel*>())
        texts << l->text();
    for (QAbstractButton* b : dlg.findChildren<QAbstractButton*>())
        texts << b->text();
    const QString all = texts.join(QLatin1Char('|'));
    EXPECT_TRUE(all.contains(QStringLiteral("Отмена"))) << all.toStdString();
    EXPECT_FALSE(all.contains(QStringLiteral("Cancel"))) << all.toStdString();
    EXPECT_FALSE(all.contains(QStringLiteral("File name"))) << all.toStdString();
}

// A logo too tall for the heading prints smaller; the strip says so at the first printing of the
// window and not again, and says nothing of a logo that fits.
TEST(LogoNotice, ATallLogoIsToldOnceOnTheInformationStrip) {
    struct Case {
        QSize logo;
        bool told;
    };
    for (const Case& c : {Case{{400, 1200}, true}, Case{{1600, 200}, false}, Case{{}, false}}) {
        SCOPED_TRACE(testing::Message() << c.logo.width() << "x" << c.logo.height());
        World world(true);
        if (!c.logo.isEmpty()) {
            QImage logo(c.logo, QImage::Format_RGB32);
            logo.fill(Qt::darkGreen);
            ASSERT_TRUE(logo.save(world.path(QStringLiteral("config/logo.jpg")), "JPEG"));
        }
        PrintCommands::hooks().showPreview = [](QPrintPreviewDialog&) {};
        CtavrolabDlg window(*world.project);
        window.show();
        auto* strip = static_cast<InfoPanelDlg*>(window.infoPanel());
        DlgPrint* print = window.topPanel()->printDialog();
        emit print->previewRequested(PrintedDocument::everything());
        EXPECT_EQ(strip->warning(),
                  c.told ? QString::fromUtf8(DocumentPrinter::kLogoCapped) : QString());
        if (c.told)
            window.grab().save(screenshotPath(QStringLiteral("logo_capped_notice.png")));
        window.warn(QString());
        emit print->previewRequested(PrintedDocument::everything());
        EXPECT_TRUE(strip->warning().isEmpty()) << "told only once";
        PrintCommands::resetHooks();
    }
}

} // namespace
