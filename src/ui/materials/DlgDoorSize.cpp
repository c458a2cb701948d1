#include "ui/materials/DlgDoorSize.h"

#include "calc/DSSystem.h"
#include "model/OrderInfo.h"
#include "model/Project.h"
#include "text/Format.h"
#include "ui/shared/Dialogs.h"
#include "ui/shared/Notify.h"
#include "ui/shared/Style.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <vector>

namespace {
constexpr int kWidth = 286;
constexpr int kRowStep = 25;

// A track list wide enough for "первый ряд" and "второй ряд" in the dialog's font.
int trackWidth(const QComboBox* track) {
    return std::max(100, track->sizeHint().width());
}
} // namespace

DlgDoorSize::DlgDoorSize(Project& project, NotifyHub& hub, QWidget* parent)
    : QDialog(parent, style::kPopupDialogFlags), project_(project), hub_(hub) {
    style::dressPopupDialog(this, QStringLiteral("Параметры дверей"),
                            QStringLiteral("Ширина и положение дверей"));

    auto header = [this](const QString& text, int x) {
        auto* l = new QLabel(text, this);
        style::makePanelLabel(l);
        l->setGeometry(x, 4, 90, 18);
    };
    header(QStringLiteral("Ширина"), 100);
    header(QStringLiteral("Положение"), 170);
    for (int i = 0; i < 10; ++i) {
        const int y = kRowStep + kRowStep * i;
        const QString door = QString::fromStdString(text::format("Дверь %d", i + 1));
        auto* label = new QLabel(door, this);
        style::makePanelLabel(label);
        label->setGeometry(20, y, 78, 22);
        auto* width = new QLineEdit(this);
        width->setGeometry(100, y, 62, 22);
        width->setMaxLength(6);
        width->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        width->setAccessibleName(door + QStringLiteral(": ширина, мм"));
        connect(width, &QLineEdit::textChanged, this, &DlgDoorSize::updateRemainder);
        auto* track = new QComboBox(this);
        track->addItems({QStringLiteral("первый ряд"), QStringLiteral("второй ряд")});
        track->setGeometry(170, y, trackWidth(track), 22);
        track->setAccessibleName(door + QStringLiteral(": ряд направляющей"));
        // A drop-down is announced by its label; the width field has a name of its own.
        label->setBuddy(track);
        labels_[static_cast<size_t>(i)] = label;
        widths_[static_cast<size_t>(i)] = width;
        tracks_[static_cast<size_t>(i)] = track;
    }
    remainderLabel_ = new QLabel(QStringLiteral("Остаток"), this);
    style::makePanelLabel(remainderLabel_);
    remainder_ = new QLineEdit(this);
    remainder_->setReadOnly(true);
    remainder_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    remainder_->setAccessibleName(QStringLiteral("Остаток ширины проема, мм"));
    ok_ = new QPushButton(QStringLiteral("ОК"), this);
    ok_->setAccessibleName(QStringLiteral("Применить ширину дверей"));
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("Отмена"), this);
    cancel_->setAccessibleName(QStringLiteral("Закрыть без изменений"));
    connect(ok_, &QPushButton::clicked, this, &DlgDoorSize::accept);
    connect(cancel_, &QPushButton::clicked, this, &DlgDoorSize::reject);
}

