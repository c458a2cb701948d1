#include "ui/workshop/BatchesPage.h"

#include "ui/shared/FormHelpers.h"

#include "journal/BatchOffcuts.h"
#include "journal/Journal.h"
#include "journal/JournalDates.h"
#include "journal/JournalError.h"
#include "journal/OrderStatus.h"
#include "model/Project.h"
#include "output/PlanJson.h"
#include "ui/printing/BatchPack.h"
#include "ui/printing/PrintCommands.h"
#include "ui/results/DlgPlan.h"
#include "ui/shared/Dialogs.h"
#include "ui/shared/JournalRunner.h"
#include "ui/workshop/BatchJob.h"
#include "ui/workshop/BatchSummary.h"
#include "ui/workshop/CutListPlanView.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

using form::caption;
using form::named;

QString numbersText(const std::vector<int64_t>& numbers) {
    QStringList out;
    for (int64_t n : numbers)
        out << QString::number(n);
    return out.join(QStringLiteral(", "));
}

QString title(int64_t id) {
    return QStringLiteral("Партия № %1").arg(id);
}

} // namespace

BatchesPage::BatchesPage(JournalRunner& session, Catalog& catalog, QWidget* parent)
    : QWidget(parent), session_(session), catalog_(catalog), job_(new BatchJob(this)) {
    setAccessibleName(QStringLiteral("Партии"));

    table_ = named(new QTableWidget(0, ColumnCount), QStringLiteral("Партии"));
    table_->setHorizontalHeaderLabels({QStringLiteral("№"), QStringLiteral("Создана"),
                                       QStringLiteral("Кто"), QStringLiteral("Состояние"),
                                       QStringLiteral("Заказы")});
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    const int widths[] = {40, 120, 90, 90};
    for (int c = 0; c < Orders; ++c)
        table_->setColumnWidth(c, widths[c]);
    open_ = named(new QPushButton(QStringLiteral("Открыть")), QStringLiteral("Открыть партию"));
    pack_ = named(new QPushButton(QStringLiteral("Пакет PDF…")),
                  QStringLiteral("Сохранить пакет партии в PDF"));
    cancel_ = named(new QPushButton(QStringLiteral("Отменить партию")),
                    QStringLiteral("Отменить выбранную партию"));
    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(open_);
    listButtons->addWidget(pack_);
    listButtons->addStretch(1);
    listButtons->addWidget(cancel_);
    auto* listBox = new QGroupBox(QStringLiteral("Партии"));
    auto* listLayout = new QVBoxLayout(listBox);
    listLayout->addWidget(table_, 1);
    listLayout->addLayout(listButtons);

    // A new batch: this week's accepted orders unless chosen otherwise.
    const QDate today = QDate::currentDate();
    from_ = named(new QDateEdit(today.addDays(1 - today.dayOfWeek())),
                  QStringLiteral("Заказы партии с"));
    to_ = named(new QDateEdit(today), QStringLiteral("Заказы партии по"));
    for (QDateEdit* d : {from_, to_}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    }
    status_ = named(new QComboBox, QStringLiteral("Состояние заказов партии"));
    for (std::string_view s : orderstatus::kAll)
        status_->addItem(qs(std::string(s)));
    status_->setCurrentText(qs(std::string(orderstatus::kPlaced)));
    choose_ = named(new QPushButton(QStringLiteral("Выбрать заказы")),
                    QStringLiteral("Выбрать заказы за период"));
    orders_ = named(new QLineEdit, QStringLiteral("Номера заказов партии"));
    orders_->setPlaceholderText(QStringLiteral("номера через запятую"));
    plan_ =
        named(new QPushButton(QStringLiteral("Рассчитать")), QStringLiteral("Рассчитать партию"));
    start_ = named(new QPushButton(QStringLiteral("Запустить в производство")),
                   QStringLiteral("Запустить партию в производство"));
    // Period and state on one line, the orders and the commands on the next.
    auto* period = new QHBoxLayout;
    period->addWidget(caption(QStringLiteral("Заказы с"), from_));
    period->addWidget(from_);
    period->addWidget(caption(QStringLiteral("по"), to_));
    period->addWidget(to_);
    period->addStretch(1);
    auto* state = new QHBoxLayout;
    state->addWidget(caption(QStringLiteral("в состоянии"), status_));
    state->addWidget(status_, 1);
    state->addWidget(choose_);
    auto* chosen = new QHBoxLayout;
    chosen->addWidget(caption(QStringLiteral("Заказы:"), orders_));
    chosen->addWidget(orders_, 1);
    auto* commands = new QHBoxLayout;
    commands->addWidget(plan_);
    commands->addStretch(1);
    commands->addWidget(start_);
    auto* newBox = new QGroupBox(QStringLiteral("Новая партия"));
    auto* newLayout = new QVBoxLayout(newBox);
    newLayout->addLayout(period);
    newLayout->addLayout(state);
    newLayout->addLayout(chosen);
    newLayout->addLayout(commands);

    caption_ = named(new QLabel, QStringLiteral("Показанный план"));
    QFont bold = caption_->font();
    bold.setBold(true);
    caption_->setFont(bold);
    summary_ = named(new QLabel, QStringLiteral("Сводка плана партии"));
    summary_->setWordWrap(true);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    message_ = new PageMessage(QStringLiteral("Сообщение о партиях"));
    view_ = new CutListPlanView;
    view_->setAccessibleName(QStringLiteral("План партии"));
    auto* planBox = new QWidget;
    auto* planLayout = new QVBoxLayout(planBox);
    planLayout->setContentsMargins(0, 0, 0, 0);
    planLayout->addWidget(caption_);
    planLayout->addWidget(summary_);
    planLayout->addWidget(view_, 1);

    auto* left = new QWidget;
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(newBox);
    leftLayout->addWidget(listBox, 1);
    auto* split = new QSplitter(Qt::Horizontal);
    split->addWidget(left);
    split->addWidget(planBox);
    split->setStretchFactor(0, 2);
    split->setStretchFactor(1, 3);
    split->setSizes({460, 700}); // the plan's headings want the room
    left->setMinimumWidth(420);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(split, 1);
    layout->addWidget(message_);

    connect(table_, &QTableWidget::itemSelectionChanged, this, &BatchesPage::updateButtons);
    connect(table_, &QTableWidget::itemActivated, this, &BatchesPage::openSelected);
    connect(open_, &QPushButton::clicked, this, &BatchesPage::openSelected);
    connect(pack_, &QPushButton::clicked, this, &BatchesPage::savePack);
    connect(cancel_, &QPushButton::clicked, this, &BatchesPage::cancelSelected);
    connect(choose_, &QPushButton::clicked, this, &BatchesPage::chooseByPeriod);
    connect(plan_, &QPushButton::clicked, this, &BatchesPage::planChosen);
    connect(orders_, &QLineEdit::returnPressed, this, &BatchesPage::planChosen);
    connect(orders_, &QLineEdit::textChanged, this, &BatchesPage::updateButtons);
    connect(start_, &QPushButton::clicked, this, &BatchesPage::startBatch);
    connect(job_, &BatchJob::finished, this, &BatchesPage::planFinished);
    refresh();
}

