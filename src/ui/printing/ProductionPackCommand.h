#pragma once

#include "output/LabelGrid.h"

class Project;
class QWidget;

// "Производство" in the window: asks where to save the production pack and writes it. The pack
// is drawn part by part with the window's events handled in between, and a progress dialog with
// "Отмена" appears when it takes longer than a moment.
class ProductionPackCommand {
public:
    static constexpr int kProgressDelayMs = 400;

    ProductionPackCommand(Project& project, QWidget* parent);

    void run(const LabelGrid& labels);

private:
    Project& project_;
    QWidget* parent_;
};
