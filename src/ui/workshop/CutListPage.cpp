#include "ui/workshop/CutListPage.h"

#include "text/Format.h"
#include "ui/shared/Dialogs.h"
#include "ui/workshop/CutListCommands.h"
#include "ui/workshop/CutListJob.h"
#include "ui/workshop/CutListPlanView.h"
#include "ui/workshop/CutListSummary.h"
#include "ui/workshop/CutListTable.h"
#include "ui/workshop/CutListTableBox.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

namespace {

template <class T>
std::optional<CutListError> refusalOf(const std::variant<std::vector<T>, CutListError>& read) {
    if (const auto* e = std::get_if<CutListError>(&read))
        return *e;
    return std::nullopt;
}

QSpinBox* millimetres(int value, int max, const QString& name, QWidget* parent) {
    auto* s = new QSpinBox(parent);
    s->setRange(0, max);
    s->setValue(value);
    s->setSuffix(QStringLiteral(" мм"));
    s->setAccessibleName(name);
    return s;
}

QLabel* buddyLabel(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setBuddy(buddy);
    return l;
}

QString seconds(qint64 ms) {
    return QString::fromStdString(text::format("%.1f с", static_cast<double>(ms) / 1000.0));
}

} // namespace

CutListPage::CutListPage(QWidget* parent) : QWidget(parent) {
    setAccessibleName(QStringLiteral("Раскрой по списку"));
    const bool defaultRotate = true;
    pieces_ = new CutListTableBox(
        QStringLiteral("Детали"), CutList::pieceColumns(), QStringLiteral("детали"),
        &CutList::pieceRows,
        [this](const std::vector<CutListRow>& rows) {
            return refusalOf(CutList::readPieceRows(rows, rotate_->isChecked()));
        },
        this);
    stock_ = new CutListTableBox(
        QStringLiteral("Склад"), CutList::stockColumns(), QStringLiteral("склад"),
        &CutList::stockRows,
        [](const std::vector<CutListRow>& rows) { return refusalOf(CutList::readStockRows(rows)); },
        this);

    auto* tables = new QWidget(this);
    auto* side = new QHBoxLayout(tables);
    side->setContentsMargins(0, 0, 0, 0);
    side->addWidget(pieces_, 3);
    side->addWidget(stock_, 2);

    auto* split = new QSplitter(Qt::Vertical, this);
    split->setChildrenCollapsible(false);
    split->addWidget(tables);
    split->addWidget(buildResults());
    split->setStretchFactor(0, 2);
    split->setStretchFactor(1, 3);

    auto* page = new QVBoxLayout(this);
    page->addWidget(buildSettings());
    page->addWidget(split, 1);
    rotate_->setChecked(defaultRotate);

    job_ = new CutListJob(this);
    connect(job_, &CutListJob::progress, this, &CutListPage::showProgress);
    connect(job_, &CutListJob::finished, this, &CutListPage::planned);
    ticker_ = new QTimer(this);
    ticker_->setInterval(200);
    connect(ticker_, &QTimer::timeout, this, &CutListPage::tick);
    setPlanning(false);
}

CutListPage::~CutListPage() = default;

QWidget* CutListPage::buildSettings() {
    auto* row = new QWidget(this);
    kerf_ = millimetres(4, 100, QStringLiteral("Пропил, мм"), row);
    trim_ = millimetres(10, 1000, QStringLiteral("Торцовка, мм"), row);
    minOffcut_ = millimetres(300, 10000, QStringLiteral("Минимальный деловой остаток, мм"), row);
    rotate_ = new QCheckBox(QStringLiteral("Поворачивать детали листа, где «Поворот» пуст"), row);
    rotate_->setAccessibleName(rotate_->text());
    seconds_ = new QDoubleSpinBox(row);
    seconds_->setRange(0.1, 600.0);
    seconds_->setDecimals(1);
    seconds_->setValue(5.0);
    seconds_->setSuffix(QStringLiteral(" с"));
    seconds_->setLocale(QLocale(QLocale::Russian, QLocale::Russia)); // a decimal comma
    seconds_->setAccessibleName(QStringLiteral("Время расчета на материал, с"));
    auto* l = new QHBoxLayout(row);
    l->setContentsMargins(0, 0, 0, 0);
    l->addWidget(buddyLabel(QStringLiteral("&Пропил:"), kerf_, row));
    l->addWidget(kerf_);
    l->addWidget(buddyLabel(QStringLiteral("&Торцовка:"), trim_, row));
    l->addWidget(trim_);
    l->addWidget(buddyLabel(QStringLiteral("&Мин. остаток:"), minOffcut_, row));
    l->addWidget(minOffcut_);
    l->addWidget(rotate_);
    l->addWidget(buddyLabel(QStringLiteral("&Время на материал:"), seconds_, row));
    l->addWidget(seconds_);
    l->addStretch(1);
    return row;
}

