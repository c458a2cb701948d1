#pragma once

#include "plan/CutListPlan.h"

#include <QElapsedTimer>
#include <QWidget>

class CutListJob;
class CutListPlanView;
class CutListTableBox;
class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTimer;

// The workshop window's page "Раскрой по списку": the pieces and the stock of any job in two
// tables, the saw's settings, planning on a thread of its own with its progress and "Стоп", the
// plan drawn bar by bar and sheet by sheet with the totals per material, and the plan printed,
// written as PDF or as labels. The tables are checked by the cut list files' own readers, so a
// refusal reads as the command line's, naming the table's row.
class CutListPage : public QWidget {
    Q_OBJECT
public:
    explicit CutListPage(QWidget* parent = nullptr);
    ~CutListPage() override;

    // Checks the tables and starts planning; false when a table is refused (the refusal shown,
    // its row selected) or a plan is still being made.
    bool startPlanning();
    void stopPlanning();
    bool planning() const;
    const CutListPlan& plan() const { return plan_; }

    void printPlan();
    void savePlanPdf();
    void saveLabelsPdf();

    CutListTableBox* piecesBox() const { return pieces_; }
    CutListTableBox* stockBox() const { return stock_; }
    QSpinBox* kerfEdit() const { return kerf_; }
    QSpinBox* trimEdit() const { return trim_; }
    QSpinBox* minOffcutEdit() const { return minOffcut_; }
    QCheckBox* rotateBox() const { return rotate_; }
    QDoubleSpinBox* secondsEdit() const { return seconds_; }
    QPushButton* planButton() const { return planButton_; }
    QPushButton* stopButton() const { return stopButton_; }
    QPushButton* printButton() const { return printButton_; }
    QPushButton* pdfButton() const { return pdfButton_; }
    QPushButton* labelsButton() const { return labelsButton_; }
    QProgressBar* progressBar() const { return progress_; }
    QLabel* statusLabel() const { return status_; }
    QLabel* totalsLabel() const { return totals_; }
    QLabel* materialsLabel() const { return materials_; }
    CutListPlanView* planView() const { return view_; }

private:
    QWidget* buildSettings();
    QWidget* buildResults();
    // The list the tables and settings give, or the refusal shown and nullopt.
    std::optional<CutList> listFromTables();
    void refuse(CutListTableBox* box, const CutListError& error);
    void setPlanning(bool on);
    void showProgress(int done, int total, const QString& material);
    void tick();
    void planned(const CutListPlan& plan);
    bool havePlan() const;

    CutListTableBox* pieces_ = nullptr;
    CutListTableBox* stock_ = nullptr;
    QSpinBox* kerf_ = nullptr;
    QSpinBox* trim_ = nullptr;
    QSpinBox* minOffcut_ = nullptr;
    QCheckBox* rotate_ = nullptr;
    QDoubleSpinBox* seconds_ = nullptr;
    QPushButton* planButton_ = nullptr;
    QPushButton* stopButton_ = nullptr;
    QPushButton* printButton_ = nullptr;
    QPushButton* pdfButton_ = nullptr;
    QPushButton* labelsButton_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* totals_ = nullptr;
    QLabel* materials_ = nullptr;
    CutListPlanView* view_ = nullptr;

    CutListJob* job_ = nullptr;
    QTimer* ticker_ = nullptr;
    QElapsedTimer clock_;
    QString stage_; // what the status line says is being planned
    CutListPlan plan_;
};
