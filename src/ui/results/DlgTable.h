#pragma once

#include "ui/results/TableRenderer.h"
#include "ui/shared/Notify.h"

#include <QAbstractScrollArea>
#include <QImage>

#include <vector>

class Project;
struct ResultTable;

// One result page (price calculation, order information, profiles and materials, assembly): the
// page's tables built from the project, painted into a back buffer and scrolled vertically, and
// printed page by page.
class DlgTable : public QAbstractScrollArea, public NotifyReceiver {
    Q_OBJECT
public:
    static constexpr int kScrollLine = 10; // pixels per line step and per wheel notch
    static constexpr int kMaxBufferHeight = 16384;

    DlgTable(Project& project, int mode, QWidget* parent = nullptr);

    int mode() const { return mode_; }

    // ProjectChanged (also as part of TotalsChanged and after order changes) rebuilds the page,
    // at once when it is shown, else when it is shown or read next.
    void receive(Notify n) override;

    // Discards the tables, builds them anew from the project, lays them out and repaints.
    void refresh();

    // Prints what fits into rect of a printer page, continuing where the last call stopped;
    // moves rect's top below what it drew; true when the page's tables are complete.
    bool printPage(QPainter& painter, QRect& rect);

    const TablePage& page() const;

    // The page's tables in grid form (also used by printing without a window).
    static std::vector<GridTable> gridTables(const std::vector<ResultTable>& tables);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void relayout();
    void ensureBuffer(int scroll);

    Project& project_;
    int mode_;
    TablePage page_;
    QImage buffer_;
    int bufferTop_ = 0; // page y of the buffer's first line
    bool redraw_ = true;
    bool relayingOut_ = false;
    bool stale_ = false;   // the project changed while the page was hidden
    int wheelEighths_ = 0; // wheel turn not yet scrolled, in 1/120 of a notch per pixel
};
