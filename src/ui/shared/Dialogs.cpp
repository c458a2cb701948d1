#include "ui/shared/Dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include <vector>

namespace dialogs {
namespace {

Hooks qtHooks() {
    Hooks h;
    h.openFile = [](QWidget* parent, const QString& filter, const QString& suffix) {
        QFileDialog dlg(parent, QString(), QString(), filter);
        dlg.setAcceptMode(QFileDialog::AcceptOpen);
        dlg.setFileMode(QFileDialog::ExistingFile);
        dlg.setDefaultSuffix(suffix);
        if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
            return QString();
        return dlg.selectedFiles().constFirst();
    };
    h.saveFile = [](QWidget* parent, const QString& proposedName, const QString& filter,
                    const QString& suffix) {
        QFileDialog dlg(parent, QString(), QString(), filter);
        dlg.setAcceptMode(QFileDialog::AcceptSave);
        dlg.setFileMode(QFileDialog::AnyFile);
        dlg.setDefaultSuffix(suffix);
        dlg.setOption(QFileDialog::DontConfirmOverwrite, false);
        dlg.selectFile(proposedName);
        if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
            return QString();
        return dlg.selectedFiles().constFirst();
    };
    h.error = [](QWidget* parent, const QString& caption, const QString& text) {
        QMessageBox::critical(parent, caption, text, QMessageBox::Ok);
    };
    h.confirm = [](QWidget* parent, const QString& caption, const QString& text) {
        return QMessageBox::question(parent, caption, text, QMessageBox::Ok | QMessageBox::Cancel,
                                     QMessageBox::Ok) == QMessageBox::Ok;
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
    return h;
}

} // namespace

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

int ask(QWidget* parent, const QString& text, const QStringList& buttons, int escapeButton,
        const QString& caption) {
    return hooks().ask(parent, caption, text, buttons, escapeButton);
}

} // namespace dialogs
