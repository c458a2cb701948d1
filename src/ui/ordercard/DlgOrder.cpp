#include "ui/ordercard/DlgOrder.h"

#include "catalog/Catalog.h"
#include "journal/JournalCsv.h"
#include "journal/JournalError.h"
#include "journal/JournalOrder.h"
#include "journal/OrderPlacing.h"
#include "journal/PendingPlacings.h"
#include "model/OrderInfo.h"
#include "model/OrderNumberFile.h"
#include "model/Project.h"
#include "model/SketchFile.h"
#include "ui/ordercard/OrderRevision.h"
#include "ui/shared/Dialogs.h"
#include "ui/shared/JournalRunner.h"
#include "ui/shared/PictureButton.h"
#include "ui/shared/Pictures.h"
#include "ui/shared/ProjectCommands.h"
#include "ui/shared/Style.h"

#include <QDateEdit>
#include <QDateTime>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QUuid>

#include <filesystem>
#include <optional>

namespace {

constexpr int kLeft = 16;
constexpr int kFieldWidth = 248;
constexpr int32_t kCostLimit = 100000; // a sixth digit restores the previous cost

QValidator* digitsOnly(QObject* parent) {
    return new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), parent);
}

OrderNumberFile numberFileOf(const Project& project) {
    return OrderNumberFile(project.catalog().baseFolder());
}

// The journal is away (rather than refusing the order): the order may wait for it.
bool journalAway(const JournalError& e) {
    return e.kind() == JournalError::Unreachable || e.kind() == JournalError::NotAnswering ||
           e.kind() == JournalError::Locked;
}

} // namespace

DlgOrder::DlgOrder(Project& project, NotifyHub& hub, QWidget* parent)
    : QWidget(parent), project_(project), hub_(hub) {
    setFont(style::boldFont());
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(kWidth, 480);

    auto* caption = new QLabel(QStringLiteral("Карточка клиента:"), this);
    caption->hide();

    number_ = addTextField(QStringLiteral("Номер заказа"), 12, 110);
    number_->setValidator(digitsOnly(number_));
    newButton_ = new PictureButton(pictures::commandPicture(pictures::Command::NewOrder),
                                   QStringLiteral("Новый заказ"), this);
    newButton_->setLayout(PictureButton::Layout::PictureLeft);
    newButton_->setFont(style::labelFont());
    newButton_->setGeometry(kLeft + 118, 27, 130, 30);
    newButton_->setToolTip(QStringLiteral("Начать новый заказ со следующим номером"));
    connect(newButton_, &QAbstractButton::clicked, this, &DlgOrder::newOrder);

    name_ = addTextField(QStringLiteral("ФИО"), 62, kFieldWidth);
    address_ = addTextField(QStringLiteral("Адрес"), 110, kFieldWidth);
    phone_ = addTextField(QStringLiteral("Телефон"), 158, kFieldWidth);
    assembly_ = addTextField(QStringLiteral("Стоимость сборки, руб."), 206, 110);
    delivery_ = addTextField(QStringLiteral("Стоимость доставки, руб."), 254, 110);
    for (QLineEdit* e : {assembly_, delivery_}) {
        e->setValidator(digitsOnly(e));
        e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    orderDate_ = addDateField(QStringLiteral("Дата оформления"), 302);
    readyDate_ = addDateField(QStringLiteral("Дата готовности"), 350);

    placeButton_ = new PictureButton(pictures::commandPicture(pictures::Command::PlaceOrder, 28),
                                     QStringLiteral("Оформить заказ"), this);
    placeButton_->setLayout(PictureButton::Layout::PictureLeft);
    placeButton_->setFramed(true);
    placeButton_->setGeometry(kLeft, 410, kFieldWidth, 44);
    placeButton_->setToolTip(QStringLiteral("Сохранить эскиз под номером заказа и напечатать"));
    connect(placeButton_, &QAbstractButton::clicked, this, &DlgOrder::placeOrder);
    money_ = new QLabel(this);
    style::makePanelLabel(money_);
    money_->setGeometry(kLeft, 456, kFieldWidth, 20);
    money_->setAccessibleName(QStringLiteral("Оплата заказа из журнала"));
    money_->hide();

    OrderInfo& order = project_.order;
    connect(number_, &QLineEdit::textChanged, this, [this, &order](const QString& t) {
        order.orderNumber = t.toStdString();
        hub_.notify(Notify::OrderFieldChanged);
    });
    connect(name_, &QLineEdit::textChanged, this, [this, &order](const QString& t) {
        order.clientName = t.toStdString();
        hub_.notify(Notify::OrderFieldChanged);
    });
    connect(address_, &QLineEdit::textChanged, this, [this, &order](const QString& t) {
        order.address = t.toStdString();
        hub_.notify(Notify::OrderFieldChanged);
    });
    connect(phone_, &QLineEdit::textChanged, this, [this, &order](const QString& t) {
        order.phone = t.toStdString();
        hub_.notify(Notify::OrderFieldChanged);
    });
    connect(assembly_, &QLineEdit::textChanged, this,
            [this, &order] { costEdited(assembly_, order.assemblyCost); });
    connect(delivery_, &QLineEdit::textChanged, this,
            [this, &order] { costEdited(delivery_, order.deliveryCost); });
    connect(orderDate_, &QDateEdit::dateChanged, this,
            [this, &order] { dateEdited(orderDate_, order.orderDate); });
    connect(readyDate_, &QDateEdit::dateChanged, this,
            [this, &order] { dateEdited(readyDate_, order.readyDate); });

    fillFromRecord();
}

QLineEdit* DlgOrder::addTextField(const QString& label, int y, int width) {
    auto* l = new QLabel(label, this);
    style::makePanelLabel(l);
    l->setGeometry(kLeft, y, kFieldWidth, 16);
    auto* e = new QLineEdit(this);
    e->setGeometry(kLeft, y + 17, width, 24);
    e->setMaxLength(kMaxTextLength);
    l->setBuddy(e);
    e->setAccessibleName(label);
    return e;
}

QDateEdit* DlgOrder::addDateField(const QString& label, int y) {
    auto* l = new QLabel(label, this);
    style::makePanelLabel(l);
    l->setGeometry(kLeft, y, kFieldWidth, 16);
    auto* e = new QDateEdit(this);
    e->setGeometry(kLeft, y + 17, 130, 24);
    e->setCalendarPopup(true);
    e->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    l->setBuddy(e);
    e->setAccessibleName(label);
    return e;
}

void DlgOrder::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), style::panelBrush());
    p.setPen(style::panelLine());
    p.drawLine(0, 0, 0, height());
}

