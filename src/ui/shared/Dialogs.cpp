#include "ui/shared/Dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

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

} // namespace dialogs
