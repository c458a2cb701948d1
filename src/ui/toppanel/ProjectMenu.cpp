#include "ui/toppanel/ProjectMenu.h"

#include "ui/shared/Notify.h"
#include "ui/shared/ProjectCommands.h"

#include <QDir>
#include <QFileInfo>
#include <QStyleOptionMenuItem>

namespace {

const char* const kMissing = "missingFile";

} // namespace

ProjectMenu::ProjectMenu(NotifyHub& hub, QWidget* parent) : QMenu(parent), hub_(hub) {
    setAccessibleName(QStringLiteral("Проект"));
    setToolTipsVisible(true);
    connect(this, &QMenu::aboutToShow, this, &ProjectMenu::rebuild);
}

bool ProjectMenu::isMissing(const QAction* action) {
    return action->property(kMissing).toBool();
}

void ProjectMenu::rebuild() {
    clear();
    recent_.clear();
    ProjectCommands* commands = hub_.commands();
    if (!commands)
        return;
    const auto command = [this](const QString& text, const QKeySequence& keys, auto run) {
        QAction* a = addAction(text);
        a->setShortcut(keys);
        a->setShortcutContext(Qt::WidgetShortcut); // the window's own shortcuts run them
        connect(a, &QAction::triggered, this, run);
    };
    command(QStringLiteral("Новый заказ"), QKeySequence(Qt::CTRL | Qt::Key_N),
            [commands] { commands->newProject(); });
    command(QStringLiteral("Открыть…"), QKeySequence(Qt::CTRL | Qt::Key_O),
            [commands] { commands->openWithDialog(); });
    command(QStringLiteral("Сохранить как…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
            [commands] { commands->saveAs(); });
    const QStringList files = commands->recentFiles();
    addSection(QStringLiteral("Недавние файлы"));
    if (files.isEmpty())
        addAction(QStringLiteral("(нет)"))->setEnabled(false);
    for (int i = 0; i < files.size(); ++i) {
        const QFileInfo info(files[i]);
        const QString text = QStringLiteral("&%1 %2  —  %3")
                                 .arg((i + 1) % 10)
                                 .arg(info.fileName(), QDir::toNativeSeparators(info.path()));
        QAction* a = addAction(text);
        const bool missing = !info.exists();
        a->setProperty(kMissing, missing);
        a->setToolTip(missing ? QStringLiteral("Файл не найден: ") + files[i] : files[i]);
        const QString path = files[i];
        connect(a, &QAction::triggered, this, [commands, path] { commands->openRecent(path); });
        recent_ << a;
    }
}

void ProjectMenu::initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const {
    QMenu::initStyleOption(option, action);
    // Greyed like a disabled entry, yet it can be chosen (to take it off the list).
    if (action && isMissing(action)) {
        option->palette.setCurrentColorGroup(QPalette::Disabled);
        option->palette.setColor(QPalette::Text,
                                 option->palette.color(QPalette::Disabled, QPalette::Text));
        option->palette.setColor(QPalette::WindowText,
                                 option->palette.color(QPalette::Disabled, QPalette::WindowText));
        option->palette.setColor(QPalette::ButtonText,
                                 option->palette.color(QPalette::Disabled, QPalette::ButtonText));
        option->palette.setColor(QPalette::HighlightedText,
                                 option->palette.color(QPalette::Disabled, QPalette::Text));
    }
}