void DlgDoorSize::open() {
    const int n = project_.doorCount;
    filling_ = true;
    // Мелоза's doors all run on one track.
    const bool tracksOffered = project_.system->systemKind != SystemMeloza;
    for (int i = 0; i < 10; ++i) {
        const bool inUse = i < n;
        labels_[static_cast<size_t>(i)]->setVisible(inUse);
        widths_[static_cast<size_t>(i)]->setVisible(inUse);
        tracks_[static_cast<size_t>(i)]->setVisible(inUse);
        const Door& d = project_.doors->doors[static_cast<size_t>(i)];
        widths_[static_cast<size_t>(i)]->setText(QString::number(d.width / 10));
        tracks_[static_cast<size_t>(i)]->setCurrentIndex(d.track == 1 ? 1 : 0);
        tracks_[static_cast<size_t>(i)]->setEnabled(tracksOffered);
    }
    filling_ = false;
    const int bottom = kRowStep + kRowStep * n;
    remainderLabel_->setGeometry(20, bottom + 8, 78, 22);
    remainder_->setGeometry(100, bottom + 8, 62, 22);
    ok_->setGeometry(40, bottom + 48, 90, 28);
    cancel_->setGeometry(150, bottom + 48, 90, 28);
    int sum = 0;
    for (int i = 0; i < n; ++i)
        sum += project_.doors->doors[static_cast<size_t>(i)].width;
    remainder_->setText(QString::number((project_.doors->doorsNominalWidth - sum) / 10));

    const int width = std::max(kWidth, tracks_[0]->geometry().right() + 17);
    setFixedSize(width, kRowStep * n + 140);
    if (QWidget* main = parentWidget() ? parentWidget()->window() : nullptr)
        move(main->geometry().center() - QPoint(width / 2, height() / 2));
    widths_[0]->setFocus();
    widths_[0]->selectAll();
    open_ = true;
    show();
    raise();
    activateWindow();
}

int DlgDoorSize::typedWidthMm(int door) const {
    return static_cast<int>(
        leadingInteger(widths_[static_cast<size_t>(door)]->text().toStdString()));
}

void DlgDoorSize::updateRemainder() {
    if (filling_)
        return;
    int sum = 0;
    for (int i = 0; i < project_.doorCount; ++i)
        sum += typedWidthMm(i);
    remainder_->setText(QString::number(project_.doors->doorsNominalWidth / 10 - sum));
}

bool DlgDoorSize::tracksChanged() const {
    for (int i = 0; i < project_.doorCount; ++i)
        if (tracks_[static_cast<size_t>(i)]->currentIndex() !=
            project_.doors->doors[static_cast<size_t>(i)].track)
            return true;
    return false;
}

void DlgDoorSize::accept() {
    const int n = project_.doorCount;
    if (tracksChanged()) {
        std::vector<int32_t> tracks;
        for (int i = 0; i < n; ++i)
            tracks.push_back(tracks_[static_cast<size_t>(i)]->currentIndex());
        project_.setDoorTracks(tracks);
        hub_.notify(Notify::CatalogSelection);
        project_.doors->clearMaterialTargets();
        hub_.notify(Notify::ProjectChanged);
        finish();
        return;
    }
    const int r = static_cast<int>(leadingInteger(remainder_->text().toStdString()));
    if (r > 0 &&
        !dialogs::confirm(this,
                          QString::fromStdString(text::format(
                              "Суммарная ширина дверей меньше ширины проема на %d мм. Останется "
                              "пустое пространсто, продолжить?",
                              r)),
                          QStringLiteral("Ошибка")))
        return;
    if (r < 0) {
        dialogs::showError(this,
                           QString::fromStdString(text::format(
                               "Суммарная ширина дверей больше ширины проема на %d мм. Уменьшите "
                               "общую ширину дверей на это значение.",
                               -r)),
                           QStringLiteral("Ошибка"));
        return;
    }
    std::vector<int32_t> widths;
    for (int i = 0; i < n; ++i) {
        if (typedWidthMm(i) < kMinDoorWidthMm) {
            dialogs::showError(this,
                               QString::fromStdString(text::format(
                                   "Ширина двери не должна быть меньше %d мм.", kMinDoorWidthMm)),
                               QStringLiteral("Ошибка"));
            return;
        }
        widths.push_back(typedWidthMm(i) * 10);
    }
    project_.setDoorWidths(widths);
    hub_.notify(Notify::CatalogSelection);
    hub_.notify(Notify::ProjectChanged);
    finish();
}

void DlgDoorSize::reject() {
    finish();
}

void DlgDoorSize::finish() {
    if (!open_)
        return;
    open_ = false;
    QDialog::done(0);
    hub_.notify(Notify::PopupClosed);
}
