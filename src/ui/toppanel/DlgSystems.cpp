#include "ui/toppanel/DlgSystems.h"

#include "calc/DSSystem.h"
#include "catalog/Catalog.h"
#include "model/Project.h"
#include "ui/shared/Notify.h"
#include "ui/shared/Pictures.h"

DlgSystems::DlgSystems(Project& project, NotifyHub& hub, QWidget* parent)
    : SelectionPopup(project, hub, parent) {
    setAccessibleName(QStringLiteral("Выбор системы"));
    std::vector<Choice> entries;
    for (DSSystem* s : project_.catalog().systems())
        entries.push_back(
            {s->index, QString::fromStdString(s->code), pictures::systemPicture(s->index)});
    buildRow(entries, kButtonWidth);
}

void DlgSystems::choose(int recordIndex) {
    hide();
    for (DSSystem* s : project_.catalog().systems()) {
        if (s->index != recordIndex)
            continue;
        if (s != project_.system)
            project_.setSystem(s);
        break;
    }
    hub_.notify(Notify::CatalogSelection);
    hub_.notify(Notify::ProjectChanged);
}
