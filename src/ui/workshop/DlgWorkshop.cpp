#include "ui/workshop/DlgWorkshop.h"

#include "ui/workshop/BatchesPage.h"
#include "ui/workshop/CutListPage.h"
#include "ui/workshop/OffcutsPage.h"

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

DlgWorkshop::DlgWorkshop(JournalRunner& session, Catalog& catalog, QWidget* parent)
    : DlgWorkshop(parent) {
    offcuts_ = new OffcutsPage(session, pages_);
    pages_->addTab(offcuts_, QStringLiteral("Остатки"));
    batches_ = new BatchesPage(session, catalog, pages_);
    pages_->addTab(batches_, QStringLiteral("Партии"));
    // What one page changes in the store, the other shows.
    connect(batches_, &BatchesPage::journalChanged, offcuts_, &OffcutsPage::refresh);
    connect(offcuts_, &OffcutsPage::storeChanged, batches_, &BatchesPage::refresh);
    connect(pages_, &QTabWidget::currentChanged, this, [this](int index) {
        if (pages_->widget(index) == offcuts_)
            offcuts_->refresh();
        else if (pages_->widget(index) == batches_)
            batches_->refresh();
    });
}

void DlgWorkshop::planBatch(const std::vector<int64_t>& orders) {
    if (batches_ == nullptr)
        return;
    pages_->setCurrentWidget(batches_);
    batches_->takeOrders(orders);
}
