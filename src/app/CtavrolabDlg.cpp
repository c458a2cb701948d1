#include "app/CtavrolabDlg.h"

#include "app/OrderDocument.h"
#include "app/Panels.h"
#include "app/PendingPlacer.h"
#include "catalog/Catalog.h"
#include "journal/Journal.h"
#include "journal/JournalBackup.h"
#include "journal/JournalError.h"
#include "journal/JournalSession.h"
#include "journal/OrderPlacing.h"
#include "model/OrderNumberFile.h"
#include "model/Project.h"
#include "model/UndoHistory.h"
#include "ui/materials/RightPanelDlg.h"
#include "ui/ordercard/DlgOrder.h"
#include "ui/orders/DlgOrders.h"
#include "ui/printing/DlgPrint.h"
#include "ui/printing/DocumentPrinter.h"
#include "ui/printing/PrintCommands.h"
#include "ui/printing/ProductionPackCommand.h"
#include "ui/printing/ReceiptCommands.h"
#include "ui/results/DlgPlan.h"
#include "ui/results/DlgTable.h"
#include "ui/results/DlgTabs.h"
#include "ui/results/InfoPanelDlg.h"
#include "ui/results/SumDlg.h"
#include "ui/shared/JournalRunner.h"
#include "ui/shared/Pictures.h"
#include "ui/sketch/DraftDlg.h"
#include "ui/toppanel/TopPanelDlg.h"
#include "ui/workshop/DlgWorkshop.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QTimer>

#include <cstdint>
#include <ctime>
#include <vector>

namespace {

QIcon programIcon() {
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addPixmap(pictures::systemPicture(0, size));
    return icon;
}

// Changes typed into one field make one undo step: the field is the key.
std::string typingKey() {
    QWidget* focus = QApplication::focusWidget();
    if (!qobject_cast<QLineEdit*>(focus) && !qobject_cast<QAbstractSpinBox*>(focus))
        return {};
    return "field:" + std::to_string(reinterpret_cast<std::uintptr_t>(focus));
}

} // namespace

CtavrolabDlg::CtavrolabDlg(Project& project, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                          Qt::WindowCloseButtonHint),
      project_(project) {
    setWindowIcon(programIcon());
    setWindowTitle(QStringLiteral("tavrolab"));
    setMinimumSize(kMinWidth, kMinHeight);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(245, 245, 237));
    setPalette(pal);
    setAutoFillBackground(true);

    history_ = std::make_unique<UndoHistory>(project_);

    // Panels in their order of creation; they are destroyed in the same order.
    top_ = new TopPanelDlg(project_, *this, this);
    sum_ = new SumDlg(project_, *this, this);
    right_ = panels::createRightPanel(project_, *this, this);
    tabs_ = new DlgTabs(*this, this);
    info_ = panels::createInfoPanel(project_, this);
    sketch_ = panels::createSketch(project_, *this, this);
    for (int mode = 0; mode < 4; ++mode)
        tables_[static_cast<size_t>(mode)] = panels::createTable(project_, mode, this);
    order_ = new DlgOrder(project_, *this, this);
    plan_ = new DlgPlan(project_, this);
    logo_ = new QLabel(this);
    logo_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // The panels' own commands that open another panel's dialog go through the window.
    connect(order_, &DlgOrder::printChoiceRequested, top_, &TopPanelDlg::showPrint);
    journal_ = std::make_unique<JournalRunner>(
        std::make_unique<JournalSession>(project_.catalog().baseFolder()));
    order_->setJournal(journal_.get());
    plan_->setJournal(journal_.get());
    journal_->onStateChange([this] { showJournalState(); });
    startDailyCopy();
    pending_ = new PendingPlacer(project_.catalog().baseFolder(), PendingPlacings(), this);
    connect(pending_, &PendingPlacer::roundDone, this, &CtavrolabDlg::pendingPlaced);
    top_->printDialog()->setAwaitingNumber([this] {
        if (!document_ || document_->filePath().isEmpty())
            return false;
        const std::string open = document_->filePath().toStdString();
        for (const PendingPlacing& p : pending_->store().list())
            if (p.sketch == open)
                return true;
        return false;
    });
    connect(order_, &DlgOrder::placingDeferred, this, [this] {
        const size_t waiting = pending_->store().list().size();
        warn(QStringLiteral("Заказ сохранен и будет оформлен, когда журнал заказов ответит "
                            "(ожидают оформления: %1)")
                 .arg(waiting));
        pending_->retryTimer().start();
    });
    // Orders kept at an earlier run are placed as soon as the window is up.
    if (journal_->enabled())
        QTimer::singleShot(0, pending_, &PendingPlacer::tryNow);
    connect(top_, &TopPanelDlg::journalRequested, this, &CtavrolabDlg::showOrders);
    connect(top_, &TopPanelDlg::workshopRequested, this, &CtavrolabDlg::showWorkshop);
    connect(order_, &DlgOrder::orderPlaced, this, [this] {
        if (orders_ != nullptr)
            orders_->refresh();
    });
    connect(order_, &DlgOrder::orderRevised, this, [this] {
        if (orders_ != nullptr)
            orders_->refresh();
    });
    connect(top_->printDialog(), &DlgPrint::printRequested, this,
            [this](const DocumentChoice& documents) {
                noticeCappedLogo();
                PrintCommands(project_, this).print(documents);
            });
    connect(top_->printDialog(), &DlgPrint::previewRequested, this,
            [this](const DocumentChoice& documents) {
                noticeCappedLogo();
                PrintCommands(project_, this).preview(documents);
            });
    connect(top_->printDialog(), &DlgPrint::pdfRequested, this,
            [this](const DocumentChoice& documents) {
                noticeCappedLogo();
                PrintCommands(project_, this).savePdf(documents);
            });
    connect(top_->printDialog(), &DlgPrint::productionRequested, this,
            [this](const LabelGrid& labels) {
                noticeCappedLogo();
                ProductionPackCommand(project_, this).run(labels);
            });

    const auto shortcut = [this](QKeySequence keys, bool back) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this,
                [this, back] { restoreStep(back); });
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), true);
    shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), false);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Y), false);
    // The history starts from the project as the panels show it.
    history_->reset();
    document_ = std::make_unique<OrderDocument>(project_, *this);
    // Every step recorded, by the window or by a popup's own step, reaches the title and the
    // recovery copy.
    history_->setOnRecorded([this] {
        if (document_)
            document_->changed();
    });

    chainFocus();
    resize(kMinWidth, kMinHeight);
    layoutPanels();
    showTab(0);
    // Popups float above every panel.
    top_->raise();
}