BatchesPage::~BatchesPage() = default;

bool BatchesPage::call(JournalSession::Action action, const std::function<void(Journal&)>& work) {
    return message_->run(session_, this, action, work);
}

void BatchesPage::say(const QString& text, bool failure) {
    message_->say(text, failure);
}

void BatchesPage::refresh() {
    const int64_t was = selectedBatch();
    std::vector<BatchRecord> rows;
    if (call(JournalSession::Action::Read, [&](Journal& j) { rows = j.batches().list(); })) {
        // The newest first.
        std::sort(rows.begin(), rows.end(),
                  [](const BatchRecord& a, const BatchRecord& b) { return a.id > b.id; });
        batches_ = std::move(rows);
    }
    table_->setRowCount(static_cast<int>(batches_.size()));
    for (size_t i = 0; i < batches_.size(); ++i) {
        const BatchRecord& b = batches_[i];
        const QString cells[] = {
            QString::number(b.id),
            qs(journaldates::shownTime(b.createdAt, journaldates::utcOffsetAt(b.createdAt))),
            qs(b.createdBy), qs(b.state), numbersText(b.orders)};
        for (int c = 0; c < ColumnCount; ++c)
            table_->setItem(static_cast<int>(i), c, new QTableWidgetItem(cells[c]));
    }
    if (was == 0 || !selectBatch(was))
        table_->clearSelection();
    updateButtons();
}

