#pragma once

#include "journal/BatchStore.h"
#include "plan/CuttingPlan.h"

#include "ui/shared/JournalRunner.h"
#include "ui/shared/PageMessage.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class BatchJob;
class BatchPlan;
class Catalog;
class CutListPlanView;
class Journal;
class QComboBox;
class QDateEdit;

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// The workshop's page "Партии": the journal's batches (number, when, who, state, orders), one
// opened with its plan, its pack saved again with the same offcut ids, one cancelled; and a new
// batch: its orders chosen by period and state (or handed over from the journal window's
// selected rows), planned on a thread of its own with the store's offcuts, its summary shown,
// and "Запустить в производство" starting it. When another seat took a planned offcut in the
// meantime nothing is started: the batch is planned again and the page says what changed.
class BatchesPage : public QWidget {
    Q_OBJECT
public:
    enum Column { Number, CreatedAt, CreatedBy, State, Orders, ColumnCount };

    BatchesPage(JournalRunner& session, Catalog& catalog, QWidget* parent = nullptr);
    ~BatchesPage() override;

    // Reads the batches again, keeping the selected one selected.
    void refresh();
    // The orders of a new batch, as chosen elsewhere (the journal window); planned at once.
    void takeOrders(const std::vector<int64_t>& numbers);
    // The number of the selected batch; 0 when none is.
    int64_t selectedBatch() const;
    bool selectBatch(int64_t id);
    // The orders of the new batch as the field lists them (empty when a number is not valid).
    std::vector<int64_t> chosenOrders() const;
    bool planning() const;
    // The plan of the new batch; null until one is made.
    const BatchPlan* newPlan() const;
    const std::vector<BatchRecord>& batches() const { return batches_; }

    QTableWidget* table() const { return table_; }
    QPushButton* openButton() const { return open_; }
    QPushButton* packButton() const { return pack_; }
    QPushButton* cancelButton() const { return cancel_; }
    QDateEdit* fromEdit() const { return from_; }
    QDateEdit* toEdit() const { return to_; }
    QComboBox* statusChoice() const { return status_; }
    QPushButton* chooseButton() const { return choose_; }
    QLineEdit* ordersEdit() const { return orders_; }
    QPushButton* planButton() const { return plan_; }
    QPushButton* startButton() const { return start_; }
    QLabel* summaryLabel() const { return summary_; }
    QLabel* messageLabel() const { return message_; }
    CutListPlanView* planView() const { return view_; }

signals:
    // A batch was started or cancelled: orders and offcuts changed.
    void journalChanged();
    // Planning of the new batch finished (its summary and plan are shown).
    void planned();

private:
    void chooseByPeriod();
    void planChosen();
    void planFinished();
    void startBatch();
    // The batch's plan as the journal keeps it; a plan that cannot be read is said.
    std::optional<CuttingPlan> planOf(const BatchRecord& batch);
    void openSelected();
    void savePack();
    void cancelSelected();
    void updateButtons();
    void say(const QString& text, bool failure);
    bool call(JournalSession::Action action, const std::function<void(Journal&)>& work);

    JournalRunner& session_;
    Catalog& catalog_;
    BatchJob* job_ = nullptr;
    std::vector<BatchRecord> batches_;
    std::vector<int64_t> plannedOrders_;  // the orders the new plan covers
    std::unique_ptr<BatchPlan> previous_; // the plan a conflict made stale, to say what changed
    QTableWidget* table_ = nullptr;
    QPushButton* open_ = nullptr;
    QPushButton* pack_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QDateEdit* from_ = nullptr;
    QDateEdit* to_ = nullptr;
    QComboBox* status_ = nullptr;
    QPushButton* choose_ = nullptr;
    QLineEdit* orders_ = nullptr;
    QPushButton* plan_ = nullptr;
    QPushButton* start_ = nullptr;
    QLabel* caption_ = nullptr;
    QLabel* summary_ = nullptr;
    PageMessage* message_ = nullptr;
    CutListPlanView* view_ = nullptr;
};
