#include "app/Panels.h"

#include "ui/Notify.h"
#include "ui/Style.h"
#include "ui/output/DlgTable.h"
#include "ui/output/InfoPanelDlg.h"
#include "ui/sketch/DraftDlg.h"

#include <QPainter>
#include <QWidget>

namespace {

// The right-hand materials panel until its own class exists: the panel background only.
class EmptyPanel : public QWidget {
public:
    explicit EmptyPanel(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), style::panelBrush());
        p.setPen(style::panelLine());
        p.drawLine(0, 0, 0, height());
    }
};

} // namespace

namespace panels {

QWidget* createRightPanel(Project&, NotifyHub&, QWidget* parent) {
    return new EmptyPanel(parent);
}

QWidget* createSketch(Project& project, NotifyHub& hub, QWidget* parent) {
    return new DraftDlg(project, &hub, parent);
}

QWidget* createInfoPanel(Project& project, QWidget* parent) {
    return new InfoPanelDlg(project, parent);
}

QWidget* createTable(Project& project, int mode, QWidget* parent) {
    return new DlgTable(project, mode, parent);
}

} // namespace panels
