#include "ui/toppanel/DlgColors.h"

#include "catalog/Catalog.h"
#include "model/Project.h"
#include "ui/shared/Notify.h"
#include "ui/shared/PictureButton.h"
#include "ui/shared/Pictures.h"
#include "ui/shared/Style.h"

#include <QLabel>
#include <QPainter>

#include <algorithm>

DlgColors::DlgColors(Project& project, NotifyHub& hub, QWidget* parent)
    : SelectionPopup(project, hub, parent) {
    setAccessibleName(QStringLiteral("Выбор цвета"));
    onOrderLabel_ = new QLabel(QStringLiteral("Под заказ"), this);
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(9);
    onOrderLabel_->setFont(f);
    onOrderLabel_->setAlignment(Qt::AlignCenter);
    QPalette pal = onOrderLabel_->palette();
    pal.setColor(QPalette::WindowText, style::labelColor());
    onOrderLabel_->setPalette(pal);
    rebuild();
}

void DlgColors::onCatalogSelection() {
    if (!built_ || project_.handleProfile != builtFor_)
        rebuild();
}

void DlgColors::rebuild() {
    built_ = true;
    builtFor_ = project_.handleProfile;
    std::vector<Choice> regular;
    std::vector<Choice> onOrder;
    if (builtFor_) {
        for (const ColorChoice& c : builtFor_->colorChoices) {
            if (!c.color)
                continue;
            Choice entry{c.color->index, QString::fromStdString(c.color->code),
                         pictures::colorSwatch(c.color->rgb)};
            (c.onOrder ? onOrder : regular).push_back(entry);
        }
    }
    std::vector<Choice> all = regular;
    all.insert(all.end(), onOrder.begin(), onOrder.end());
    createButtons(all, kButtonWidth);

    const int r = static_cast<int>(regular.size());
    const int o = static_cast<int>(onOrder.size());
    const auto rowsOf = [](int n) { return (n + kPerRow - 1) / kPerRow; };
    const auto& buttons = choiceButtons();
    for (int i = 0; i < r; ++i)
        buttons[static_cast<size_t>(i)]->move((i % kPerRow) * kButtonWidth,
                                              kRowTop + (i / kPerRow) * kRowStep);
    int bottom = kRowTop + rowsOf(r) * kRowStep;
    separatorY_ = -1;
    onOrderLabel_->setVisible(o > 0);
    if (o > 0) {
        // The line and the label sit in the gap between the last regular row and the first
        // on-order row, which starts 30 pixels lower than a plain next row would.
        separatorY_ = bottom + kSeparatorGap / 2 - 2;
        const int top = bottom + kSeparatorGap;
        for (int i = 0; i < o; ++i)
            buttons[static_cast<size_t>(r + i)]->move((i % kPerRow) * kButtonWidth,
                                                      top + (i / kPerRow) * kRowStep);
        bottom = top + rowsOf(o) * kRowStep;
    }
    const int longest = std::min(std::max(r, o), kPerRow);
    longestRow_ = longest;
    cancelButton()->move(longest * kButtonWidth, kRowTop);
    const int width =
        std::max(r, o) <= 10 ? (std::max(r, o) + 1) * kButtonWidth : (kPerRow + 1) * kButtonWidth;
    if (o > 0) {
        const int labelWidth = 120;
        const int rowWidth = longest * kButtonWidth;
        onOrderLabel_->setGeometry((rowWidth - labelWidth) / 2, separatorY_ - 9, labelWidth, 18);
        onOrderLabel_->setAutoFillBackground(false);
    }
    setFixedSize(width, bottom - (kRowStep - kButtonHeight) + 4);
    update();
}

void DlgColors::paintEvent(QPaintEvent* event) {
    SelectionPopup::paintEvent(event);
    if (separatorY_ < 0)
        return;
    QPainter p(this);
    const int rowWidth = longestRow_ * kButtonWidth;
    const QRect label = onOrderLabel_->geometry();
    p.setPen(QColor(190, 172, 156));
    p.drawLine(8, separatorY_, label.left() - 6, separatorY_);
    p.drawLine(label.right() + 6, separatorY_, rowWidth - 8, separatorY_);
}

void DlgColors::choose(int recordIndex) {
    for (ProfileColor* c : project_.catalog().colorTable()) {
        if (c->index != recordIndex)
            continue;
        if (c != project_.color)
            project_.setColor(c);
        break;
    }
    hub_.notify(Notify::CatalogSelection);
    hub_.notify(Notify::ProjectChanged);
    hide();
}
