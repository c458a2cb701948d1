#pragma once

class ProjectCommands;
#include <QPoint>

#include <optional>

class UndoHistory;

// The notifications of the main window. A panel never talks to another panel: it changes the
// project through the project's operations and then tells the main window what happened; the
// main window forwards the notification to the panels that depend on it. Notifications carry no
// data: receivers re-read the project.
enum class Notify : int {
    CatalogSelection = 1,  // system, handle profile, colour or a system option changed
    ProjectChanged = 2,    // the project was recalculated
    Hover = 3,             // the element under the mouse on the sketch changed
    SketchPress = 4,       // the mouse was pressed on the sketch
    TotalsChanged = 6,     // prices or totals changed
    DiscountChanged = 7,   // the discount field must be re-read from the project
    PopupOpened = 8,       // a popup takes the input: the panels disable themselves
    PopupClosed = 9,       // the popup closed: the panels enable themselves again
    TabChanged = 10,       // the tab strip selected another tab
    OrderChanged = 11,     // the order data was replaced (after a sketch was opened)
    OrderFieldChanged = 12 // the order card changed a field; handled like TotalsChanged
};

// Where panels send their notifications: the main window (or a recorder in tests).
//
// The main window records every change notification (CatalogSelection, ProjectChanged,
// TotalsChanged, DiscountChanged, OrderFieldChanged) as a step of the project's undo history, so
// a panel that changes the project through its operations and notifies gets undo for free.
class NotifyHub {
public:
    virtual ~NotifyHub() = default;
    virtual void notify(Notify n) = 0;

    // The project's undo history; null where there is none. A popup that finishes the change
    // which opened it calls beginStep() / endStep() around its own changes.
    virtual UndoHistory* history() { return nullptr; }
    // Undo and redo of one step, with every panel refreshed; false when there was none.
    virtual bool undo() { return false; }
    virtual bool redo() { return false; }
    // Opening, saving and starting projects; null where there is no main window.
    virtual ProjectCommands* commands() { return nullptr; }

    // Where the sketch's own coordinates (the screen rectangles of doors and inserts) start on
    // the screen, so that a popup about an element of the sketch can open beside it; nothing
    // where there is no sketch.
    virtual std::optional<QPoint> sketchOrigin() const { return std::nullopt; }
};

// Implemented by every panel that the main window forwards notifications to. The main window
// calls receive() with the notification the forwarding table gives for that panel (for example
// the result tables receive ProjectChanged as part of TotalsChanged).
class NotifyReceiver {
public:
    virtual ~NotifyReceiver() = default;
    virtual void receive(Notify n) = 0;
};
