#pragma once

// The main window with folders of its own for recovery copies and recent files, a sketch file
// opened from the test's folder, and typing as a user types.
#include "ui/ShellTestSupport.h"

#include "app/CtavrolabDlg.h"
#include "app/OrderDocument.h"
#include "model/SketchFile.h"
#include "model/UndoHistory.h"
#include "ui/toppanel/TopPanelDlg.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace doctest {

using namespace shelltest;

inline QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct DocumentWindow : ::testing::Test {
    QTemporaryDir home;
    World world{true};
    ScriptedDialogs dialogs;
    std::unique_ptr<CtavrolabDlg> window;

    void SetUp() override {
        qputenv("XDG_STATE_HOME", home.filePath(QStringLiteral("state")).toUtf8());
        qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
        window = makeWindow(*world.project);
    }
    static std::unique_ptr<CtavrolabDlg> makeWindow(Project& project) {
        auto w = std::make_unique<CtavrolabDlg>(project);
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        w->activateWindow();
        w->document().setAutosaveDelay(100);
        return w;
    }
    OrderDocument& document() { return window->document(); }
    QString stateFolder() const { return home.filePath(QStringLiteral("state/tavrolab/recovery")); }

    // A sketch file of the project with the given opening width, in the test's folder.
    QString writeSketch(const QString& name, int widthMm) {
        Project p(*world.catalog);
        p.setOpeningWidth(widthMm * 10);
        const QString path = world.path(name);
        EXPECT_EQ(SketchFile::write(p, path.toStdString()), SketchFile::WriteOk);
        return path;
    }
    // Types a width into the top panel's field as a user does and lets the window record it.
    void typeWidth(int mm, CtavrolabDlg* w = nullptr) {
        w = w ? w : window.get();
        QLineEdit* edit = w->topPanel()->widthEdit();
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, QString::number(mm));
        QApplication::processEvents();
    }
    QByteArray projectBytes() const {
        return QByteArray::fromStdString(SketchFile::toBytes(*world.project).value_or(""));
    }
    void waitForWriter(int ms) {
        QTest::qWait(ms);
        document().writer().waitIdle();
    }
};

} // namespace doctest