void CtavrolabDlg::startDailyCopy() {
    // A single seat's journal is the shop's whole history on one disk: its first start of a day
    // copies it into the user's data folder, off the interface thread. A journal that is off or
    // on a server is left to the shop.
    const std::filesystem::path folder = OrderNumberFile::userDataFolder();
    if (folder.empty())
        return;
    try {
        const JournalAddress address = journal_->address();
        dailyCopy_ = std::thread([address, folder] {
            try {
                journalbackup::daily(address, folder / "backups", std::time(nullptr));
            } catch (...) {
                // A copy that cannot be taken today is taken at the next start.
            }
        });
    } catch (const JournalError&) {
    }
}

void CtavrolabDlg::pendingPlaced(const PendingPlacings::Outcome& outcome) {
    QStringList said;
    for (const PendingPlacings::Placed& placed : outcome.placed) {
        const QString file = QString::fromStdString(placed.file.string());
        said << QStringLiteral("оформлен заказ № %1 (%2)")
                    .arg(QString::fromStdString(orderplacing::numberText(placed.number)),
                         QString::fromStdString(placed.file.filename().string()));
        // The open document is that order: it carries the number its file now holds.
        if (document_ && (document_->filePath() == QString::fromStdString(placed.placing.sketch) ||
                          document_->filePath() == file)) {
            project_.order.orderNumber = orderplacing::numberText(placed.number);
            document_->placingDone();
            send(order_, Notify::OrderChanged);
            notify(Notify::OrderFieldChanged);
            document_->adoptFile(file);
        }
    }
    const size_t waiting = pending_->store().list().size();
    if (waiting > 0)
        said << QStringLiteral("ожидают оформления в журнале: %1").arg(waiting);
    if (!said.isEmpty()) {
        QString text = said.join(QStringLiteral("; "));
        text[0] = text[0].toUpper();
        warn(text);
    }
    if (!outcome.placed.empty() && orders_ != nullptr)
        orders_->refresh();
}

