#include "ui/shared/SelectionPopup.h"

#include "ui/shared/PictureButton.h"
#include "ui/shared/Pictures.h"
#include "ui/shared/Style.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>

SelectionPopup::SelectionPopup(Project& project, NotifyHub& hub, QWidget* parent)
    : QFrame(parent), project_(project), hub_(hub) {
    setFont(style::boldFont());
    cancel_ = new PictureButton(pictures::cancelPicture(), QStringLiteral("  "), this);
    cancel_->setCommandId(kCancelId);
    cancel_->setToolTip(QStringLiteral("Закрыть"));
    cancel_->setAccessibleName(cancel_->toolTip());
    connect(cancel_, &QAbstractButton::clicked, this, &QWidget::hide);
    hide();
}

PictureButton* SelectionPopup::buttonById(int id) const {
    if (id == kCancelId)
        return cancel_;
    for (PictureButton* b : choices_)
        if (b->commandId() == id)
            return b;
    return nullptr;
}

void SelectionPopup::markChoice(int recordIndex) {
    for (PictureButton* b : choices_) {
        b->setCheckable(true);
        b->setChecked(b->recordIndex() == recordIndex);
    }
}

void SelectionPopup::focusChoice() {
    PictureButton* target = choices_.empty() ? cancel_ : choices_.front();
    for (PictureButton* b : choices_)
        if (b->isChecked())
            target = b;
    target->setFocus(Qt::PopupFocusReason);
}

void SelectionPopup::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        hide();
        event->accept();
        return;
    }
    QFrame::keyPressEvent(event);
}

void SelectionPopup::showEvent(QShowEvent* event) {
    QWidget* focus = QApplication::focusWidget();
    if (focus && !isAncestorOf(focus))
        focusBefore_ = focus;
    QFrame::showEvent(event);
}

void SelectionPopup::hideEvent(QHideEvent* event) {
    QWidget* focus = QApplication::focusWidget();
    if (focusBefore_ && focusBefore_->isVisible() && (!focus || isAncestorOf(focus)))
        focusBefore_->setFocus(Qt::PopupFocusReason);
    focusBefore_ = nullptr;
    QFrame::hideEvent(event);
}

void SelectionPopup::createButtons(const std::vector<Choice>& entries, int buttonWidth) {
    for (PictureButton* b : choices_)
        delete b;
    choices_.clear();
    int id = kFirstChoiceId;
    for (const Choice& c : entries) {
        auto* b = new PictureButton(c.picture, c.caption, this);
        b->setCommandId(id++);
        b->setRecordIndex(c.recordIndex);
        b->setToolTip(c.caption);
        b->setAccessibleName(c.caption);
        b->resize(buttonWidth, kButtonHeight);
        const int index = c.recordIndex;
        connect(b, &QAbstractButton::clicked, this, [this, index] { choose(index); });
        b->show();
        choices_.push_back(b);
    }
    cancel_->resize(buttonWidth, kButtonHeight);
}

void SelectionPopup::buildRow(const std::vector<Choice>& entries, int buttonWidth) {
    createButtons(entries, buttonWidth);
    int x = 0;
    for (PictureButton* b : choices_) {
        b->move(x, kRowTop);
        x += buttonWidth;
    }
    cancel_->move(x, kRowTop);
    setFixedSize(x + buttonWidth, 100);
}

void SelectionPopup::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.fillRect(rect(), style::popupBrush());
    p.setPen(QColor(190, 172, 156));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    QFrame::paintEvent(event);
}