int64_t BatchesPage::selectedBatch() const {
    const QList<QTableWidgetItem*> items = table_->selectedItems();
    if (items.isEmpty())
        return 0;
    const auto row = static_cast<size_t>(items.first()->row());
    return row < batches_.size() ? batches_[row].id : 0;
}

bool BatchesPage::selectBatch(int64_t id) {
    for (size_t i = 0; i < batches_.size(); ++i) {
        if (batches_[i].id == id) {
            table_->selectRow(static_cast<int>(i));
            return true;
        }
    }
    return false;
}

std::vector<int64_t> BatchesPage::chosenOrders() const {
    std::vector<int64_t> out;
    static const QRegularExpression separators(QStringLiteral("[,;\\s]+"));
    for (const QString& part : orders_->text().split(separators, Qt::SkipEmptyParts)) {
        bool ok = false;
        const qlonglong n = part.toLongLong(&ok);
        if (!ok || n <= 0)
            return {};
        if (std::find(out.begin(), out.end(), n) == out.end())
            out.push_back(n);
    }
    return out;
}

bool BatchesPage::planning() const {
    return job_->running();
}

const BatchPlan* BatchesPage::newPlan() const {
    return job_->hasResult() && !plannedOrders_.empty() ? &job_->plan() : nullptr;
}

void BatchesPage::takeOrders(const std::vector<int64_t>& numbers) {
    orders_->setText(numbersText(numbers));
    planChosen();
}

void BatchesPage::chooseByPeriod() {
    OrderFilter f;
    const QDate a = from_->date(), b = to_->date();
    f.from = journaldates::localDayStart(a.year(), a.month(), a.day());
    f.to = journaldates::parseDay(b.toString(Qt::ISODate).toStdString(), true);
    f.status = status_->currentText().toStdString();
    f.descending = false;
    std::vector<int64_t> numbers;
    if (!call(JournalSession::Action::Read, [&](Journal& j) {
            for (const JournalOrder& o : j.list(f))
                numbers.push_back(o.number);
        }))
        return;
    if (numbers.empty()) {
        orders_->clear();
        say(QStringLiteral("За период нет заказов в состоянии «%1»").arg(status_->currentText()),
            true);
        return;
    }
    takeOrders(numbers);
}

void BatchesPage::planChosen() {
    if (job_->running())
        return;
    const std::vector<int64_t> numbers = chosenOrders();
    if (numbers.empty()) {
        say(QStringLiteral("Укажите номера заказов партии через запятую"), true);
        return;
    }
    std::vector<batchorders::Source> sources;
    std::vector<StoreOffcut> store;
    if (!call(JournalSession::Action::Read, [&](Journal& j) {
            sources = batchorders::read(j, catalog_, numbers);
            OffcutStore offcuts = j.offcuts();
            store = batchoffcuts::onStock(offcuts);
        }))
        return;
    plannedOrders_ = numbers;
    if (!previous_)
        say({}, false);
    caption_->setText(QStringLiteral("Новая партия: заказы %1").arg(numbersText(numbers)));
    summary_->setText(QStringLiteral("Партия рассчитывается…"));
    // The saw's settings of the order's "Раскрой" page, for the whole run.
    job_->start(std::move(sources), std::move(store), DlgPlan::workshopSettings());
    updateButtons();
}

void BatchesPage::planFinished() {
    const BatchPlan& p = job_->plan();
    QStringList text = batchsummary::lines(p.cuts, p.materialFromOffcut);
    text << batchsummary::total(p, plannedOrders_.size());
    summary_->setText(text.join(QLatin1Char('\n')));
    view_->setPlan(p.cuts);
    if (previous_) {
        say(batchsummary::changes(*previous_, p), true);
        previous_.reset();
    }
    updateButtons();
    emit planned();
}

void BatchesPage::startBatch() {
    const BatchPlan* p = newPlan();
    if (p == nullptr || job_->running())
        return;
    int64_t id = 0;
    try {
        id = session_.run(this, JournalSession::Action::Write, [&](Journal& j) {
            return j.batches().start(batchorders::startOf(plannedOrders_, *p),
                                     session_.salesperson());
        });
    } catch (const JournalError& e) {
        if (e.kind() != JournalError::Conflict) {
            say(qs(e.what()), true);
            return;
        }
        // Another seat took an offcut of the plan: nothing was started; the batch is planned
        // again on what the store holds now, and the page says what changed.
        previous_ = std::make_unique<BatchPlan>(*p);
        planChosen();
        return;
    }
    plannedOrders_.clear();
    orders_->clear();
    refresh();
    selectBatch(id);
    caption_->setText(title(id));
    say(QStringLiteral("%1 запущена в производство").arg(title(id)), false);
    updateButtons();
    emit journalChanged();
}

