#pragma once

class NotifyHub;
class Project;
class QWidget;

// The panels whose classes come from other parts of the program are made here, so that the main
// window only wires them. A panel that does not exist yet is an empty panel of the right look.
namespace panels {

QWidget* createRightPanel(Project& project, NotifyHub& hub, QWidget* parent);
QWidget* createSketch(Project& project, NotifyHub& hub, QWidget* parent);
QWidget* createInfoPanel(Project& project, QWidget* parent);
QWidget* createTable(Project& project, int mode, QWidget* parent);

} // namespace panels
