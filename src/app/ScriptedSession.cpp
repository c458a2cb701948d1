#include "app/ScriptedSession.h"

#include "app/CtavrolabDlg.h"
#include "app/OrderDocument.h"
#include "model/AtomicFile.h"
#include "model/Project.h"
#include "model/SketchFile.h"
#include "ui/shared/Dialogs.h"
#include "ui/shared/PictureButton.h"
#include "ui/toppanel/TopPanelDlg.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>

#include <deque>
#include <memory>

namespace scripted {
namespace {

void log(const QString& line) {
    const QString path = qEnvironmentVariable("TAVROLAB_DIALOG_LOG");
    if (path.isEmpty())
        return;
    QFile f(path);
    if (f.open(QIODevice::Append))
        f.write(line.toUtf8() + '\n');
}

void key(QWidget* w, int k, const QString& text = {}, Qt::KeyboardModifiers m = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, k, m, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, k, m, text);
    QApplication::sendEvent(w, &release);
}

void click(QWidget* w) {
    const QPointF at(w->width() / 2.0, w->height() / 2.0);
    const QPointF global = w->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

void typeInto(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    key(edit, Qt::Key_A, {}, Qt::ControlModifier);
    for (QChar c : text)
        key(edit, Qt::Key_0 + (c.unicode() - '0'), QString(c));
    key(edit, Qt::Key_Return);
}

void runSteps(QPointer<CtavrolabDlg> window, std::shared_ptr<std::deque<QString>> steps) {
    while (window && !steps->empty()) {
        const QString step = steps->front();
        steps->pop_front();
        const QString name = step.section(QLatin1Char('='), 0, 0);
        const QString value = step.section(QLatin1Char('='), 1);
        if (name == QLatin1String("wait")) {
            QTimer::singleShot(value.toInt(), window, [window, steps] { runSteps(window, steps); });
            return;
        }
        if (name == QLatin1String("width"))
            typeInto(window->topPanel()->widthEdit(), value);
        else if (name == QLatin1String("save"))
            click(window->topPanel()->commandButton(1));
        else if (name == QLatin1String("title"))
            log(QStringLiteral("title: ") + window->windowTitle());
        else if (name == QLatin1String("quit"))
            window->close();
        else if (name == QLatin1String("dump")) {
            // The bytes a save would write now, without saving.
            QApplication::processEvents();
            const Project& project = window->document().project();
            fileio::writeFileAtomically(value.toStdString(),
                                        SketchFile::toBytes(project).value_or(std::string()));
        }
        // Every step's events are handled before the next.
        QApplication::processEvents();
    }
}

} // namespace

void installAnswers() {
    if (!qEnvironmentVariableIsSet("TAVROLAB_ANSWERS"))
        return;
    auto answers = std::make_shared<std::deque<QString>>();
    for (const QString& a : qEnvironmentVariable("TAVROLAB_ANSWERS").split(QLatin1Char('|')))
        if (!a.isEmpty())
            answers->push_back(a);
    dialogs::Hooks& h = dialogs::hooks();
    h.ask = [answers](QWidget*, const QString&, const QString& text, const QStringList& buttons,
                      int escapeButton) {
        int chosen = escapeButton;
        if (!answers->empty()) {
            chosen = static_cast<int>(buttons.indexOf(answers->front()));
            answers->pop_front();
            if (chosen < 0)
                chosen = escapeButton;
        }
        log(QStringLiteral("ask: ") + text + QStringLiteral(" => ") +
            buttons.value(chosen, QStringLiteral("?")));
        return chosen;
    };
    h.error = [](QWidget*, const QString&, const QString& text) {
        log(QStringLiteral("error: ") + text);
    };
}

void startScript(CtavrolabDlg& window) {
    const QString script = qEnvironmentVariable("TAVROLAB_SCRIPT");
    if (script.isEmpty())
        return;
    auto steps = std::make_shared<std::deque<QString>>();
    for (const QString& s : script.split(QLatin1Char(';')))
        if (!s.isEmpty())
            steps->push_back(s);
    QPointer<CtavrolabDlg> w(&window);
    QTimer::singleShot(0, &window, [w, steps] { runSteps(w, steps); });
}

} // namespace scripted
