#include "app/CtavrolabApp.h"

#include "app/CtavrolabDlg.h"
#include "app/OrderDocument.h"
#include "app/ScriptedSession.h"
#include "calc/SystemFactory.h"
#include "catalog/Catalog.h"
#include "model/Project.h"
#include "ui/shared/Style.h"
#include "ui/shared/Translations.h"
#include "ui/toppanel/TopPanelDlg.h"

#include <QTimer>

CtavrolabApp::CtavrolabApp(int& argc, char** argv)
    : QApplication(argc, argv), project_(std::make_unique<Project>(programCatalog())),
      boldFont_(style::boldFont()) {
    setApplicationName(QStringLiteral("tavrolab"));
    // Ties the windows to the desktop entry (icon and name in the task bar).
    setDesktopFileName(QStringLiteral("tavrolab"));
    // Qt's own dialogs and buttons in Russian, like the rest of the program.
    translations::installQtRussian(*this);
}

CtavrolabApp::~CtavrolabApp() = default;

int CtavrolabApp::run() {
    scripted::installAnswers();
    CtavrolabDlg window(*project_);
    window.show();
    // Orders a crash left unsaved come first; the file named on the command line after them.
    window.document().offerRecovery();
    // For the start-up benchmark: quit once the first picture of the window is shown.
    if (qEnvironmentVariableIsSet("TAVROLAB_EXIT_WHEN_SHOWN"))
        QTimer::singleShot(0, this, &QCoreApplication::quit);
    const QString sketch = sketchArgument(arguments());
    if (!sketch.isEmpty())
        window.openOrder(sketch);
    scripted::startScript(window);
    return exec();
}

QString CtavrolabApp::sketchArgument(const QStringList& arguments) {
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (!optionsEnded && a == QLatin1String("--"))
            optionsEnded = true;
        else if (optionsEnded || !a.startsWith(QLatin1Char('-')))
            return a;
    }
    return {};
}
