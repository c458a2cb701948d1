#pragma once

#include <QWidget>

class CutListPage;
class QTabWidget;

// The workshop window "Производство", a window of its own beside the main window: one page per
// kind of work ("Раскрой по списку" today; batches and the offcut store come as pages beside it).
// Closing it only hides it, so what was typed into its pages is there when it is opened again in
// the same session.
class DlgWorkshop : public QWidget {
    Q_OBJECT
public:
    explicit DlgWorkshop(QWidget* parent = nullptr);

    QTabWidget* pages() const { return pages_; }
    CutListPage* cutListPage() const { return cutList_; }

private:
    QTabWidget* pages_ = nullptr;
    CutListPage* cutList_ = nullptr;
};