CtavrolabDlg::~CtavrolabDlg() {
    if (dailyCopy_.joinable())
        dailyCopy_.join();
    delete pending_; // waits for a round of placing in progress
    pending_ = nullptr;
    document_.reset();
    // Destroy the panels in the order they were created.
    delete top_;
    delete sum_;
    delete right_;
    delete tabs_;
    delete info_;
    delete sketch_;
    for (DlgTable* t : tables_)
        delete t;
    delete order_;
    delete plan_;
    delete orders_; // before the journal session it reads
    delete workshop_;
}

void CtavrolabDlg::showWorkshop() {
    if (workshop_ == nullptr)
        workshop_ = new DlgWorkshop(*journal_, project_.catalog(), this);
    workshop_->show();
    workshop_->raise();
    workshop_->activateWindow();
}

void CtavrolabDlg::showOrders() {
    if (orders_ == nullptr) {
        orders_ = new DlgOrders(*journal_, this);
        connect(orders_, &DlgOrders::openRequested, this,
                [this](const QByteArray& sketch, qint64 number) {
                    openJournalOrder(sketch, number, JournalOpen::View);
                });
        connect(orders_, &DlgOrders::reviseRequested, this,
                [this](const QByteArray& sketch, qint64 number) {
                    openJournalOrder(sketch, number, JournalOpen::Revise);
                });
        connect(orders_, &DlgOrders::copyRequested, this,
                [this](const QByteArray& sketch, qint64 number) {
                    openJournalOrder(sketch, number, JournalOpen::Copy);
                });
        connect(orders_, &DlgOrders::paymentTaken, this, [this](qint64 number, qint64 id) {
            receiptcommands::offer(*journal_, number, id, project_.catalog().baseFolder(), orders_);
        });
        connect(orders_, &DlgOrders::batchRequested, this, [this](const QList<qint64>& numbers) {
            showWorkshop();
            workshop_->planBatch(std::vector<int64_t>(numbers.begin(), numbers.end()));
        });
    } else {
        orders_->refresh();
    }
    orders_->show();
    orders_->raise();
    orders_->activateWindow();
}

void CtavrolabDlg::openJournalOrder(const QByteArray& sketch, qint64 number, JournalOpen how) {
    const QString name = QStringLiteral("заказа %1 из журнала")
                             .arg(QString::fromStdString(orderplacing::numberText(number)));
    if (!top_->openSketchBytes(sketch, name))
        return;
    if (how != JournalOpen::Copy) {
        // The card shows the order's money; the strip says so when the journal is away.
        try {
            order_->showJournalOrder(
                journal_->run(this, JournalSession::Action::Read,
                              [&](Journal& journal) { return journal.order(number); }),
                how == JournalOpen::Revise);
        } catch (const JournalError&) {
        }
        return;
    }
    // A new order made from this one: the same customer and doors, the next number and today.
    const OrderNumberFile numbers(project_.catalog().baseFolder());
    OrderInfo fresh;
    fresh.newOrder(numbers.readPath());
    try {
        fresh.orderNumber = orderplacing::numberText(
            journal_->run(this, JournalSession::Action::Read, [&](Journal& journal) {
                return orderplacing::nextNumber(journal, numbers);
            }));
    } catch (const JournalError&) {
        // The number file's number stands; the strip says the journal is away, and placing
        // will say what is wrong.
    }
    project_.order.orderNumber = fresh.orderNumber;
    project_.order.orderDate = fresh.orderDate;
    project_.order.readyDate = fresh.readyDate;
    notify(Notify::OrderChanged);
}