void DlgOrder::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
        event->key() == Qt::Key_Escape) {
        event->accept(); // consumed here: they never close anything
        return;
    }
    QWidget::keyPressEvent(event);
}

void DlgOrder::receive(Notify n) {
    if (n == Notify::OrderChanged) {
        fillFromRecord();
        // Another order was opened (undoing an edit of this one keeps its number).
        if (journalOrder_ != 0 &&
            project_.order.orderNumber != orderplacing::numberText(journalOrder_))
            clearJournalOrder();
    }
}

void DlgOrder::showJournalOrder(const JournalOrder& o, bool revising) {
    journalOrder_ = o.number;
    revising_ = revising;
    const QString money = QStringLiteral("оплачено %1, остаток %2 руб.")
                              .arg(QString::fromStdString(journalcsv::money(o.paidKopecks)),
                                   QString::fromStdString(journalcsv::money(o.balanceKopecks())));
    money_->setText(revising ? QStringLiteral("Изменение (ред. %1): %2").arg(o.revision).arg(money)
                             : QStringLiteral("Из журнала: %1").arg(money));
    money_->setToolTip(QStringLiteral("Заказ %1, редакция %2, итого %3 руб.")
                           .arg(QString::fromStdString(orderplacing::numberText(o.number)))
                           .arg(o.revision)
                           .arg(QString::fromStdString(journalcsv::money(o.totalKopecks))));
    money_->show();
    placeButton_->setToolTip(revising ? QStringLiteral("Сохранить изменения как новую редакцию "
                                                       "заказа с тем же номером")
                                      : QStringLiteral("Сохранить эскиз под номером заказа и "
                                                       "напечатать"));
}

void DlgOrder::clearJournalOrder() {
    journalOrder_ = 0;
    revising_ = false;
    money_->hide();
    placeButton_->setToolTip(QStringLiteral("Сохранить эскиз под номером заказа и напечатать"));
}

