#include "app/Panels.h"

#include "ui/materials/RightPanelDlg.h"
#include "ui/results/DlgTable.h"
#include "ui/results/InfoPanelDlg.h"
#include "ui/shared/Notify.h"
#include "ui/sketch/DraftDlg.h"

namespace panels {

RightPanelDlg* createRightPanel(Project& project, NotifyHub& hub, QWidget* parent) {
    return new RightPanelDlg(project, hub, parent);
}

DraftDlg* createSketch(Project& project, NotifyHub& hub, QWidget* parent) {
    return new DraftDlg(project, &hub, parent);
}

InfoPanelDlg* createInfoPanel(Project& project, QWidget* parent) {
    auto* info = new InfoPanelDlg(project, parent);
    info->setAccessibleName(QStringLiteral("Элемент под указателем"));
    return info;
}

DlgTable* createTable(Project& project, int mode, QWidget* parent) {
    static const char* const names[] = {"Расчет цены", "Информация о заказе", "Профили и материалы",
                                        "Информация по сборке"};
    auto* table = new DlgTable(project, mode, parent);
    table->setAccessibleName(QString::fromUtf8(names[mode]));
    return table;
}

} // namespace panels
