#include "app/Panels.h"

#include "ui/Notify.h"
#include "ui/catalog/RightPanelDlg.h"
#include "ui/output/DlgTable.h"
#include "ui/output/InfoPanelDlg.h"
#include "ui/sketch/DraftDlg.h"

namespace panels {

RightPanelDlg* createRightPanel(Project& project, NotifyHub& hub, QWidget* parent) {
    return new RightPanelDlg(project, hub, parent);
}

DraftDlg* createSketch(Project& project, NotifyHub& hub, QWidget* parent) {
    return new DraftDlg(project, &hub, parent);
}

InfoPanelDlg* createInfoPanel(Project& project, QWidget* parent) {
    return new InfoPanelDlg(project, parent);
}

DlgTable* createTable(Project& project, int mode, QWidget* parent) {
    return new DlgTable(project, mode, parent);
}

} // namespace panels
