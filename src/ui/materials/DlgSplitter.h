#pragma once

#include "ui/shared/SelectionPopup.h"

class DSSystem;

// The splitter profile popup of the materials panel: one button per splitter profile of the
// current system, labelled with the profile's code and its kind, and a closing button. A profile
// button makes that profile the one new splitters get.
class DlgSplitter : public SelectionPopup {
    Q_OBJECT
public:
    static constexpr int kButtonWidth = 101;

    DlgSplitter(Project& project, NotifyHub& hub, QWidget* parent);

    // Rebuilds the buttons when the project's system is not the one they were built for.
    void refresh();

    // "ДСП-ДСП", "ДСП-Стекло" or "Универсальный" for the splitter types 0, 1 and 2.
    static QString kindText(int splitterType);

protected:
    void choose(int recordIndex) override;

private:
    void rebuild();
    const DSSystem* builtFor_ = nullptr;
};
