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
    auto* info = new InfoPanelDlg(project, parent);
    info->setAccessibleName(QStringLiteral("Элемент под указателем"));
    return info;
}

QWidget* createTable(Project& project, int mode, QWidget* parent) {
    static const char* const names[] = {"Расчет цены", "Информация о заказе", "Профили и материалы",
                                        "Информация по сборке"};
    auto* table = new DlgTable(project, mode, parent);
    table->setAccessibleName(QString::fromUtf8(names[mode]));
    return table;
}

} // namespace panels
