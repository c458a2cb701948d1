// Autosave, recovery at start, the lock beside an opened file and the recent files, in one
// process; the program killed and started again is in ProcessRecoveryTest.
#include "app/OrderDocumentSupport.h"

#include "app/RecoveryStore.h"
#include "model/AtomicFile.h"
#include "model/RecoveryCopy.h"
#include "text/ByteWriter.h"
#include "ui/SketchDriver.h"
#include "ui/results/InfoPanelDlg.h"
#include "ui/shared/Dialogs.h"
#include "ui/sketch/DraftDlg.h"
#include "ui/sketch/SizeDlg.h"
#include "ui/toppanel/ProjectMenu.h"

#include <QDateTime>
#include <QLockFile>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <QToolButton>

using namespace doctest;

namespace {

QByteArray copySketch(const QString& path) {
    const QByteArray bytes = fileBytes(path);
    const RecoveryCopy::Decoded d = RecoveryCopy::decode(bytes.toStdString());
    EXPECT_EQ(d.status, RecoveryCopy::Status::Ok) << d.reason;
    return QByteArray::fromStdString(d.copy.sketch);
}

TEST_F(DocumentWindow, AutosaveWritesOnceAfterAChangeAndNeverWhenNothingChanged) {
    AutosaveWriter& writer = document().writer();
    waitForWriter(400);
    EXPECT_EQ(writer.writes(), 0) << "an untouched project";
    EXPECT_FALSE(QFileInfo::exists(document().recoveryPath()));

    typeWidth(2600);
    waitForWriter(400);
    EXPECT_EQ(writer.writes(), 1);
    EXPECT_EQ(copySketch(document().recoveryPath()), projectBytes());
    EXPECT_TRUE(document().recoveryPath().startsWith(stateFolder()));
    waitForWriter(400);
    EXPECT_EQ(writer.writes(), 1) << "nothing changed since";

    // Undoing back to the state opened removes the copy: there is nothing to recover.
    window->setFocus();
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    waitForWriter(400);
    EXPECT_EQ(writer.writes(), 1);
    EXPECT_FALSE(QFileInfo::exists(document().recoveryPath()));

    // A save removes it too.
    typeWidth(2700);
    waitForWriter(400);
    EXPECT_TRUE(QFileInfo::exists(document().recoveryPath()));
    dialogs.saveAnswers.push_back(world.path(QStringLiteral("сохранён.tav")));
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    document().writer().waitIdle();
    EXPECT_FALSE(QFileInfo::exists(document().recoveryPath()));
    EXPECT_EQ(writer.writes(), 2);
}

TEST_F(DocumentWindow, NoAutosaveWhileASplitterIsDraggedAndTheCopyFollowsTheDrop) {
    sketchtest::SketchDriver mouse{static_cast<DraftDlg*>(window->sketch()), world.project.get()};
    mouse.draw();
    Splitter* s = mouse.splitAt(0, 0.5, 0.5, false);
    ASSERT_NE(s, nullptr);
    mouse.draw();
    const QPoint from = sketchtest::centre(s->rect);
    // The split is not written yet when the drag begins.
    mouse.hover(from);
    QTest::mousePress(mouse.sketch, Qt::LeftButton, {}, from);
    QTest::mouseMove(mouse.sketch, from + QPoint(0, 30));
    ASSERT_TRUE(mouse.sketch->isDragging());
    waitForWriter(600);
    EXPECT_EQ(document().writer().writes(), 0);
    QTest::mouseRelease(mouse.sketch, Qt::LeftButton, {}, from + QPoint(0, 40));
    if (SizeDlg* popup = mouse.sketch->sizePopup(); popup && popup->isVisible())
        popup->confirm();
    mouse.draw();
    // Once the splitter is let go, the copy follows with the splitter where it was dropped.
    waitForWriter(600);
    EXPECT_EQ(document().writer().writes(), 1);
    EXPECT_EQ(copySketch(document().recoveryPath()), projectBytes());
}

TEST_F(DocumentWindow, AnUnwritableStateFolderWarnsOnceAndEditingGoesOn) {
    // A state folder below a plain file cannot be made, whoever runs the test.
    QFile blocker(home.filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("XDG_STATE_HOME", home.filePath(QStringLiteral("blocker/state")).toUtf8());
    window = makeWindow(*world.project);
    auto* strip = static_cast<InfoPanelDlg*>(window->infoPanel());

    typeWidth(2600);
    waitForWriter(400);
    QApplication::processEvents();
    EXPECT_TRUE(strip->warning().startsWith(QStringLiteral("Копия для восстановления не "
                                                           "записывается")))
        << strip->warning().toStdString();
    EXPECT_EQ(world.project->openingWidth, 26000);
    strip->setWarning({});
    window->setFocus();
    typeWidth(2700);
    waitForWriter(400);
    QApplication::processEvents();
    EXPECT_EQ(world.project->openingWidth, 27000) << "editing goes on";
    EXPECT_TRUE(strip->warning().isEmpty()) << "the warning is shown once";
    EXPECT_TRUE(document().isModified());
    shelltest::saveScreenshot(window.get(), QStringLiteral("state_folder_warning.png"));
}

// Copies left by a process that is gone, as a crash leaves them.
struct Recovery : DocumentWindow {
    QString orphan(const QString& name, const std::string& bytes) {
        QDir().mkpath(stateFolder());
        const QString path = QDir(stateFolder()).filePath(name);
        EXPECT_TRUE(fileio::writeFileAtomically(path.toStdString(), bytes));
        return path;
    }
    std::string copyOf(int widthMm, const QString& file) {
        Project p(*world.catalog);
        p.setOpeningWidth(widthMm * 10);
        RecoveryCopy c;
        c.originalPath = file.toStdString();
        c.writtenAt = QDateTime(QDate(2026, 3, 14), QTime(9, 26)).toSecsSinceEpoch();
        c.sketch = SketchFile::toBytes(p).value();
        return c.encode();
    }
};

TEST_F(Recovery, RestoringOpensTheProjectModifiedUnderItsFileName) {
    const QString file = writeSketch(QStringLiteral("клиент.tav"), 2400);
    const std::string copy = copyOf(2900, file);
    orphan(QStringLiteral("999999999-1-1.tavrec"), copy);
    dialogs.askAnswers.push_back(QStringLiteral("Восстановить"));
    document().offerRecovery();
    ASSERT_EQ(dialogs.questions.size(), 1);
    EXPECT_TRUE(dialogs.questions[0].startsWith(
        QStringLiteral("Восстановить несохранённый заказ от 14.03.2026 09:26?")))
        << dialogs.questions[0].toStdString();
    EXPECT_EQ(projectBytes().toStdString(), RecoveryCopy::decode(copy).copy.sketch);
    EXPECT_EQ(world.project->openingWidth, 29000);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("клиент.tav* — tavrolab"));
    EXPECT_EQ(document().filePath(), file);
    // The copy is now this window's own until the project is saved.
    EXPECT_EQ(QDir(stateFolder()).entryList(QDir::Files),
              QStringList{QFileInfo(document().recoveryPath()).fileName()});
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    document().writer().waitIdle();
    EXPECT_EQ(fileBytes(file).toStdString(), RecoveryCopy::decode(copy).copy.sketch);
    EXPECT_TRUE(QDir(stateFolder()).entryList(QDir::Files).isEmpty());
}

TEST_F(Recovery, DeclinedDamagedAndNewerCopiesAreMovedAsideNotDeleted) {
    std::string newer = copyOf(2500, {});
    newer[4] = static_cast<char>(RecoveryCopy::kFormatVersion + 1);
    std::string truncated = copyOf(2500, {});
    truncated.resize(truncated.size() - 7);
    const QString declined = orphan(QStringLiteral("999999991-1-1.tavrec"), copyOf(2500, {}));
    orphan(QStringLiteral("999999992-1-1.tavrec"), truncated);
    orphan(QStringLiteral("999999993-1-1.tavrec"), newer);
    // A copy whose owner runs (this very process) is not offered.
    const QString running = document().recoveryPath();
    orphan(QFileInfo(running).fileName(), copyOf(2500, {}));
    const QByteArray before = projectBytes();

    dialogs.askAnswers.push_back(QStringLiteral("Не восстанавливать"));
    document().offerRecovery();
    EXPECT_EQ(dialogs.questions.size(), 1);
    EXPECT_EQ(projectBytes(), before);
    const QDir dir(stateFolder());
    EXPECT_EQ(dir.entryList(QDir::Files), QStringList{QFileInfo(running).fileName()});
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("declined/999999991-1-1.tavrec"))));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("damaged/999999992-1-1.tavrec"))));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("newer/999999993-1-1.tavrec"))));
    ASSERT_EQ(dialogs.errors.size(), 2);
    EXPECT_TRUE(dialogs.errors.filter(QStringLiteral("обрывается или повреждена")).size() == 1)
        << dialogs.errors.join('\n').toStdString();
    EXPECT_TRUE(dialogs.errors.filter(QStringLiteral("более новой версией")).size() == 1);

    // Declined copies are kept for 30 days.
    RecoveryStore store(stateFolder());
    const QDateTime now = QDateTime::currentDateTimeUtc();
    store.expireDeclined(now.addDays(29));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("declined/999999991-1-1.tavrec"))));
    store.expireDeclined(now.addDays(31));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("declined/999999991-1-1.tavrec"))));
}

