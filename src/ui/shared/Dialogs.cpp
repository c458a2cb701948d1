#include "ui/shared/Dialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <vector>

#include <memory>

namespace dialogs {
namespace {

// After a dialog closes, the keyboard goes back to the window it was opened from, so that
// Ctrl+Z and the other shortcuts work at once.
void giveBackKeyboard(QWidget* parent) {
    if (QWidget* window = parent ? parent->window() : nullptr)
        window->activateWindow();
}

Hooks qtHooks() {
    Hooks h;
    h.openFile = [](QWidget* parent, const QString& filter, const QString& suffix) {
        QFileDialog dlg(parent, QString(), QString(), filter);
        dlg.setAcceptMode(QFileDialog::AcceptOpen);
        dlg.setFileMode(QFileDialog::ExistingFile);
        dlg.setDefaultSuffix(suffix);
        const bool chosen = dlg.exec() == QDialog::Accepted && !dlg.selectedFiles().isEmpty();
        giveBackKeyboard(parent);
        return chosen ? dlg.selectedFiles().constFirst() : QString();
    };
    h.saveFile = [](QWidget* parent, const QString& proposedName, const QString& filter,
                    const QString& suffix) {
        QFileDialog dlg(parent, QString(), QString(), filter);
        dlg.setAcceptMode(QFileDialog::AcceptSave);
        dlg.setFileMode(QFileDialog::AnyFile);
        dlg.setDefaultSuffix(suffix);
        dlg.setOption(QFileDialog::DontConfirmOverwrite, false);
        dlg.selectFile(proposedName);
        const bool chosen = dlg.exec() == QDialog::Accepted && !dlg.selectedFiles().isEmpty();
        giveBackKeyboard(parent);
        return chosen ? dlg.selectedFiles().constFirst() : QString();
    };
    h.error = [](QWidget* parent, const QString& caption, const QString& text) {
        QMessageBox::critical(parent, caption, text, QMessageBox::Ok);
        giveBackKeyboard(parent);
    };
    h.confirm = [](QWidget* parent, const QString& caption, const QString& text) {
        const std::unique_ptr<QMessageBox> box = questionBox(parent, caption, text);
        const bool ok = box->exec() == QMessageBox::Ok;
        giveBackKeyboard(parent);
        return ok;
    };
    h.ask = [](QWidget* parent, const QString& caption, const QString& text,
               const QStringList& buttons, int escapeButton) {
        QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::NoButton, parent);
        std::vector<QAbstractButton*> added;
        for (qsizetype i = 0; i < buttons.size(); ++i) {
            const auto role = i == escapeButton ? QMessageBox::RejectRole
                              : i == 0          ? QMessageBox::AcceptRole
                                                : QMessageBox::DestructiveRole;
            added.push_back(box.addButton(buttons[i], role));
        }
        if (!added.empty())
            box.setDefaultButton(qobject_cast<QPushButton*>(added.front()));
        if (escapeButton >= 0 && escapeButton < static_cast<int>(added.size()))
            box.setEscapeButton(added[static_cast<size_t>(escapeButton)]);
        box.exec();
        for (size_t i = 0; i < added.size(); ++i)
            if (box.clickedButton() == added[i])
                return static_cast<int>(i);
        return escapeButton;
    };
    h.askText = [](QWidget* parent, const QString& caption,
                   const QString& label) -> std::optional<QString> {
        bool ok = false;
        const QString text =
            QInputDialog::getText(parent, caption, label, QLineEdit::Normal, {}, &ok);
        giveBackKeyboard(parent);
        return ok ? std::optional<QString>(text) : std::nullopt;
    };
    return h;
}

} // namespace

std::unique_ptr<QMessageBox> questionBox(QWidget* parent, const QString& caption,
                                         const QString& text) {
    auto box = std::make_unique<QMessageBox>(QMessageBox::Question, caption, text,
                                             QMessageBox::Ok | QMessageBox::Cancel, parent);
    box->setDefaultButton(QMessageBox::Ok);
    // A question about throwing work away stays in front of every window until answered.
    box->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    return box;
}

Hooks& hooks() {
    static Hooks h = qtHooks();
    return h;
}

void resetHooks() {
    hooks() = qtHooks();
}

QString openFile(QWidget* parent, const QString& filter, const QString& suffix) {
    return hooks().openFile(parent, filter, suffix);
}

QString saveFile(QWidget* parent, const QString& proposedName, const QString& filter,
                 const QString& suffix) {
    return hooks().saveFile(parent, proposedName, filter, suffix);
}

void showError(QWidget* parent, const QString& text, const QString& caption) {
    hooks().error(parent, caption, text);
}

bool confirm(QWidget* parent, const QString& text, const QString& caption) {
    return hooks().confirm(parent, caption, text);
}

std::optional<QString> askText(QWidget* parent, const QString& label, const QString& caption) {
    return hooks().askText(parent, caption, label);
}

int ask(QWidget* parent, const QString& text, const QStringList& buttons, int escapeButton,
        const QString& caption) {
    return hooks().ask(parent, caption, text, buttons, escapeButton);
}

} // namespace dialogs