QWidget* CutListPage::buildResults() {
    auto* results = new QWidget(this);
    planButton_ = new QPushButton(QStringLiteral("Рассчитать"), results);
    planButton_->setToolTip(QStringLiteral("Рассчитать раскрой (Ctrl+Enter)"));
    planButton_->setAccessibleName(QStringLiteral("Рассчитать раскрой"));
    planButton_->setDefault(true);
    stopButton_ = new QPushButton(QStringLiteral("Стоп"), results);
    stopButton_->setToolTip(QStringLiteral("Остановить расчет и показать лучший план"));
    stopButton_->setAccessibleName(QStringLiteral("Остановить расчет"));
    progress_ = new QProgressBar(results);
    progress_->setAccessibleName(QStringLiteral("Ход расчета"));
    progress_->setFormat(QStringLiteral("Материалов: %v из %m"));
    progress_->setFixedWidth(std::max(
        200,
        progress_->fontMetrics().horizontalAdvance(QStringLiteral("Материалов: 00 из 00")) + 40));
    status_ = new QLabel(results);
    status_->setAccessibleName(QStringLiteral("Состояние расчета"));
    printButton_ = new QPushButton(QStringLiteral("Печать"), results);
    printButton_->setAccessibleName(QStringLiteral("Печать карт раскроя"));
    pdfButton_ = new QPushButton(QStringLiteral("PDF"), results);
    pdfButton_->setAccessibleName(QStringLiteral("Сохранить карты раскроя в PDF"));
    labelsButton_ = new QPushButton(QStringLiteral("Этикетки"), results);
    labelsButton_->setAccessibleName(QStringLiteral("Сохранить этикетки деталей в PDF"));
    totals_ = new QLabel(results);
    totals_->setAccessibleName(QStringLiteral("Итог раскроя"));
    totals_->setWordWrap(true);
    QFont bold = totals_->font();
    bold.setBold(true);
    totals_->setFont(bold);
    materials_ = new QLabel(results);
    materials_->setAccessibleName(QStringLiteral("Итог по материалам"));
    // One line per material, each whole (a wrapped label in a layout may keep one line's height).
    materials_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    view_ = new CutListPlanView(results);

    auto* actions = new QHBoxLayout;
    actions->addWidget(planButton_);
    actions->addWidget(stopButton_);
    actions->addWidget(progress_);
    actions->addWidget(status_, 1);
    actions->addWidget(printButton_);
    actions->addWidget(pdfButton_);
    actions->addWidget(labelsButton_);
    auto* box = new QVBoxLayout(results);
    box->setContentsMargins(0, 0, 0, 0);
    box->addLayout(actions);
    box->addWidget(totals_);
    box->addWidget(materials_);
    box->addWidget(view_, 1);

    connect(planButton_, &QPushButton::clicked, this, &CutListPage::startPlanning);
    connect(stopButton_, &QPushButton::clicked, this, &CutListPage::stopPlanning);
    connect(printButton_, &QPushButton::clicked, this, &CutListPage::printPlan);
    connect(pdfButton_, &QPushButton::clicked, this, &CutListPage::savePlanPdf);
    connect(labelsButton_, &QPushButton::clicked, this, &CutListPage::saveLabelsPdf);
    for (const QKeySequence& keys :
         {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)}) {
        auto* sc = new QShortcut(keys, this);
        sc->setContext(Qt::WidgetWithChildrenShortcut);
        connect(sc, &QShortcut::activated, this, &CutListPage::startPlanning);
    }
    return results;
}

