#include "ui/materials/DlgZoomMaterial.h"

#include "catalog/Material.h"
#include "model/DoorSet.h"
#include "model/Project.h"
#include "ui/shared/Notify.h"
#include "ui/shared/PictureCache.h"
#include "ui/shared/Style.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace {
constexpr int kPictureWidth = 160;
constexpr int kPictureHeight = 120;
constexpr int kGap = 8; // between the insert and the popup
} // namespace

DlgZoomMaterial::DlgZoomMaterial(Project& project, NotifyHub& hub, QWidget* parent)
    : QDialog(parent, style::kPopupDialogFlags), project_(project), hub_(hub) {
    style::dressPopupDialog(this, QStringLiteral("Масштабирование"),
                            QStringLiteral("Размещение материала"));
    setFixedSize(360, 190);

    picture_ = new QLabel(this);
    picture_->setGeometry(10, 10, kPictureWidth, kPictureHeight);
    picture_->setFrameShape(QFrame::Box);
    picture_->setAccessibleName(QStringLiteral("Изображение материала"));
    caption_ = new QLabel(this);
    style::makePanelLabel(caption_);
    caption_->setGeometry(180, 10, 170, 40);
    caption_->setWordWrap(true);

    insertButton_ = new QPushButton(QStringLiteral("По размеру вставки"), this);
    insertButton_->setGeometry(180, 56, 170, 28);
    insertButton_->setAccessibleName(QStringLiteral("Материал по размеру вставки"));
    doorsButton_ = new QPushButton(QStringLiteral("По размеру дверей"), this);
    doorsButton_->setGeometry(180, 92, 170, 28);
    doorsButton_->setAccessibleName(QStringLiteral("Материал по размеру дверей"));
    // Enter on a button presses that button; Enter in the door lists spreads the picture over
    // the doors chosen there.
    doorsButton_->setDefault(true);

    // "Дверь с" [list] "по" [list] in one line, each label as wide as its text and ending before
    // its list, which it names for a screen reader.
    int x = 20;
    auto labelled = [this, &x](const QString& text, const QString& name) {
        auto* l = new QLabel(text, this);
        style::makePanelLabel(l);
        const int textWidth = l->fontMetrics().horizontalAdvance(text) + 2;
        l->setGeometry(x, 146, textWidth, 24);
        auto* list = new QComboBox(this);
        list->setGeometry(x + textWidth + 6, 146, 56, 24);
        list->setAccessibleName(name);
        l->setBuddy(list);
        x = list->geometry().right() + 14;
        return list;
    };
    from_ = labelled(QStringLiteral("Дверь с"), QStringLiteral("Первая дверь изображения"));
    to_ = labelled(QStringLiteral("по"), QStringLiteral("Последняя дверь изображения"));

    connect(insertButton_, &QPushButton::clicked, this, &DlgZoomMaterial::placeInInsert);
    connect(doorsButton_, &QPushButton::clicked, this, &DlgZoomMaterial::placeAcrossDoors);
}

void DlgZoomMaterial::fillList(QComboBox* list, int first, int last, int remembered) {
    list->clear();
    for (int k = first; k <= last; ++k)
        list->addItem(QString::number(k));
    const int at = list->findText(QString::number(remembered));
    list->setCurrentIndex(at >= 0 ? at : 0);
}

bool DlgZoomMaterial::open(const Material* material) {
    material_ = material;
    int t = -1;
    for (int i = 0; i < project_.doorCount; ++i) {
        if (project_.doors->doors[static_cast<size_t>(i)].materialTarget) {
            t = i;
            break;
        }
    }
    if (t < 0 || !material) {
        finish();
        return false;
    }
    // "с" runs 1 … t+1 and "по" t+1 … n: the range always holds the target's door.
    fillList(from_, 1, t + 1, lastFrom_);
    fillList(to_, t + 1, project_.doorCount, lastTo_);

    const QImage* image =
        PictureCache::shared().scaled(material->imagePath, kPictureWidth - 2, kPictureHeight - 2);
    picture_->setPixmap(image ? QPixmap::fromImage(*image) : QPixmap());
    QString text = QString::fromStdString(material->code);
    if (!material->name.empty())
        text += QStringLiteral(" ") + QString::fromStdString(material->name);
    caption_->setText(text);

    placeBeside(project_.doors->doors[static_cast<size_t>(t)].materialTarget);
    show();
    raise();
    activateWindow();
    insertButton_->setFocus();
    return true;
}

void DlgZoomMaterial::placeBeside(const Insert* insert) {
    QWidget* main = parentWidget() ? parentWidget()->window() : nullptr;
    if (!main)
        return;
    const QRect window = main->geometry();
    const std::optional<QPoint> origin = hub_.sketchOrigin();
    if (!insert || !origin || insert->rect.isEmpty()) {
        move(window.center() - QPoint(width() / 2, height() / 2));
        return;
    }
    // Right of the insert when there is room in the window, else left of it, so the insert and
    // the picture about to fill it stay in sight together.
    const QRect target(*origin + QPoint(insert->rect.left, insert->rect.top),
                       QSize(insert->rect.width(), insert->rect.height()));
    int x = target.right() + kGap;
    if (x + width() > window.right())
        x = target.left() - kGap - width();
    x = std::clamp(x, window.left(), std::max(window.left(), window.right() - width()));
    const int y =
        std::clamp(target.top(), window.top(), std::max(window.top(), window.bottom() - height()));
    move(x, y);
}

void DlgZoomMaterial::placeInInsert() {
    project_.assignMaterial(material_);
    hub_.notify(Notify::ProjectChanged);
    hub_.notify(Notify::CatalogSelection);
    finish();
}

void DlgZoomMaterial::placeAcrossDoors() {
    lastFrom_ = from_->currentText().toInt();
    lastTo_ = to_->currentText().toInt();
    project_.assignMaterialAcrossDoors(material_, lastFrom_ - 1, lastTo_ - 1);
    hub_.notify(Notify::ProjectChanged);
    hub_.notify(Notify::CatalogSelection);
    finish();
}

void DlgZoomMaterial::reject() {
    finish();
}

void DlgZoomMaterial::finish() {
    QDialog::done(0);
    hub_.notify(Notify::PopupClosed);
}
