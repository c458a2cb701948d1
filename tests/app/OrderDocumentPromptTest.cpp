// The question before the project is replaced or the window closed, and the mark of unsaved
// changes in the title, with the window driven by keys and clicks.
#include "app/OrderDocumentSupport.h"

#include "ui/shared/Dialogs.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTimer>

using namespace doctest;

namespace {

enum class Command { Close, Open, New };
struct PromptCase {
    Command command;
    const char* answer;
};

struct PromptAnswers : DocumentWindow, ::testing::WithParamInterface<PromptCase> {};

TEST_P(PromptAnswers, LeaveTheProjectAndTheFilesAsTheUserChose) {
    const PromptCase c = GetParam();
    const QString saved = writeSketch(QStringLiteral("заказ.tav"), 2400);
    const QString other = writeSketch(QStringLiteral("другой.tav"), 1800);
    ASSERT_TRUE(window->openOrder(saved));
    const QByteArray original = fileBytes(saved);
    typeWidth(2600);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("заказ.tav* — tavrolab"));
    const QByteArray edited = projectBytes();
    ASSERT_NE(edited, original);

    dialogs.askAnswers.push_back(QString::fromUtf8(c.answer));
    dialogs.openAnswers.push_back(other);
    bool closed = false;
    switch (c.command) {
    case Command::Close:
        closed = window->close();
        break;
    case Command::Open:
        QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
        break;
    case Command::New:
        QTest::keyClick(window.get(), Qt::Key_N, Qt::ControlModifier);
        break;
    }
    QApplication::processEvents();
    ASSERT_EQ(dialogs.questions, QStringList{QStringLiteral("Сохранить изменения в заказе?")});

    const QString answer = QString::fromUtf8(c.answer);
    const bool goesOn = answer != QStringLiteral("Отмена");
    // The file holds the edit only when the user said so.
    EXPECT_EQ(fileBytes(saved), answer == QStringLiteral("Сохранить") ? edited : original);
    if (!goesOn) {
        EXPECT_FALSE(closed);
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(projectBytes(), edited) << "the project is kept as it was";
        EXPECT_EQ(document().filePath(), saved);
        EXPECT_EQ(window->windowTitle(), QStringLiteral("заказ.tav* — tavrolab"));
        EXPECT_EQ(dialogs.openAnswers.size(), 1u) << "no file dialog after a cancel";
        return;
    }
    switch (c.command) {
    case Command::Close:
        EXPECT_TRUE(closed);
        EXPECT_FALSE(QFileInfo::exists(document().recoveryPath()));
        break;
    case Command::Open:
        EXPECT_EQ(document().filePath(), other);
        EXPECT_EQ(projectBytes(), fileBytes(other));
        EXPECT_EQ(window->windowTitle(), QStringLiteral("другой.tav — tavrolab"));
        break;
    case Command::New:
        EXPECT_EQ(world.project->openingWidth, Project(*world.catalog).openingWidth);
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Новый заказ — tavrolab"));
        break;
    }
    if (c.command != Command::Close || answer == QStringLiteral("Сохранить")) {
        EXPECT_FALSE(document().isModified());
    }
}

INSTANTIATE_TEST_SUITE_P(EveryCommandAndAnswer, PromptAnswers,
                         ::testing::Values(PromptCase{Command::Close, "Сохранить"},
                                           PromptCase{Command::Close, "Не сохранять"},
                                           PromptCase{Command::Close, "Отмена"},
                                           PromptCase{Command::Open, "Сохранить"},
                                           PromptCase{Command::Open, "Не сохранять"},
                                           PromptCase{Command::Open, "Отмена"},
                                           PromptCase{Command::New, "Сохранить"},
                                           PromptCase{Command::New, "Не сохранять"},
                                           PromptCase{Command::New, "Отмена"}));

TEST_F(DocumentWindow, SavingANewProjectGoesThroughTheFileDialogAndACancelKeepsTheWindow) {
    typeWidth(2600);
    dialogs.askAnswers.push_back(QStringLiteral("Сохранить"));
    // The file dialog is cancelled: nothing was saved, so the window stays.
    EXPECT_FALSE(window->close());
    EXPECT_EQ(dialogs.proposedNames, QStringList{QStringLiteral("эскиз")});
    EXPECT_TRUE(document().isModified());

    const QString path = world.path(QStringLiteral("новый.tav"));
    dialogs.askAnswers.push_back(QStringLiteral("Сохранить"));
    dialogs.saveAnswers.push_back(path);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(fileBytes(path), projectBytes());
}

TEST_F(DocumentWindow, UndoingBackToTheSavedStateClearsTheMark) {
    const QString saved = writeSketch(QStringLiteral("заказ.tav"), 2400);
    ASSERT_TRUE(window->openOrder(saved));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("заказ.tav — tavrolab"));
    typeWidth(2600);
    window->setFocus();
    EXPECT_TRUE(document().isModified());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("заказ.tav* — tavrolab"));
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("заказ.tav — tavrolab"));
    EXPECT_FALSE(document().isModified());
    EXPECT_TRUE(window->close()) << "nothing to ask about";
    EXPECT_TRUE(dialogs.questions.isEmpty());
}

TEST_F(DocumentWindow, RedoAfterASaveIsAChangeAgain) {
    const QString saved = writeSketch(QStringLiteral("заказ.tav"), 2400);
    ASSERT_TRUE(window->openOrder(saved));
    typeWidth(2600);
    window->setFocus();
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("заказ.tav — tavrolab"));
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("заказ.tav* — tavrolab"));
    QTest::keyClick(window.get(), Qt::Key_Y, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("заказ.tav — tavrolab"));
}

// The real question box: its buttons, Escape for "Отмена", and a picture of it.
TEST_F(DocumentWindow, TheQuestionBoxAnswersEscapeWithCancel) {
    typeWidth(2600);
    dialogs::resetHooks();
    QString caption;
    QStringList buttons;
    QTimer::singleShot(100, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        caption = box->text();
        for (QAbstractButton* b : box->buttons())
            buttons << b->text();
        box->grab().save(screenshotPath(QStringLiteral("unsaved_changes_question.png")));
        QTest::keyClick(box, Qt::Key_Escape);
    });
    EXPECT_FALSE(window->close());
    EXPECT_EQ(caption, QStringLiteral("Сохранить изменения в заказе?"));
    buttons.sort();
    EXPECT_EQ(buttons, (QStringList{QStringLiteral("Не сохранять"), QStringLiteral("Отмена"),
                                    QStringLiteral("Сохранить")}));
    EXPECT_TRUE(document().isModified());
}

} // namespace

// A file written by other means (an order placed) becomes the window's file; it counts as saved
// only when it holds what the window shows.
TEST_F(DocumentWindow, AnAdoptedFileIsSavedOnlyWhenItHoldsThePresentState) {
    typeWidth(2600);
    const QString same = world.path(QStringLiteral("same.tav"));
    ASSERT_EQ(SketchFile::write(*world.project, same.toStdString()), SketchFile::WriteOk);
    const QString other = writeSketch(QStringLiteral("other.tav"), 2700);

    document().adoptFile(other);
    EXPECT_TRUE(document().isModified()) << "the file holds another width";
    EXPECT_EQ(window->windowTitle(), QStringLiteral("other.tav* — tavrolab"));
    document().adoptFile(same);
    EXPECT_FALSE(document().isModified());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("same.tav — tavrolab"));
}