void CtavrolabDlg::notify(Notify n) {
    switch (n) {
    case Notify::CatalogSelection:
    case Notify::ProjectChanged:
    case Notify::TotalsChanged:
    case Notify::DiscountChanged:
    case Notify::OrderFieldChanged:
        if (!restoring_)
            scheduleRecord();
        break;
    case Notify::OrderChanged:
        // A sketch was opened: its history starts here.
        if (!restoring_)
            history_->reset();
        break;
    case Notify::PopupOpened:
        popupOpen_ = true;
        break;
    case Notify::PopupClosed:
        popupOpen_ = false;
        break;
    default:
        break;
    }
    switch (n) {
    case Notify::CatalogSelection:
        send(top_, n);
        send(right_, n);
        break;
    case Notify::ProjectChanged:
        send(right_, n);
        for (DlgTable* t : tables_)
            send(t, Notify::ProjectChanged);
        send(plan_, Notify::ProjectChanged);
        send(sketch_, Notify::ProjectChanged);
        sketch_->update();
        send(sum_, Notify::TotalsChanged);
        send(top_, Notify::TotalsChanged);
        break;
    case Notify::Hover:
        send(info_, n);
        break;
    case Notify::SketchPress:
        send(right_, n);
        break;
    case Notify::TotalsChanged:
    case Notify::OrderFieldChanged:
        send(sum_, Notify::TotalsChanged);
        send(top_, Notify::TotalsChanged);
        for (DlgTable* t : tables_)
            send(t, Notify::ProjectChanged);
        break;
    case Notify::DiscountChanged:
        send(sum_, n);
        break;
    case Notify::PopupOpened:
    case Notify::PopupClosed: {
        const bool closed = n == Notify::PopupClosed;
        setMinimizeBox(closed);
        // The keyboard comes back with the window: Ctrl+Z right after a popup undoes its change.
        if (closed)
            activateWindow();
        // Each panel disables itself while the popup holds the input.
        send(top_, n);
        send(right_, n);
        send(sketch_, n);
        send(sum_, n);
        send(tabs_, n);
        break;
    }
    case Notify::TabChanged:
        layoutPanels();
        showTab(tabs_->selectedTab());
        break;
    case Notify::OrderChanged:
        send(order_, n);
        send(tables_[1], Notify::ProjectChanged);
        break;
    }
}

std::optional<QPoint> CtavrolabDlg::sketchOrigin() const {
    if (!sketch_ || !sketch_->isVisible())
        return std::nullopt;
    return sketch_->mapToGlobal(QPoint(0, 0));
}

UndoHistory* CtavrolabDlg::history() {
    return history_.get();
}

void CtavrolabDlg::scheduleRecord() {
    recordKey_ = typingKey();
    if (recordQueued_)
        return;
    recordQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        recordQueued_ = false;
        history_->record(recordKey_);
    });
}

bool CtavrolabDlg::undo() {
    return restoreStep(true);
}

bool CtavrolabDlg::redo() {
    return restoreStep(false);
}

bool CtavrolabDlg::restoreStep(bool back) {
    // A popup holds a change in progress.
    if (popupOpen_ || restoring_)
        return false;
    restoring_ = true;
    const OrderInfo order = project_.order;
    const bool done = back ? history_->undo() : history_->redo();
    if (done) {
        notify(Notify::CatalogSelection);
        notify(Notify::ProjectChanged);
        // Refilling the order card costs a refresh of every table per field: only when needed.
        if (!(project_.order == order))
            notify(Notify::OrderChanged);
        notify(Notify::DiscountChanged);
    }
    restoring_ = false;
    if (done) {
        history_->adoptPresent();
        document_->changed();
    }
    return done;
}

ProjectCommands* CtavrolabDlg::commands() {
    return document_.get();
}

bool CtavrolabDlg::openOrder(const QString& path) {
    return document_->openOrder(path);
}

bool CtavrolabDlg::changeInProgress() const {
    return popupOpen_ || sketch_->isDragging() || history_->inStep();
}

void CtavrolabDlg::warn(const QString& text) {
    info_->setWarning(text);
}

void CtavrolabDlg::showJournalState() {
    if (journal_->failing()) {
        QString text = QStringLiteral("Журнал заказов недоступен");
        if (journal_->lastAnswer() > 0)
            text += QStringLiteral(" (последний ответ в %1)")
                        .arg(QDateTime::fromSecsSinceEpoch(journal_->lastAnswer())
                                 .toString(QStringLiteral("HH:mm")));
        journalWarning_ = text;
        warn(text);
    } else if (!journalWarning_.isEmpty()) {
        // Another warning put on the strip since stays.
        if (info_->warning() == journalWarning_)
            warn({});
        journalWarning_.clear();
    }
}

void CtavrolabDlg::noticeCappedLogo() {
    if (logoNoticeGiven_ || !DocumentPrinter(project_).logoCapped())
        return;
    logoNoticeGiven_ = true;
    warn(QString::fromUtf8(DocumentPrinter::kLogoCapped));
}

void CtavrolabDlg::closeEvent(QCloseEvent* event) {
    // A journal action still waited for is cancelled; the window closes once it has ended.
    if (journal_->busy()) {
        journal_->cancel();
        connect(journal_.get(), &JournalRunner::idle, this, &QWidget::close,
                static_cast<Qt::ConnectionType>(Qt::QueuedConnection | Qt::SingleShotConnection));
        event->ignore();
        return;
    }
    if (document_->close())
        event->accept();
    else
        event->ignore();
}

