#pragma once

#include <QWidget>

#include <cstdint>
#include <vector>

class BatchesPage;
class Catalog;
class CutListPage;
class JournalRunner;
class OffcutsPage;
class QTabWidget;

// The workshop window "Производство", a window of its own beside the main window: one page per
// kind of work ("Раскрой по списку"; with the journal also "Остатки", the offcut store, and
// "Партии", orders cut together). Closing it only hides it, so what was typed into its pages is
// there when it is opened again in the same session.
class DlgWorkshop : public QWidget {
    Q_OBJECT
public:
    explicit DlgWorkshop(QWidget* parent = nullptr);
    // With the journal's pages: the session the main window holds and the catalog the orders'
    // sketches are read with.
    DlgWorkshop(JournalRunner& session, Catalog& catalog, QWidget* parent = nullptr);

    QTabWidget* pages() const { return pages_; }
    CutListPage* cutListPage() const { return cutList_; }
    OffcutsPage* offcutsPage() const { return offcuts_; }
    BatchesPage* batchesPage() const { return batches_; }

    // Shows "Партии" with a new batch of these orders being planned.
    void planBatch(const std::vector<int64_t>& orders);

private:
    QTabWidget* pages_ = nullptr;
    CutListPage* cutList_ = nullptr;
    OffcutsPage* offcuts_ = nullptr;
    BatchesPage* batches_ = nullptr;
};
