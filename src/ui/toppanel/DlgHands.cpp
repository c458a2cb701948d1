#include "ui/toppanel/DlgHands.h"

#include "calc/DSSystem.h"
#include "catalog/Catalog.h"
#include "model/Project.h"
#include "ui/shared/Notify.h"
#include "ui/shared/Pictures.h"

DlgHands::DlgHands(Project& project, NotifyHub& hub, QWidget* parent)
    : SelectionPopup(project, hub, parent) {
    setAccessibleName(QStringLiteral("Выбор ручки"));
    rebuild();
}

void DlgHands::onCatalogSelection() {
    // Мелоза's handle list depends on its mounting mode.
    if (project_.system != builtFor_ ||
        (project_.system && project_.system->systemKind == SystemMeloza))
        rebuild();
}

void DlgHands::rebuild() {
    builtFor_ = project_.system;
    std::vector<Choice> entries;
    if (project_.system) {
        std::vector<HandleProfile*> list;
        for (HandleProfile* h : project_.system->listHandleProfiles(list))
            entries.push_back(
                {h->index, QString::fromStdString(h->code), pictures::profilePicture(*h)});
    }
    buildRow(entries, kButtonWidth);
}

void DlgHands::choose(int recordIndex) {
    hide();
    for (HandleProfile* h : project_.catalog().handleTable()) {
        if (h->index == recordIndex) {
            project_.setHandleProfile(h);
            break;
        }
    }
    hub_.notify(Notify::CatalogSelection);
    hub_.notify(Notify::ProjectChanged);
}
