#include "ui/workshop/DlgWorkshop.h"

#include "ui/workshop/CutListPage.h"

#include <QTabWidget>
#include <QVBoxLayout>

DlgWorkshop::DlgWorkshop(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("Производство"));
    setAccessibleName(windowTitle());
    pages_ = new QTabWidget(this);
    pages_->setAccessibleName(QStringLiteral("Страницы производства"));
    cutList_ = new CutListPage(pages_);
    pages_->addTab(cutList_, QStringLiteral("Раскрой по списку"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(pages_);
    setMinimumSize(900, 600);
    resize(1180, 780);
}
