#pragma once

#include "ui/shared/SelectionPopup.h"

// Chooses the sliding-door system: the nine systems of the catalog in index order, built once.
class DlgSystems : public SelectionPopup {
    Q_OBJECT
public:
    static constexpr int kButtonWidth = 101;

    DlgSystems(Project& project, NotifyHub& hub, QWidget* parent);

protected:
    void choose(int recordIndex) override;
};