TEST_F(Recovery, TheQuestionAsTheUserSeesIt) {
    orphan(QStringLiteral("999999994-1-1.tavrec"),
           copyOf(2500, world.path(QStringLiteral("клиент.tav"))));
    dialogs::resetHooks();
    QString text;
    QTimer::singleShot(100, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        text = box->text();
        box->grab().save(screenshotPath(QStringLiteral("recovery_question.png")));
        QTest::keyClick(box, Qt::Key_Escape);
    });
    document().offerRecovery();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Восстановить несохранённый заказ от ")));
    EXPECT_TRUE(QFileInfo::exists(
        QDir(stateFolder()).filePath(QStringLiteral("declined/999999994-1-1.tavrec"))))
        << "Escape declines";
}

TEST_F(DocumentWindow, ASecondWindowIsToldAndMayOpenReadOnlyThenSavesUnderANewName) {
    const QString file = writeSketch(QStringLiteral("общий.tav"), 2400);
    ASSERT_TRUE(window->openOrder(file));
    Project secondProject(*world.catalog);
    std::unique_ptr<CtavrolabDlg> second = makeWindow(secondProject);

    dialogs.askAnswers.push_back(QStringLiteral("Отмена"));
    EXPECT_FALSE(second->openOrder(file));
    ASSERT_EQ(dialogs.questions.size(), 1);
    EXPECT_TRUE(dialogs.questions[0].startsWith(QStringLiteral("Файл уже открыт в другом окне")));

    dialogs.askAnswers.push_back(QStringLiteral("Открыть только для чтения"));
    ASSERT_TRUE(second->openOrder(file));
    EXPECT_TRUE(second->document().isReadOnly());
    EXPECT_EQ(second->windowTitle(), QStringLiteral("общий.tav (только чтение) — tavrolab"));
    const QByteArray original = fileBytes(file);
    typeWidth(2600, second.get());
    // The file's own name given to the save dialog is still the other window's file: refused.
    dialogs.saveAnswers.push_back(file);
    QTest::keyClick(second.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(fileBytes(file), original);
    ASSERT_FALSE(dialogs.errors.isEmpty());
    EXPECT_TRUE(dialogs.errors.last().startsWith(QStringLiteral("Файл уже открыт в другом окне")));
    EXPECT_TRUE(second->document().isReadOnly());
    const QString copy = world.path(QStringLiteral("копия.tav"));
    dialogs.saveAnswers.push_back(copy);
    QTest::keyClick(second.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(dialogs.proposedNames,
              (QStringList{QStringLiteral("общий"), QStringLiteral("общий")}));
    EXPECT_EQ(fileBytes(file), original) << "the other window's file is untouched";
    EXPECT_TRUE(QFileInfo::exists(copy));
    EXPECT_FALSE(second->document().isReadOnly());
    // Saving under the name the first window holds is refused.
    dialogs.saveAnswers.push_back(file);
    QTest::keyClick(second.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(fileBytes(file), original);
    ASSERT_FALSE(dialogs.errors.isEmpty());
    EXPECT_TRUE(dialogs.errors.last().startsWith(QStringLiteral("Файл уже открыт в другом окне")));
}

TEST_F(DocumentWindow, ALockLeftByAProcessThatIsGoneIsTakenOver) {
    const QString file = writeSketch(QStringLiteral("брошен.tav"), 2400);
    // The lock a killed program leaves: a process id that runs no more.
    QFile lock(world.path(QStringLiteral(".брошен.tav.lock")));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write("999999999\ntavrolab\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    lock.close();
    ASSERT_TRUE(window->openOrder(file));
    EXPECT_TRUE(dialogs.questions.isEmpty());
    EXPECT_FALSE(document().isReadOnly());
    QLockFile probe(lock.fileName());
    EXPECT_FALSE(probe.tryLock(0)) << "the window holds the lock now";
}

TEST_F(DocumentWindow, RecentFilesAreOfferedNewestFirstAndAMissingOneIsTakenOff) {
    const QString a = writeSketch(QStringLiteral("a.tav"), 2400);
    const QString b = writeSketch(QStringLiteral("b.tav"), 2500);
    ASSERT_TRUE(window->openOrder(a));
    ASSERT_TRUE(window->openOrder(b));
    QFile::remove(a);
    // The keyboard opens the menu.
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
    ProjectMenu* menu = window->topPanel()->projectMenu();
    ASSERT_TRUE(menu->isVisible());
    const QList<QAction*> recent = menu->recentActions();
    ASSERT_EQ(recent.size(), 2);
    EXPECT_TRUE(recent[0]->text().contains(QStringLiteral("b.tav")));
    EXPECT_FALSE(ProjectMenu::isMissing(recent[0]));
    EXPECT_TRUE(ProjectMenu::isMissing(recent[1]));
    menu->setActiveAction(recent[1]);
    menu->grab().save(screenshotPath(QStringLiteral("recent_files_menu.png")));
    QTest::keyClick(menu, Qt::Key_Return);
    QApplication::processEvents();
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_TRUE(dialogs.errors[0].startsWith(QStringLiteral("Файл не найден: ") + a));
    EXPECT_EQ(document().recentFiles(), QStringList{b});
    EXPECT_EQ(document().filePath(), b) << "the project stays";
}

} // namespace

TEST_F(Recovery, APlacingsKeyIsOnDiskBeforeTheJournalIsAskedAndComesBackWithTheCopy) {
    // Asked for the key of a placing, the document writes its copy at once, even untouched.
    const std::string key = document().placingKey();
    EXPECT_EQ(key.size(), 36u);
    EXPECT_EQ(document().placingKey(), key) << "one key until the placing succeeds";
    const RecoveryCopy::Decoded written =
        RecoveryCopy::decode(fileBytes(document().recoveryPath()).toStdString());
    ASSERT_EQ(written.status, RecoveryCopy::Status::Ok) << written.reason;
    EXPECT_EQ(written.copy.placingKey, key);
    // Placed: the copy of the untouched project goes, and the next placing has a key of its own.
    document().placingDone();
    document().writer().waitIdle();
    EXPECT_FALSE(QFileInfo::exists(document().recoveryPath()));
    EXPECT_NE(document().placingKey(), key);

    // After a crash, the copy brings the key back: the retry answers with the first number.
    RecoveryCopy c = RecoveryCopy::decode(copyOf(2900, {})).copy;
    c.placingKey = "0b5c1c7e-2f0e-4a53-a7c8-3e0d9b1f6a11";
    orphan(QStringLiteral("999999999-1-1.tavrec"), c.encode());
    dialogs.askAnswers.push_back(QStringLiteral("Восстановить"));
    document().offerRecovery();
    EXPECT_EQ(document().placingKey(), c.placingKey);

    // A copy of the first format has no key.
    ByteWriter w;
    w.raw("TVRC");
    w.u8(1);
    w.t64(0);
    w.str("");
    w.i32(static_cast<int32_t>(c.sketch.size()));
    w.raw(c.sketch);
    const RecoveryCopy::Decoded old = RecoveryCopy::decode(w.bytes());
    EXPECT_EQ(old.status, RecoveryCopy::Status::Ok) << old.reason;
    EXPECT_EQ(old.copy.placingKey, "");
    EXPECT_EQ(old.copy.sketch, c.sketch);
}
