#include "ui/results/DlgPlan.h"

#include "catalog/Catalog.h"
#include "journal/BatchOffcuts.h"
#include "journal/BatchOrders.h"
#include "journal/Journal.h"
#include "journal/JournalError.h"
#include "model/Project.h"
#include "ui/results/CuttingPlanPainter.h"
#include "ui/shared/JournalRunner.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QSpinBox>
#include <QVBoxLayout>

#include <set>

namespace {

constexpr int kMargin = 20;

QSpinBox* millimetreBox(QWidget* parent, int most, int value) {
    auto* box = new QSpinBox(parent);
    box->setRange(0, most);
    box->setSuffix(QStringLiteral(" мм"));
    box->setValue(value);
    return box;
}

} // namespace

PlanSettings& DlgPlan::workshopSettings() {
    static PlanSettings settings;
    return settings;
}

CuttingPlan DlgPlan::planFor(const Project& project) {
    return CuttingPlan::buildWithShopOffcuts(project, workshopSettings());
}

DlgPlan::DlgPlan(Project& project, QWidget* parent)
    : QAbstractScrollArea(parent), project_(project), plan_(std::make_unique<CuttingPlan>()) {
    setFrameShape(QFrame::NoFrame);
    setAccessibleName(QStringLiteral("Раскрой"));
    viewport()->setAutoFillBackground(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verticalScrollBar()->setSingleStep(10);

    controls_ = new QWidget(this);
    auto* rows = new QVBoxLayout(controls_);
    rows->setContentsMargins(kMargin, 6, kMargin, 6);
    auto* sizes = new QHBoxLayout();
    const PlanSettings& s = workshopSettings();
    kerf_ = millimetreBox(controls_, 100, s.kerf / 10);
    trim_ = millimetreBox(controls_, 1000, s.trim / 10);
    minOffcut_ = millimetreBox(controls_, 10000, s.minOffcut / 10);
    // Each box is named by its label, so a screen reader announces what the number means.
    auto labelled = [&](const QString& text, QSpinBox* box) {
        auto* label = new QLabel(text, controls_);
        label->setBuddy(box);
        box->setAccessibleName(QString(text).remove(QLatin1Char(':')) + QStringLiteral(", мм"));
        sizes->addWidget(label);
        sizes->addWidget(box);
    };
    labelled(QStringLiteral("Пропил:"), kerf_);
    sizes->addSpacing(12);
    labelled(QStringLiteral("Торцовка:"), trim_);
    sizes->addSpacing(12);
    labelled(QStringLiteral("Деловой остаток от:"), minOffcut_);
    sizes->addStretch(1);
    rows->addLayout(sizes);
    rotations_ = new QHBoxLayout();
    rows->addLayout(rotations_);
    setViewportMargins(0, kControlsHeight, 0, 0);

    auto changed = [this](int32_t PlanSettings::*field, int mm) {
        workshopSettings().*field = mm * 10;
        refresh();
    };
    connect(kerf_, &QSpinBox::valueChanged, this,
            [changed](int v) { changed(&PlanSettings::kerf, v); });
    connect(trim_, &QSpinBox::valueChanged, this,
            [changed](int v) { changed(&PlanSettings::trim, v); });
    connect(minOffcut_, &QSpinBox::valueChanged, this,
            [changed](int v) { changed(&PlanSettings::minOffcut, v); });
}

void DlgPlan::setKerf(int mm) {
    kerf_->setValue(mm);
}

void DlgPlan::setTrim(int mm) {
    trim_->setValue(mm);
}

void DlgPlan::setMinOffcut(int mm) {
    minOffcut_->setValue(mm);
}

void DlgPlan::receive(Notify n) {
    if (n != Notify::ProjectChanged)
        return;
    stale_ = true;
    if (isVisible())
        refresh();
}

void DlgPlan::showEvent(QShowEvent* event) {
    QAbstractScrollArea::showEvent(event);
    if (stale_)
        refresh();
}

void DlgPlan::setJournal(JournalRunner* session) {
    journal_ = session;
    stale_ = true;
    if (isVisible())
        refresh();
}

void DlgPlan::refresh() {
    // Planning takes a moment on a large order: a hidden page waits until it is shown.
    stale_ = false;
    *plan_ = planFor(project_);
    if (journal_ != nullptr && journal_->enabled()) {
        try {
            if (batchorders::hasStore(journal_->address())) {
                const std::vector<StoreOffcut> onStock =
                    journal_->run(this, JournalSession::Action::Read, [](Journal& j) {
                        OffcutStore store = j.offcuts();
                        return batchoffcuts::onStock(store);
                    });
                batchorders::countFromStore(*plan_, project_, onStock);
            }
        } catch (const JournalError&) {
            // The plan stands without the store; the main window's strip shows the journal's
            // state.
        }
    }
    rebuildRotationToggles();
    relayout();
    viewport()->update();
}

void DlgPlan::rebuildRotationToggles() {
    std::set<std::string> groups;
    for (const MaterialCut& m : plan_->materials)
        groups.insert(m.group);
    if (groups == toggledGroups_)
        return;
    // A toggle may be the one whose click is being handled: it goes once its signal returns.
    while (QLayoutItem* item = rotations_->takeAt(0)) {
        if (QWidget* w = item->widget()) {
            w->hide();
            w->deleteLater();
        }
        delete item;
    }
    toggledGroups_ = groups;
    for (const std::string& group : groups) {
        auto* box = new QCheckBox(QStringLiteral("Поворот: %1").arg(QString::fromStdString(group)),
                                  controls_);
        box->setChecked(workshopSettings().rotationAllowed(group));
        connect(box, &QCheckBox::toggled, this, [this, group](bool on) {
            workshopSettings().rotation[group] = on;
            refresh();
        });
        rotations_->addWidget(box);
    }
    rotations_->addStretch(1);
}

void DlgPlan::relayout() {
    controls_->setGeometry(0, 0, width(), kControlsHeight);
    const int w = std::max(100, viewport()->width() - 2 * kMargin);
    contentHeight_ = CuttingPlanPainter(*plan_).height(w, logicalDpiY()) + 2 * kMargin;
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setRange(0, std::max(0, contentHeight_ - viewport()->height()));
}

void DlgPlan::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    relayout();
}

void DlgPlan::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), Qt::white);
    p.setRenderHint(QPainter::Antialiasing, false);
    const int w = std::max(100, viewport()->width() - 2 * kMargin);
    p.translate(0, -verticalScrollBar()->value());
    CuttingPlanPainter(*plan_).paintAll(p, QRect(kMargin, kMargin, w, contentHeight_),
                                        logicalDpiY());
}
