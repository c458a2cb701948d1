#pragma once

class CutListPlan;
class QWidget;

// What the cut list page does with a plan: prints its pages on a printer chosen in the standard
// print dialog (offering the PDF when no printer is installed), writes them as PDF, or writes a
// label per cut piece and kept offcut; every failure is shown over the parent.
class CutListCommands {
public:
    CutListCommands(const CutListPlan& plan, QWidget* parent);

    void print();
    void savePlanPdf();
    void saveLabelsPdf();

private:
    const CutListPlan& plan_;
    QWidget* parent_;
};