void DlgOrder::fillFromRecord() {
    // Copies first: each setText below stores its text back into the record.
    const OrderInfo order = project_.order;
    number_->setText(QString::fromStdString(order.orderNumber));
    name_->setText(QString::fromStdString(order.clientName));
    address_->setText(QString::fromStdString(order.address));
    phone_->setText(QString::fromStdString(order.phone));
    orderDate_->setDate(QDateTime::fromSecsSinceEpoch(order.orderDate).date());
    readyDate_->setDate(QDateTime::fromSecsSinceEpoch(order.readyDate).date());
    project_.order.orderDate = order.orderDate;
    project_.order.readyDate = order.readyDate;
    assembly_->setText(QString::number(order.assemblyCost));
    delivery_->setText(QString::number(order.deliveryCost));
}

void DlgOrder::costEdited(QLineEdit* edit, int32_t& cost) {
    if (inCostRule_)
        return;
    inCostRule_ = true;
    const QString text = edit->text();
    if (text.isEmpty() && cost > 0) {
        cost = 0;
    } else {
        const int32_t v = leadingInteger(text.toStdString());
        if (v < kCostLimit)
            cost = v;
        const QString s = QString::number(cost);
        if (s.length() != text.length() && cost > 0) {
            edit->setText(s);
            edit->end(false);
        }
        if (cost == 0 && !text.isEmpty())
            edit->clear();
    }
    inCostRule_ = false;
    hub_.notify(Notify::OrderFieldChanged);
}

void DlgOrder::dateEdited(QDateEdit* edit, int64_t& stored) {
    // The picker chooses the day; the time of day of the stored value is kept.
    const QDateTime old = QDateTime::fromSecsSinceEpoch(stored);
    stored = QDateTime(edit->date(), old.time()).toSecsSinceEpoch();
    hub_.notify(Notify::OrderFieldChanged);
}

void DlgOrder::newOrder() {
    const OrderNumberFile numbers = numberFileOf(project_);
    project_.order.newOrder(numbers.readPath());
    clearJournalOrder();
    // With a journal the card shows the number the journal would give now; should the journal
    // not answer, the number file's stands and placing says what is wrong.
    if (journal_ != nullptr && journal_->enabled()) {
        try {
            project_.order.orderNumber = orderplacing::numberText(
                journal_->run(window(), JournalSession::Action::Read, [&](Journal& journal) {
                    return orderplacing::nextNumber(journal, numbers);
                }));
        } catch (const JournalError&) {
            // The information strip says the journal is away.
        }
    }
    fillFromRecord();
}

void DlgOrder::placeOrder() {
    if (journal_ != nullptr && journal_->enabled() && revising_) {
        const int64_t number = journalOrder_;
        if (const std::optional<JournalOrder> stored =
                orderrevision::revise(window(), *journal_, project_, number)) {
            project_.order.orderNumber = orderplacing::numberText(number);
            fillFromRecord();
            showJournalOrder(*stored, true);
            emit orderRevised(number);
            emit printChoiceRequested();
        }
        return;
    }
    if (journal_ != nullptr && journal_->enabled()) {
        placeInJournal();
        return;
    }
    // The edits are bound to the record as they change, so it already holds what is shown.
    const QString path =
        dialogs::saveFile(window(), QString::fromStdString(project_.order.orderNumber),
                          QString::fromUtf8(dialogs::kSketchFilter), QStringLiteral("tav"));
    if (path.isEmpty())
        return;
    // Through the window's document when there is one, so that the file becomes the project's
    // file (title, unsaved mark, lock, recent files).
    if (ProjectCommands* commands = hub_.commands()) {
        if (!commands->saveTo(path))
            return;
    } else {
        std::string reason;
        if (SketchFile::write(project_, std::filesystem::path(path.toStdString()), &reason) !=
            SketchFile::WriteOk) {
            dialogs::showError(window(), QString::fromStdString(SketchFile::saveErrorMessage(
                                             path.toStdString(), reason)));
            return;
        }
    }
    // The order stands even when the number file cannot take the next number; the user must
    // know, or the next run hands the same number out again.
    std::string failure;
    if (!numberFileOf(project_).commit(project_.order, &failure) && !failure.empty())
        dialogs::showError(window(), QString::fromStdString(failure));
    emit printChoiceRequested();
}

