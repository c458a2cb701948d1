#pragma once

#include <QMenu>

class NotifyHub;

// The drop-down of the "Открыть" button: a new project, open, save as, and the files opened or
// saved last. A recent file that no longer exists is drawn greyed but can still be chosen: the
// main window then takes it off the list and says why.
class ProjectMenu : public QMenu {
    Q_OBJECT
public:
    ProjectMenu(NotifyHub& hub, QWidget* parent);

    // Fills the menu from the main window's commands (it does so itself before it shows).
    void rebuild();
    // The entries of the recent files, newest first.
    QList<QAction*> recentActions() const { return recent_; }
    static bool isMissing(const QAction* action);

protected:
    void initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const override;

private:
    NotifyHub& hub_;
    QList<QAction*> recent_;
};
