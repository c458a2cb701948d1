#include "ui/materials/DlgSplitter.h"

#include "calc/DSSystem.h"
#include "catalog/SplitterProfile.h"
#include "model/Project.h"
#include "ui/shared/Notify.h"
#include "ui/shared/PictureButton.h"
#include "ui/shared/Pictures.h"

DlgSplitter::DlgSplitter(Project& project, NotifyHub& hub, QWidget* parent)
    : SelectionPopup(project, hub, parent) {
    setObjectName(QStringLiteral("Профили разделителей"));
    setAccessibleName(QStringLiteral("Выбор профиля разделителя"));
    cancelButton()->setPicture(pictures::missingPicture());
    cancelButton()->setAccessibleName(QStringLiteral("Закрыть выбор профиля разделителя"));
    rebuild();
}

QString DlgSplitter::kindText(int splitterType) {
    switch (splitterType) {
    case 1:
        return QStringLiteral("ДСП-Стекло");
    case 2:
        return QStringLiteral("Универсальный");
    default:
        return QStringLiteral("ДСП-ДСП");
    }
}

void DlgSplitter::refresh() {
    if (project_.system != builtFor_)
        rebuild();
}

void DlgSplitter::rebuild() {
    builtFor_ = project_.system;
    std::vector<Choice> entries;
    for (const SplitterProfile* p : project_.system->splitterProfiles)
        entries.push_back({p->index,
                           QString::fromStdString(p->code) + QStringLiteral(" (") +
                               kindText(p->splitterType) + QStringLiteral(")"),
                           pictures::profilePicture(*p)});
    buildRow(entries, kButtonWidth);
    for (PictureButton* b : choiceButtons())
        b->setAccessibleName(QStringLiteral("Профиль разделителя ") + b->text());
}

void DlgSplitter::choose(int recordIndex) {
    for (const SplitterProfile* p : project_.system->splitterProfiles) {
        if (p->index == recordIndex) {
            project_.setSplitterProfile(p);
            break;
        }
    }
    hub_.notify(Notify::CatalogSelection);
    hub_.notify(Notify::ProjectChanged);
    hide();
}
