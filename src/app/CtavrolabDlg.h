#pragma once

#include "journal/PendingPlacings.h"
#include "ui/shared/Notify.h"

#include <QWidget>

#include <array>
#include <memory>
#include <string>
#include <thread>

class DlgOrder;
class DlgOrders;
class DlgWorkshop;
class JournalRunner;
class DlgPlan;
class DlgTable;
class DlgTabs;
class DraftDlg;
class InfoPanelDlg;
class OrderDocument;
class PendingPlacer;
class Project;
class QLabel;
class RightPanelDlg;
class SumDlg;
class TopPanelDlg;
class UndoHistory;

// The main window: creates and places the panels, shows the views of the selected tab and is the
// notification hub. Panels never call each other; they notify this window, whose one dispatch
// function forwards each notification to the panels that depend on it.
//
// The hub also keeps the undo history: every change notification records the project's state
// once the event that caused it has been handled, so one user action is one step, whatever the
// number of notifications it sent. Ctrl+Z undoes, Ctrl+Shift+Z and Ctrl+Y redo.
class CtavrolabDlg : public QWidget, public NotifyHub {
    Q_OBJECT
public:
    static constexpr int kMinWidth = 1204;
    static constexpr int kMinHeight = 768;
    static constexpr int kTabStripWidth = 39;
    static constexpr int kRightPanelWidth = 280;
    static constexpr int kInfoHeight = 60;

    explicit CtavrolabDlg(Project& project, QWidget* parent = nullptr);
    ~CtavrolabDlg() override;

    // The hub.
    void notify(Notify n) override;
    UndoHistory* history() override;
    bool undo() override;
    bool redo() override;
    ProjectCommands* commands() override;

    // The project as a document: its file, unsaved changes, autosave and recovery.
    OrderDocument& document() const { return *document_; }
    // Opens an order's sketch file the way every command that replaces the project does: asks
    // about unsaved changes first. False when the project was kept.
    bool openOrder(const QString& path);
    // A change is in progress (a drag on the sketch, a popup, a grouped step): the project is
    // between two states a user would keep.
    bool changeInProgress() const;
    // A warning on the information strip under the sketch.
    void warn(const QString& text);
    std::optional<QPoint> sketchOrigin() const override;

    TopPanelDlg* topPanel() const { return top_; }
    SumDlg* sumPanel() const { return sum_; }
    RightPanelDlg* materialsPanel() const { return right_; }
    DlgTabs* tabStrip() const { return tabs_; }
    QWidget* infoPanel() const;
    QWidget* sketch() const;
    QWidget* table(int mode) const;
    DlgOrder* orderCard() const { return order_; }
    DlgPlan* planPage() const { return plan_; }
    // The order journal of this run and its window ("Журнал заказов", made on first use).
    JournalRunner& journal() const { return *journal_; }
    DlgOrders* ordersWindow() const { return orders_; }
    void showOrders();
    // The workshop window, made on first use and kept (hidden when closed) for the session.
    DlgWorkshop* workshopWindow() const { return workshop_; }
    // Places the orders kept while the journal was away.
    PendingPlacer& pendingPlacer() const { return *pending_; }
    void showWorkshop();
    QLabel* logo() const { return logo_; }

    // Whether the window offers its minimize button (removed while a popup is open).
    bool hasMinimizeBox() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void startDailyCopy();
    // After a round of placing the orders kept while the journal was away: the open document
    // gets its number, the information strip says what happened.
    void pendingPlaced(const PendingPlacings::Outcome& outcome);
    // The journal's state on the information strip: "Журнал заказов недоступен" with the time it
    // last answered while it does not answer, cleared when it answers again.
    void showJournalState();
    // Before the first printing of this window: says on the information strip when the shop's
    // logo is too tall and prints smaller.
    void noticeCappedLogo();
    void layoutPanels();
    void chainFocus();
    void showTab(int tab);
    void setMinimizeBox(bool on);
    void setPanelsEnabled(bool enabled);
    // Every panel the table forwards to is a receiver by its type: a panel that forgot to be one
    // does not compile. Panels not created yet (notifications sent while the window builds
    // itself) receive nothing.
    static void send(NotifyReceiver* panel, Notify n) {
        if (panel)
            panel->receive(n);
    }
    // Records the change once the present event is handled.
    void scheduleRecord();
    // Undo (back) or redo, then every panel re-reads the project as after opening a file.
    bool restoreStep(bool back);
    // An order of the journal opened as the project, or copied into a new order.
    // How an order from the journal is opened: to look at, to change as a new revision, or as
    // the start of a new order.
    enum class JournalOpen { View, Revise, Copy };
    void openJournalOrder(const QByteArray& sketch, qint64 number, JournalOpen how);

    Project& project_;
    TopPanelDlg* top_ = nullptr;
    SumDlg* sum_ = nullptr;
    RightPanelDlg* right_ = nullptr;
    DlgTabs* tabs_ = nullptr;
    InfoPanelDlg* info_ = nullptr;
    DraftDlg* sketch_ = nullptr;
    std::array<DlgTable*, 4> tables_{};
    DlgPlan* plan_ = nullptr; // the cutting plans, the last tab
    DlgOrder* order_ = nullptr;
    QLabel* logo_ = nullptr;
    std::unique_ptr<JournalRunner> journal_;
    QString journalWarning_; // the strip's journal warning while it is shown
    std::thread dailyCopy_;  // the day's copy of a single seat's journal, taken at start
    DlgOrders* orders_ = nullptr;
    DlgWorkshop* workshop_ = nullptr;
    PendingPlacer* pending_ = nullptr;
    std::unique_ptr<UndoHistory> history_;
    std::unique_ptr<OrderDocument> document_;
    bool restoring_ = false;
    bool popupOpen_ = false;
    bool logoNoticeGiven_ = false;
    bool recordQueued_ = false;
    std::string recordKey_;
};
