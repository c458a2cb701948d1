#pragma once

#include "plan/CuttingPlan.h"
#include "ui/shared/Notify.h"

#include <QAbstractScrollArea>

#include <memory>
#include <set>
#include <string>

class JournalRunner;
class Project;
class QHBoxLayout;
class QSpinBox;

// The result page "Раскрой": kerf, end trim and minimum offcut length, a rotation toggle per
// material group of the order, and under them the cutting plan drawn to scale, scrolled
// vertically. The settings are the workshop's for the whole run; printing uses them too.
class DlgPlan : public QAbstractScrollArea, public NotifyReceiver {
    Q_OBJECT
public:
    static constexpr int kControlsHeight = 64;

    explicit DlgPlan(Project& project, QWidget* parent = nullptr);

    // ProjectChanged rebuilds the plan (when the page is shown next, if it is hidden).
    void receive(Notify n) override;
    void refresh();
    // With a journal, each article and material of the plan says what the journal's offcut
    // store could give it ("из остатков: 2"), taking nothing from the store.
    void setJournal(JournalRunner* session);

    const CuttingPlan& plan() const { return *plan_; }
    void setKerf(int mm);
    void setTrim(int mm);
    void setMinOffcut(int mm);

    // The settings the page shows, shared with printing.
    static PlanSettings& workshopSettings();
    // The plan of the project with those settings and the offcut file of its data folder.
    static CuttingPlan planFor(const Project& project);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void relayout();
    void rebuildRotationToggles();

    Project& project_;
    JournalRunner* journal_ = nullptr;
    std::unique_ptr<CuttingPlan> plan_;
    QWidget* controls_ = nullptr;
    QSpinBox* kerf_ = nullptr;
    QSpinBox* trim_ = nullptr;
    QSpinBox* minOffcut_ = nullptr;
    QHBoxLayout* rotations_ = nullptr;
    std::set<std::string> toggledGroups_; // the groups the rotation toggles stand for
    int contentHeight_ = 0;
    bool stale_ = true; // the project changed while the page was hidden
};