QWidget* CtavrolabDlg::infoPanel() const {
    return info_;
}

QWidget* CtavrolabDlg::sketch() const {
    return sketch_;
}

QWidget* CtavrolabDlg::table(int mode) const {
    return tables_[static_cast<size_t>(mode)];
}

void CtavrolabDlg::chainFocus() {
    // Tab follows the panels as they are read, from the top left: the top panel, the totals,
    // then the tab strip, the sketch and the right panel, the result tables and the order card.
    // Within a panel the controls keep their own order; a compound control (a date picker)
    // brings its inner editor along.
    QWidget* previous = nullptr;
    auto chain = [&previous](QWidget* w) {
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    };
    const auto takesTab = [](const QWidget* w) {
        return (w->focusPolicy() & Qt::TabFocus) != 0 && !w->isWindow();
    };
    std::vector<QWidget*> panelOrder{top_, sum_, tabs_, sketch_, right_, info_};
    panelOrder.insert(panelOrder.end(), tables_.begin(), tables_.end());
    panelOrder.push_back(order_);
    for (QWidget* panel : panelOrder) {
        if (takesTab(panel))
            chain(panel);
        for (QWidget* w : panel->findChildren<QWidget*>()) {
            bool inner = false;
            for (QWidget* up = w->parentWidget(); up && up != panel; up = up->parentWidget())
                inner = inner || takesTab(up) || up->isWindow();
            if (takesTab(w) && !inner)
                chain(w);
        }
    }
}

bool CtavrolabDlg::hasMinimizeBox() const {
    return windowFlags().testFlag(Qt::WindowMinimizeButtonHint);
}

void CtavrolabDlg::setMinimizeBox(bool on) {
    if (hasMinimizeBox() == on)
        return;
    // Changing the flags of a shown window hides it; show it again where it was.
    const bool visible = isVisible();
    const QRect g = geometry();
    setWindowFlag(Qt::WindowMinimizeButtonHint, on);
    if (visible) {
        setGeometry(g);
        show();
    }
}

void CtavrolabDlg::layoutPanels() {
    const int w = width();
    const int h = height();
    const int t = TopPanelDlg::kHeight;
    const int sumWidth = SumDlg::kWidth;
    const int topWidth = TopPanelDlg::kWidth;
    top_->setGeometry(0, 0, topWidth, t);
    sum_->setGeometry(w - sumWidth, 0, sumWidth, t);
    const int logoWidth = std::max(0, w - sumWidth - topWidth);
    logo_->setGeometry(topWidth, 0, logoWidth, t);
    logo_->setPixmap(pictures::logoPicture(logoWidth, t));
    logo_->setVisible(logoWidth > 0);
    tabs_->setGeometry(0, t, kTabStripWidth, h - t);
    right_->setGeometry(w - kRightPanelWidth, t, kRightPanelWidth, h - t);
    order_->setGeometry(w - kRightPanelWidth, t, kRightPanelWidth, h - t);
    const int middle = w - kTabStripWidth - kRightPanelWidth;
    info_->setGeometry(kTabStripWidth, h - kInfoHeight, middle, kInfoHeight);
    sketch_->setGeometry(kTabStripWidth, t, middle, h - kInfoHeight - t);
    for (int mode : {0, 2, 3})
        tables_[static_cast<size_t>(mode)]->setGeometry(kTabStripWidth, t, w - kTabStripWidth,
                                                        h - t);
    tables_[1]->setGeometry(kTabStripWidth, t, middle, h - t);
    plan_->setGeometry(kTabStripWidth, t, w - kTabStripWidth, h - t);
}

void CtavrolabDlg::showTab(int tab) {
    // Tab 0: sketch, right panel and information panel; tabs 1..4: the result tables, with the
    // order card beside the order-information table; tab 5: the cutting plans.
    sketch_->setVisible(tab == 0);
    right_->setVisible(tab == 0);
    info_->setVisible(tab == 0);
    for (int mode = 0; mode < 4; ++mode)
        tables_[static_cast<size_t>(mode)]->setVisible(tab == mode + 1);
    order_->setVisible(tab == 2);
    plan_->setVisible(tab == 5);
}

void CtavrolabDlg::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutPanels();
    sketch_->update();
}

void CtavrolabDlg::keyPressEvent(QKeyEvent* event) {
    // The main window is never closed by Enter or Escape.
    if (event->key() == Qt::Key_Escape)
        top_->hidePopups();
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
        event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}
