#include "ui/sketch/SizeDlg.h"

#include "model/OrderInfo.h"
#include "model/Project.h"
#include "model/UndoHistory.h"
#include "ui/shared/Notify.h"
#include "ui/shared/PictureButton.h"
#include "ui/shared/Pictures.h"
#include "ui/shared/Style.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPolygonF>

#include <algorithm>
#include <climits>

namespace {

QFont popupFont() {
    QFont f(QStringLiteral("Times New Roman"));
    f.setPixelSize(16);
    return f;
}

// A green tick for the OK button.
QPixmap tickPicture(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(46, 139, 60), size / 6.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(size * 0.2, size * 0.55), QPointF(size * 0.42, size * 0.78),
                              QPointF(size * 0.82, size * 0.25)}));
    return pixmap;
}

Splitter* splitterOf(Project& project, int door, int id) {
    if (door < 0 || door >= kMaxDoors)
        return nullptr;
    return project.doors->doors[static_cast<std::size_t>(door)].splitterById(id);
}

} // namespace

SizeDlg::SizeDlg(Project& project, NotifyHub* hub, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::FramelessWindowHint), project_(project), hub_(hub) {
    setModal(false);
    setFont(popupFont());
    what_ = new QLabel(this);
    what_->setGeometry(10, 10, 70, 26);
    side_ = new QComboBox(this);
    side_->setGeometry(80, 10, 100, 26);
    what_->setBuddy(side_);
    insertWord_ = new QLabel(QStringLiteral("вставки"), this);
    insertWord_->setGeometry(188, 10, 80, 26);
    size_ = new QLineEdit(this);
    size_->setGeometry(10, 44, 70, 26);
    size_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    range_ = new QLabel(this);
    range_->setGeometry(88, 44, 170, 26);
    ok_ = new PictureButton(tickPicture(20), QStringLiteral("ОК"), this);
    cancel_ = new PictureButton(pictures::commandPicture(pictures::Command::Cancel, 20),
                                QStringLiteral("Отмена"), this);
    for (PictureButton* b : {ok_, cancel_}) {
        b->setLayout(PictureButton::Layout::PictureLeft);
        b->setFramed(true);
        b->setFont(style::labelFont());
    }
    ok_->setAccessibleName(QStringLiteral("Применить размер вставки"));
    cancel_->setAccessibleName(QStringLiteral("Закрыть без изменений"));
    ok_->setGeometry(10, 80, 110, 32);
    cancel_->setGeometry(128, 80, 120, 32);
    connect(ok_, &QAbstractButton::clicked, this, &SizeDlg::confirm);
    connect(cancel_, &QAbstractButton::clicked, this, &SizeDlg::cancel);
    connect(side_, &QComboBox::activated, this, &SizeDlg::sideChosen);
    setFixedSize(270, 122);
}

bool SizeDlg::openFor(int door, int splitterId, const QPoint& globalPos, bool extendsLastStep) {
    Splitter* s = splitterOf(project_, door, splitterId);
    if (!s)
        return false;
    Door& d = project_.doors->doors[static_cast<std::size_t>(door)];
    auto [before, after] = d.findNeighbours(*s);
    if (!before || !after)
        return false;
    door_ = door;
    splitterId_ = splitterId;
    vertical_ = s->vertical != 0;
    const auto [first, second] = d.neighbourSizes(*s);
    sizes_ = {first, second};
    position_ = s->position;
    limit_ = first + second - kMinSize;

    what_->setText(vertical_ ? QStringLiteral("Ширина") : QStringLiteral("Высота"));
    side_->clear();
    if (vertical_)
        side_->addItems({QStringLiteral("левой"), QStringLiteral("правой")});
    else
        side_->addItems({QStringLiteral("верхней"), QStringLiteral("нижней")});
    side_->setCurrentIndex(0);
    range_->setText(QStringLiteral("%1 - %2 мм").arg(kMinSize / 10).arg(limit_ / 10));
    size_->setAccessibleDescription(range_->text());
    sideChosen(0);

    move(globalPos);
    if (!open_) {
        open_ = true;
        if (hub_) {
            // The split or drag that opened the popup and the size chosen here are one step.
            if (UndoHistory* history = hub_->history())
                history->beginStep(extendsLastStep);
            hub_->notify(Notify::PopupOpened);
        }
    }
    show();
    raise();
    activateWindow();
    size_->setFocus();
    size_->selectAll();
    return true;
}

void SizeDlg::sideChosen(int side) {
    if (side < 0 || side > 1)
        return;
    size_->setText(QString::number(sizes_[static_cast<std::size_t>(side)] / 10));
    // The field is read as the line around it says: "Ширина левой вставки".
    size_->setAccessibleName(what_->text() + QLatin1Char(' ') + side_->itemText(side) +
                             QStringLiteral(" вставки, мм"));
}

int32_t SizeDlg::applySize(int32_t c) {
    Splitter* s = splitterOf(project_, door_, splitterId_);
    if (!s)
        return -1;
    Door& d = project_.doors->doors[static_cast<std::size_t>(door_)];
    DoorSet& set = *project_.doors;
    set.selectedSplitterDoor = &d;
    set.selectedSplitter = s;
    const InsertSide side = side_->currentIndex() == 0 ? InsertSide::Before : InsertSide::After;
    project_.setInsertSize(c, side);
    if (hub_)
        hub_->notify(Notify::ProjectChanged);
    // The recalculation may have replaced nothing, but the lookups go by id again.
    s = splitterOf(project_, door_, splitterId_);
    if (!s)
        return -1;
    auto [before, after] = d.findNeighbours(*s);
    const Insert* in = side == InsertSide::Before ? before : after;
    if (!in)
        return -1;
    return vertical_ ? in->fillWidth : in->fillHeight;
}

void SizeDlg::confirm() {
    const int64_t typed = leadingInteger(size_->text().toStdString());
    const int64_t c = std::clamp<int64_t>(typed * 10, INT32_MIN, INT32_MAX);
    if (open_ && c >= kMinSize && c <= limit_) {
        const int32_t e = applySize(static_cast<int32_t>(c));
        // The calculation takes profile allowances off the nominal size; asking once more with
        // the difference added lands on the size that was typed.
        if (e >= 0 && e != c)
            applySize(static_cast<int32_t>(2 * c - e));
    }
    closePopup();
}

void SizeDlg::cancel() {
    closePopup();
}

void SizeDlg::closePopup() {
    hide();
    if (!open_)
        return;
    // The keyboard goes back to the main window (its shortcuts, undo among them).
    if (QWidget* main = parentWidget())
        main->activateWindow();
    open_ = false;
    if (hub_) {
        hub_->notify(Notify::PopupClosed);
        if (UndoHistory* history = hub_->history())
            history->endStep();
    }
}

void SizeDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        confirm();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void SizeDlg::reject() {
    cancel();
}

void SizeDlg::closeEvent(QCloseEvent* event) {
    cancel();
    event->accept();
}

void SizeDlg::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), style::popupBrush());
    p.setPen(style::panelLine());
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}
