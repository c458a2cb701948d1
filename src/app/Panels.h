#pragma once

class DlgTable;
class DraftDlg;
class InfoPanelDlg;
class NotifyHub;
class Project;
class QWidget;
class RightPanelDlg;

// The panels whose classes come from other parts of the program are made here, so that the main
// window only wires them. Each is returned with its own class, so that the main window forwards
// notifications to it as a receiver the compiler checks.
namespace panels {

RightPanelDlg* createRightPanel(Project& project, NotifyHub& hub, QWidget* parent);
DraftDlg* createSketch(Project& project, NotifyHub& hub, QWidget* parent);
InfoPanelDlg* createInfoPanel(Project& project, QWidget* parent);
DlgTable* createTable(Project& project, int mode, QWidget* parent);

} // namespace panels