std::optional<CutList> CutListPage::listFromTables() {
    CutList list;
    list.settings.plan.kerf = kerf_->value() * 10;
    list.settings.plan.trim = trim_->value() * 10;
    list.settings.plan.minOffcut = minOffcut_->value() * 10;
    list.settings.rotate = rotate_->isChecked();
    list.settings.secondsPerMaterial = seconds_->value();
    auto pieces = CutList::readPieceRows(pieces_->table()->rows(), list.settings.rotate);
    if (const auto* e = std::get_if<CutListError>(&pieces)) {
        refuse(pieces_, *e);
        return std::nullopt;
    }
    auto stock = CutList::readStockRows(stock_->table()->rows());
    if (const auto* e = std::get_if<CutListError>(&stock)) {
        refuse(stock_, *e);
        return std::nullopt;
    }
    list.pieces = std::get<std::vector<CutListPiece>>(std::move(pieces));
    list.stock = std::get<std::vector<CutStock>>(std::move(stock));
    if (list.pieces.empty()) {
        dialogs::showError(this, QStringLiteral("В таблице «Детали» нет ни одной детали."));
        return std::nullopt;
    }
    if (const std::optional<CutListError> e = list.missingStock()) {
        refuse(pieces_, *e);
        return std::nullopt;
    }
    return list;
}

void CutListPage::refuse(CutListTableBox* box, const CutListError& error) {
    // The row the refusal names is the one to correct.
    CutListTable* table = box->table();
    if (error.line >= 1 && error.line <= table->rowCount()) {
        table->setCurrentCell(error.line - 1, 0);
        table->setFocus();
    }
    dialogs::showError(this, QStringLiteral("Таблица «%1». %2")
                                 .arg(box->title(), QString::fromStdString(error.message)));
}

bool CutListPage::startPlanning() {
    if (planning())
        return false;
    const std::optional<CutList> list = listFromTables();
    if (!list || !job_->start(*list))
        return false;
    clock_.start();
    stage_ = QStringLiteral("Идет расчет");
    progress_->setRange(0, 1);
    progress_->setValue(0);
    setPlanning(true);
    tick();
    return true;
}

void CutListPage::stopPlanning() {
    if (!planning())
        return;
    job_->stop();
    stopButton_->setEnabled(false);
    stage_ = QStringLiteral("Останавливаю расчет, собираю лучший план");
    tick();
}

bool CutListPage::planning() const {
    return job_->running();
}

void CutListPage::setPlanning(bool on) {
    planButton_->setEnabled(!on);
    stopButton_->setEnabled(on);
    progress_->setVisible(on);
    for (CutListTableBox* box : {pieces_, stock_})
        box->setEnabled(!on);
    for (QWidget* w : {static_cast<QWidget*>(kerf_), static_cast<QWidget*>(trim_),
                       static_cast<QWidget*>(minOffcut_), static_cast<QWidget*>(rotate_),
                       static_cast<QWidget*>(seconds_)})
        w->setEnabled(!on);
    for (QPushButton* b : {printButton_, pdfButton_, labelsButton_})
        b->setEnabled(!on && havePlan());
    if (on) {
        ticker_->start();
        stopButton_->setFocus();
    } else {
        ticker_->stop();
    }
}

void CutListPage::showProgress(int done, int total, const QString& material) {
    // One material: the bar only shows that the planner is at work.
    progress_->setRange(0, total > 1 ? total : 0);
    progress_->setValue(done);
    if (!job_->stopRequested() && !material.isEmpty())
        stage_ = QStringLiteral("Идет расчет: %1 (материал %2 из %3)")
                     .arg(material)
                     .arg(done + 1)
                     .arg(total);
    tick();
}

void CutListPage::tick() {
    status_->setText(QStringLiteral("%1… %2").arg(stage_, seconds(clock_.elapsed())));
}

void CutListPage::planned(const CutListPlan& plan) {
    plan_ = plan;
    const bool stopped = job_->stopRequested();
    status_->setText(
        QStringLiteral("%1 за %2")
            .arg(stopped ? QStringLiteral("Остановлено") : QStringLiteral("Рассчитано"),
                 seconds(clock_.elapsed())));
    totals_->setText(cutlistsummary::total(plan_));
    materials_->setText(cutlistsummary::materials(plan_).join(QLatin1Char('\n')));
    view_->setPlan(plan_.cuts);
    setPlanning(false);
    planButton_->setFocus();
}

bool CutListPage::havePlan() const {
    return !plan_.totals.empty();
}

void CutListPage::printPlan() {
    if (havePlan())
        CutListCommands(plan_, this).print();
}

void CutListPage::savePlanPdf() {
    if (havePlan())
        CutListCommands(plan_, this).savePlanPdf();
}

void CutListPage::saveLabelsPdf() {
    if (havePlan())
        CutListCommands(plan_, this).saveLabelsPdf();
}
