#include "ui/shared/JournalBusyFrame.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

JournalBusyFrame::JournalBusyFrame(QWidget* over)
    : QFrame(over != nullptr ? over->window() : nullptr, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("journalBusyFrame"));
    setWindowModality(Qt::ApplicationModal);
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(16, 12, 12, 12);
    layout->setSpacing(16);
    auto* text = new QLabel(QStringLiteral("Журнал заказов: ожидание ответа…"), this);
    layout->addWidget(text);
    cancel_ = new QPushButton(QStringLiteral("Отмена"), this);
    cancel_->setAccessibleName(QStringLiteral("Отмена"));
    layout->addWidget(cancel_);
    connect(cancel_, &QPushButton::clicked, this, [this] {
        showCancelling();
        emit cancelRequested();
    });
    adjustSize();
    if (parentWidget() != nullptr) {
        const QRect area = parentWidget()->geometry();
        move(area.center() - rect().center());
    }
}

void JournalBusyFrame::showCancelling() {
    cancel_->setEnabled(false);
    cancel_->setText(QStringLiteral("Отменяется…"));
}