std::optional<CuttingPlan> BatchesPage::planOf(const BatchRecord& batch) {
    try {
        return planFromJson(nlohmann::json::parse(batch.planJson));
    } catch (const nlohmann::json::exception&) {
        say(QStringLiteral("План партии %1 в журнале не читается").arg(batch.id), true);
        return std::nullopt;
    }
}

void BatchesPage::openSelected() {
    const int64_t id = selectedBatch();
    if (id == 0)
        return;
    BatchRecord b;
    if (!call(JournalSession::Action::Read, [&](Journal& j) { b = j.batches().get(id); }))
        return;
    const std::optional<CuttingPlan> plan = planOf(b);
    if (!plan)
        return;
    const CuttingPlan& cuts = *plan;
    caption_->setText(
        QStringLiteral("%1 (%2): заказы %3").arg(title(id), qs(b.state), numbersText(b.orders)));
    QStringList text = batchsummary::lines(cuts, {});
    text << QStringLiteral("Создана %1, %2")
                .arg(qs(journaldates::shownTime(b.createdAt,
                                                journaldates::utcOffsetAt(b.createdAt))),
                     qs(b.createdBy));
    summary_->setText(text.join(QLatin1Char('\n')));
    view_->setPlan(cuts);
    say({}, false);
}

void BatchesPage::savePack() {
    const int64_t id = selectedBatch();
    if (id == 0)
        return;
    const QString path =
        dialogs::saveFile(this, QStringLiteral("партия %1.pdf").arg(id),
                          QString::fromUtf8(PrintCommands::kPdfFilter), QStringLiteral("pdf"));
    if (path.isEmpty())
        return;
    BatchRecord b;
    std::vector<batchorders::Source> sources;
    std::vector<JournalOffcut> kept;
    if (!call(JournalSession::Action::Read, [&](Journal& j) {
            b = j.batches().get(id);
            sources = batchorders::read(j, catalog_, b.orders);
            kept = j.batches().kept(id);
        }))
        return;
    const std::optional<CuttingPlan> plan = planOf(b);
    if (!plan)
        return;
    const CuttingPlan& cuts = *plan;
    // The same ids as when it was started: the labels come from the store's own records.
    std::vector<BatchPack::Order> orders;
    for (const batchorders::Source& s : sources)
        orders.push_back({s.number, s.customer, s.project.get()});
    std::vector<ProductionLabel> labels;
    for (const JournalOffcut& o : kept)
        labels.push_back(batchoffcuts::labelOf(o, title(id).toStdString()));
    const QString error = BatchPack::writePdf(path.toStdString(), title(id), orders, cuts, labels);
    if (!error.isEmpty())
        dialogs::showError(this, error);
}

void BatchesPage::cancelSelected() {
    const int64_t id = selectedBatch();
    if (id == 0)
        return;
    if (!dialogs::confirm(this, QStringLiteral("Отменить партию № %1? Ее заказы вернутся в "
                                               "состояние «Принят», остатки — на склад.")
                                    .arg(id)))
        return;
    if (call(JournalSession::Action::Write,
             [&](Journal& j) { j.batches().cancel(id, session_.salesperson()); })) {
        refresh();
        say(QStringLiteral("%1 отменена").arg(title(id)), false);
        emit journalChanged();
    }
}

void BatchesPage::updateButtons() {
    const int64_t id = selectedBatch();
    bool started = false;
    for (const BatchRecord& b : batches_)
        if (b.id == id)
            started = b.state == batchstate::kStarted;
    open_->setEnabled(id != 0);
    pack_->setEnabled(id != 0);
    cancel_->setEnabled(started);
    const bool busy = job_->running();
    plan_->setEnabled(!busy && !orders_->text().trimmed().isEmpty());
    choose_->setEnabled(!busy);
    start_->setEnabled(!busy && newPlan() != nullptr && chosenOrders() == plannedOrders_);
}
