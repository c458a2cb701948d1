#pragma once

#include "ui/shared/SelectionPopup.h"

class DSSystem;

// Chooses the handle profile among those the current system offers. Rebuilt when the system
// changed since the last build, and always for the system whose list depends on its mounting mode.
class DlgHands : public SelectionPopup {
    Q_OBJECT
public:
    static constexpr int kButtonWidth = 95;

    DlgHands(Project& project, NotifyHub& hub, QWidget* parent);

    // The top panel forwards the catalog-selection notification here.
    void onCatalogSelection();

protected:
    void choose(int recordIndex) override;

private:
    void rebuild();
    const DSSystem* builtFor_ = nullptr;
};