void DlgOrder::placeInJournal() {
    // The file is offered under the number the journal will give; should another seat take it
    // first, the file is named after the number the order gets.
    const OrderNumberFile numbers = numberFileOf(project_);
    std::string offered;
    try {
        offered = orderplacing::numberText(
            journal_->run(window(), JournalSession::Action::Read, [&](Journal& journal) {
                return orderplacing::nextNumber(journal, numbers);
            }));
    } catch (const JournalError& e) {
        if (journalAway(e))
            offerToPlaceLater(e.what(), {});
        else
            dialogs::showError(window(), QString::fromStdString(e.what()));
        return;
    }
    const QString path =
        dialogs::saveFile(window(), QString::fromStdString(offered),
                          QString::fromUtf8(dialogs::kSketchFilter), QStringLiteral("tav"));
    if (path.isEmpty())
        return;
    int64_t number = 0;
    ProjectCommands* commands = hub_.commands();
    try {
        // With its key, a placing whose answer was lost is repeated into the same order.
        const std::string key = commands != nullptr ? commands->placingKey() : std::string();
        // The journal thread places a copy of the project, so that nothing the window reads
        // while it waits (its autosave, its painting) changes under it; the card takes the
        // number afterwards.
        Project copy(project_.catalog());
        const std::optional<std::string> bytes = SketchFile::toBytes(project_);
        if (!bytes || SketchFile::fromBytes(copy, *bytes) != SketchFile::ReadOk)
            throw JournalError(JournalError::Failed,
                               "Проект не помещается в файл эскиза: заказ не оформлен");
        number = journal_->run(
            window(),
            key.empty() ? JournalSession::Action::Write : JournalSession::Action::KeyedWrite,
            [&](Journal& journal) {
                return orderplacing::place(journal, copy, numbers, journal_->salesperson(),
                                           path.toStdString(), offered, key);
            });
        project_.order.orderNumber = copy.order.orderNumber;
        if (commands != nullptr)
            commands->placingDone();
    } catch (const JournalError& e) {
        // The connection went while placing: the same key places it once, later.
        if (journalAway(e))
            offerToPlaceLater(e.what(), path);
        else
            dialogs::showError(window(), QString::fromStdString(e.what()));
        return;
    }
    fillFromRecord();
    if (commands != nullptr)
        commands->adoptFile(path);
    // The placed order's money, as the journal has it now (nothing paid yet).
    JournalOrder placed;
    placed.number = number;
    placed.totalKopecks = project_.grandTotal();
    showJournalOrder(placed, false);
    emit orderPlaced(number);
    emit printChoiceRequested();
}

void DlgOrder::offerToPlaceLater(const std::string& reason, QString path) {
    const QString later = QStringLiteral("Сохранить и оформить позже");
    const int answer = dialogs::ask(
        window(),
        QString::fromStdString(reason) +
            QStringLiteral("\n\nСохранить заказ в файл и оформить его в журнале, когда журнал "
                           "ответит? Номер заказа будет записан в файл."),
        {later, QStringLiteral("Отмена")}, 1, QStringLiteral("Журнал заказов недоступен"));
    if (answer != 0)
        return;
    if (path.isEmpty())
        path = dialogs::saveFile(window(), QString::fromStdString(project_.order.orderNumber),
                                 QString::fromUtf8(dialogs::kSketchFilter), QStringLiteral("tav"));
    if (path.isEmpty())
        return;
    ProjectCommands* commands = hub_.commands();
    if (commands != nullptr) {
        if (!commands->saveTo(path))
            return;
    } else {
        std::string why;
        if (SketchFile::write(project_, std::filesystem::path(path.toStdString()), &why) !=
            SketchFile::WriteOk) {
            dialogs::showError(window(), QString::fromStdString(SketchFile::saveErrorMessage(
                                             path.toStdString(), why)));
            return;
        }
    }
    // The document keeps the key until the placing is done, so that the order is placed once
    // however often it is tried.
    PendingPlacing placing;
    placing.key = commands != nullptr
                      ? commands->placingKey()
                      : QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString();
    placing.sketch = path.toStdString();
    placing.salesperson = journal_->salesperson();
    placing.offered = project_.order.orderNumberText();
    placing.since = QDateTime::currentSecsSinceEpoch();
    try {
        PendingPlacings().add(placing);
    } catch (const std::exception& e) {
        dialogs::showError(window(), QString::fromStdString(e.what()));
        return;
    }
    emit placingDeferred();
    // The quote can be printed meanwhile; the numbered papers wait for the number.
    emit printChoiceRequested();
}
