// The page "Наполнение" of the materials panel: material groups, placement and thumbnails.
#include "ui/materials/RightPanelDlg.h"

#include "calc/DSSystem.h"
#include "calc/systems/DSSystemGartis.h"
#include "calc/systems/DSSystemLoven.h"
#include "catalog/Catalog.h"
#include "catalog/HandleProfile.h"
#include "catalog/MaterialGroup.h"
#include "catalog/RollerKit.h"
#include "catalog/SplitterProfile.h"
#include "model/Project.h"
#include "text/Format.h"
#include "ui/materials/CThumbListCtrl.h"
#include "ui/materials/DlgDoorSize.h"
#include "ui/materials/DlgSplitter.h"
#include "ui/materials/DlgZoomMaterial.h"
#include "ui/shared/Dialogs.h"
#include "ui/shared/PictureButton.h"
#include "ui/shared/Pictures.h"
#include "ui/shared/Style.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include <algorithm>
#include <tuple>

namespace {

// A thumbnail as a screen reader calls it: the material's name and code; the pictures of one
// folder material share both and are told apart by the picture.
QString spokenName(const Material& m) {
    std::string words = m.name;
    if (!m.code.empty())
        words += (words.empty() ? "" : ", ") + m.code;
    if (words.empty() || m.fromFolder) {
        const std::string key = m.pictureKey();
        words = words.empty() ? key : words + " (" + key + ")";
    }
    return QString::fromStdString(words);
}

// A thumbnail's tooltip: what a seller needs before choosing it: the material, its code,
// thickness and price.
QString materialTip(const Material& m) {
    QStringList lines;
    if (!m.name.empty())
        lines << QString::fromStdString(m.name);
    if (!m.code.empty())
        lines << QStringLiteral("Код: ") + QString::fromStdString(m.code);
    lines << QString::fromStdString(text::format("Толщина: %1.1f мм", m.thickness / 10.0));
    lines << QString::fromStdString(text::format("Цена: %1.2f руб./м²", m.price / 100.0));
    lines << QStringLiteral("Изображение: ") + QString::fromStdString(m.pictureKey());
    return lines.join(QLatin1Char('\n'));
}

} // namespace

void RightPanelDlg::buildFillingPage() {
    auto* l = new QLabel(QStringLiteral("Группа материалов"), this);
    style::makePanelLabel(l);
    l->setGeometry(kMargin, 32, 200, 18);
    fillingWidgets_.push_back(l);
    groupList_ = new QComboBox(this);
    groupList_->setGeometry(kMargin, 52, kWidth - 2 * kMargin, 24);
    nameControl(groupList_, QStringLiteral("Группа материалов"),
                QStringLiteral("Группа материалов"));
    l->setBuddy(groupList_);
    for (const std::string& g : project_.catalog().materialGroupNames())
        groupList_->addItem(QString::fromStdString(g));
    connect(groupList_, &QComboBox::activated, this, &RightPanelDlg::groupChosen);
    fillingWidgets_.push_back(groupList_);

    placement_ = addToggle(QStringLiteral("Масштабирование изображения"),
                           QStringLiteral("Спрашивать размещение материала"), 82);
    connect(placement_, &QAbstractButton::clicked, this, &RightPanelDlg::togglePlacement);
    fillingWidgets_.push_back(placement_);

    thumbs_ = new CThumbListCtrl(this);
    nameControl(thumbs_, QStringLiteral("Материалы"), QStringLiteral("Материалы группы"));
    connect(thumbs_, &CThumbListCtrl::thumbnailClicked, this, &RightPanelDlg::thumbnailClicked);
    fillingWidgets_.push_back(thumbs_);
}

void RightPanelDlg::groupChosen(int item) {
    const MaterialGroup* group =
        project_.catalog().materialGroupByName(groupList_->itemText(item).toStdString());
    if (!group)
        return;
    QStringList paths;
    QStringList names;
    for (const Material& m : group->materials) {
        paths << QString::fromStdString(m.imagePath);
        names << spokenName(m);
    }
    thumbs_->rebuild(QString::fromStdString(group->imagesFolder), paths, names);
    for (int i = 0; i < thumbs_->count(); ++i)
        thumbs_->item(i)->setToolTip(materialTip(group->materials[static_cast<size_t>(i)]));
}

void RightPanelDlg::togglePlacement() {
    project_.placementOnPick = !project_.placementOnPick;
    showToggle(placement_, project_.placementOnPick);
}

void RightPanelDlg::thumbnailClicked(int item) {
    bool targetInView = false;
    for (int i : project_.doors->doorsInView())
        targetInView |= project_.doors->doors[static_cast<size_t>(i)].materialTarget != nullptr;
    if (!targetInView || item < 0)
        return;
    const MaterialGroup* group =
        project_.catalog().materialGroupByName(groupList_->currentText().toStdString());
    // The grid holds the group's materials in order; the label writes the picture key with
    // backslashes, so it cannot be looked up by the field as written.
    const Material* material = group && static_cast<size_t>(item) < group->materials.size()
                                   ? &group->materials[static_cast<size_t>(item)]
                                   : nullptr;
    if (!material)
        return;
    if (project_.placementOnPick) {
        hub_.notify(Notify::PopupOpened);
        zoom_->open(material);
        return;
    }
    project_.assignMaterial(material);
    hub_.notify(Notify::ProjectChanged);
    hub_.notify(Notify::TotalsChanged);
}
