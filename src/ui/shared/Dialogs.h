#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QMessageBox;
class QWidget;

// The standard file dialogs and message boxes of the program, behind one replaceable set of
// functions: the panels call these, and the tests put choosers and recorders in their place
// (a real modal dialog would stop a test run).
namespace dialogs {

struct Hooks {
    // Path of an existing file to open, empty on cancel.
    std::function<QString(QWidget* parent, const QString& filter, const QString& suffix)> openFile;
    // Path to save to, empty on cancel; asks before overwriting an existing file.
    std::function<QString(QWidget* parent, const QString& proposedName, const QString& filter,
                          const QString& suffix)>
        saveFile;
    // Message box with the error icon and an OK button.
    std::function<void(QWidget* parent, const QString& caption, const QString& text)> error;
    // Question with OK and Cancel; true for OK.
    std::function<bool(QWidget* parent, const QString& caption, const QString& text)> confirm;
    // Question with the given buttons (the first is the default); returns the index of the
    // button chosen. Escape and closing the box give escapeButton.
    std::function<int(QWidget* parent, const QString& caption, const QString& text,
                      const QStringList& buttons, int escapeButton)>
        ask;
    // A line of text to type (a reason); nullopt on cancel.
    std::function<std::optional<QString>(QWidget* parent, const QString& caption,
                                         const QString& label)>
        askText;
};

// The question box the default confirm() shows: question icon, OK and Cancel, kept on top.
std::unique_ptr<QMessageBox> questionBox(QWidget* parent, const QString& caption,
                                         const QString& text);

// The hooks in use; defaults show the Qt dialogs.
Hooks& hooks();
// Restores the Qt dialogs.
void resetHooks();

QString openFile(QWidget* parent, const QString& filter, const QString& suffix);
QString saveFile(QWidget* parent, const QString& proposedName, const QString& filter,
                 const QString& suffix);
void showError(QWidget* parent, const QString& text, const QString& caption = "Ошибка");
bool confirm(QWidget* parent, const QString& text, const QString& caption = "Подтверждение");
int ask(QWidget* parent, const QString& text, const QStringList& buttons, int escapeButton,
        const QString& caption = "Подтверждение");

std::optional<QString> askText(QWidget* parent, const QString& label,
                               const QString& caption = "Подтверждение");

// The filters of the program's file dialogs.
inline const char* const kSketchFilter = "Эскизы дверей (*.tav)";
inline const char* const kXmlFilter = "XML файлы (*.xml)";

} // namespace dialogs
