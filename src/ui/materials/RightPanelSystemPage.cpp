// The page "Система" of the materials panel: its controls and what they do.
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

QString stockText(int32_t length) {
    return QString::fromStdString(text::format("%1.1f м", length / 10000.0));
}

} // namespace

QString RightPanelDlg::pivotEntry() {
    return QStringLiteral("пивотный мех.");
}

QString RightPanelDlg::standardEntry() {
    return QStringLiteral("стандартные");
}

void RightPanelDlg::buildSystemPage() {
    doorSizeButton_ = new QPushButton(QStringLiteral("Параметры дверей"), this);
    doorSizeButton_->setGeometry(kMargin, 34, kWidth - 2 * kMargin, 28);
    nameControl(doorSizeButton_, QStringLiteral("Параметры дверей"),
                QStringLiteral("Ширина и положение дверей"));
    connect(doorSizeButton_, &QPushButton::clicked, this, &RightPanelDlg::openDoorSize);
    systemWidgets_.push_back(doorSizeButton_);

    zoomList_ = addList(QStringLiteral("Показать двери"),
                        QStringLiteral("Двери, показанные на эскизе"), 72);
    connect(zoomList_, &QComboBox::activated, this, &RightPanelDlg::zoomChosen);
    stockList_ = addList(QStringLiteral("Длина профиля ручки"),
                         QStringLiteral("Длина хлыста профиля ручки"), 102);
    connect(stockList_, &QComboBox::activated, this, &RightPanelDlg::stockChosen);

    auto* rollers = new QLabel(QStringLiteral("Ролики"), this);
    style::makePanelLabel(rollers);
    rollers->setGeometry(kMargin, 132, 150, 18);
    systemWidgets_.push_back(rollers);
    rollerList_ = addList(QStringLiteral("Выбрать тип:"),
                          QStringLiteral("Тип роликов или пивотный механизм"), 150);
    connect(rollerList_, &QComboBox::activated, this, &RightPanelDlg::rollerChosen);
    heightList_ = addList(QStringLiteral("Отступ высоты"),
                          QStringLiteral("Отступ высоты двери, мм"), 180, &heightLabel_);
    heightList_->addItems({QStringLiteral("-40"), QStringLiteral("-33")});
    connect(heightList_, &QComboBox::activated, this, &RightPanelDlg::heightChosen);
    alignLists();

    dimensions_ = addToggle(QStringLiteral("Отображать размеры вставок"),
                            QStringLiteral("Показывать размеры вставок на эскизе"), 212);
    connect(dimensions_, &QAbstractButton::clicked, this, &RightPanelDlg::toggleDimensions);
    systemWidgets_.push_back(dimensions_);

    toolsHeading_ = new QLabel(QStringLiteral("Разделители"), this);
    style::makePanelLabel(toolsHeading_);
    toolsHeading_->setGeometry(kMargin, kToolsTop - 20, 150, 18);
    systemWidgets_.push_back(toolsHeading_);

    splitterButton_ = new PictureButton(this);
    splitterButton_->setGeometry(kMargin - 4, kToolsTop, 101, 91);
    splitterButton_->setFramed(true);
    nameControl(splitterButton_, QStringLiteral("Профиль разделителя"),
                QStringLiteral("Выбрать профиль разделителя"));
    splitterButton_->setToolTip(QStringLiteral("Профиль новых разделителей"));
    connect(splitterButton_, &QAbstractButton::clicked, this, &RightPanelDlg::toggleSplitterPopup);

    auto tool = [this](const QString& text, const QString& accessible, int row) {
        auto* b = new PictureButton(this);
        b->setText(text);
        b->setLayout(PictureButton::Layout::PictureLeft);
        b->setFont(style::labelFont());
        b->setFramed(true);
        b->setGeometry(112, kToolsTop + row * 31, kWidth - 112 - kMargin + 4, 29);
        nameControl(b, text, accessible);
        return b;
    };
    orientation_ =
        tool(QStringLiteral("вертикальный"), QStringLiteral("Направление новых разделителей"), 0);
    orientation_->setToolTip(QStringLiteral("горизонтальный / вертикальный"));
    connect(orientation_, &QAbstractButton::clicked, this, [this] { applyOrientation(true); });
    place_ = tool(QStringLiteral("Установить"),
                  QStringLiteral("Режим установки разделителей на эскизе"), 1);
    connect(place_, &QAbstractButton::clicked, this, &RightPanelDlg::togglePlacing);
    clear_ =
        tool(QStringLiteral("Очистить"), QStringLiteral("Удалить все разделители и материалы"), 2);
    clear_->setPicture(pictures::toolPicture(pictures::Tool::Clear, 22));
    connect(clear_, &QAbstractButton::clicked, this, &RightPanelDlg::clearSketch);

    rail_ = new PictureButton(this);
    rail_->setGeometry(kMargin - 4, kToolsTop, 101, 91);
    rail_->setFramed(true);
    nameControl(rail_, QStringLiteral("Вариант направляющей"),
                QStringLiteral("Сменить направляющую"));
    connect(rail_, &QAbstractButton::clicked, this, &RightPanelDlg::nextRail);
    frame_ = new PictureButton(this);
    frame_->setGeometry(112, kToolsTop, 101, 91);
    frame_->setFramed(true);
    nameControl(frame_, QStringLiteral("Вариант рамки"), QStringLiteral("Сменить профиль рамки"));
    connect(frame_, &QAbstractButton::clicked, this, &RightPanelDlg::nextFrame);
    // Captions over the two variant buttons, where the other systems have "Разделители".
    for (auto [button, text] : {std::pair{rail_, QStringLiteral("Направляющая")},
                                {frame_, QStringLiteral("Профиль рамки")}}) {
        auto* caption = new QLabel(text, this);
        style::makePanelLabel(caption);
        caption->setGeometry(button->x() + 4, kToolsTop - 20, button->width(), 18);
        variantCaptions_.push_back(caption);
    }
}

void RightPanelDlg::updateToolButtons() {
    if (const SplitterProfile* sp = project_.splitterProfile) {
        splitterButton_->setPicture(pictures::profilePicture(*sp));
        splitterButton_->setText(QString::fromStdString(sp->code));
    } else {
        splitterButton_->setPicture(pictures::missingPicture());
        splitterButton_->setText(QStringLiteral("Нет"));
    }
    // Read with the profile it shows, as the top panel's selection buttons are.
    splitterButton_->setAccessibleName(QStringLiteral("Профиль разделителя: ") +
                                       splitterButton_->text());
    place_->setPicture(pictures::toolPicture(
        project_.splitterMode ? pictures::Tool::CrosshairOn : pictures::Tool::Crosshair, 22));
    place_->setCheckable(true);
    place_->setChecked(project_.splitterMode);
}

void RightPanelDlg::updateVariantButtons() {
    const DSSystemGartis* g = gartisOf(project_.system);
    if (!g)
        return;
    for (auto [button, article, what] :
         {std::tuple{rail_, g->railVariant, QStringLiteral("Направляющая: ")},
          {frame_, g->frameVariant, QStringLiteral("Профиль рамки: ")}}) {
        if (article) {
            button->setPicture(pictures::profilePicture(*article));
            button->setText(QString::fromStdString(article->code));
        } else {
            button->setPicture(pictures::missingPicture());
            button->setText(QStringLiteral("Нет"));
        }
        button->setAccessibleName(what + button->text());
        // The code alone does not say which of the two the button changes.
        button->setToolTip(what + button->text() + QStringLiteral(" (нажмите, чтобы сменить)"));
    }
}

void RightPanelDlg::refreshLists() {
    updating_ = true;
    // Doors shown on the sketch.
    zoomList_->clear();
    zoomList_->addItem(QStringLiteral("Все"));
    for (int i = 1; i <= project_.doorCount; ++i)
        zoomList_->addItem(QString::number(i));
    const int zoom = project_.doors->zoomDoor + 1;
    zoomList_->setCurrentIndex(zoom >= 0 && zoom < zoomList_->count() ? zoom : 0);

    // Stock lengths of the handle profile: the first always, the others when they exist.
    stockList_->clear();
    if (const HandleProfile* h = project_.handleProfile) {
        // Each entry carries its choice number: a length of 0 leaves a gap in the list, not in
        // the numbering.
        stockList_->addItem(stockText(h->stockLength1), 1);
        for (auto [length, choice] : {std::pair{h->stockLength2, 2}, {h->stockLength3, 3}})
            if (length > 0)
                stockList_->addItem(stockText(length), choice);
        const int at = stockList_->findData(h->stockChoice);
        stockList_->setCurrentIndex(at >= 0 ? at : 0);
    } else {
        stockList_->addItem(stockText(0));
        stockList_->setCurrentIndex(-1);
    }

    fillRollerList();

    const DSSystemLoven* lv = lovenOf(project_.system);
    heightList_->setCurrentIndex(lv && lv->heightAdjust == -33 ? 1 : 0);
    const bool heightShown = page_ == SystemPage && lv && !lv->pivotMode;
    heightLabel_->setVisible(heightShown);
    heightList_->setVisible(heightShown);

    for (const auto& row : listRows_)
        fitDropDown(row.second);

    showToggle(dimensions_, project_.showDimensions);
    showToggle(placement_, project_.placementOnPick);
    updateToolButtons();
    updating_ = false;
}

bool RightPanelDlg::pivotApplies() const {
    return lovenOf(project_.system) && project_.doorCount <= 2;
}

void RightPanelDlg::fillRollerList() {
    DSSystem* system = project_.system;
    const std::vector<RollerKit*> kits = system->rollerKits();
    const DSSystemLoven* lv = lovenOf(system);
    const bool pivotOn = lv && lv->pivotMode;
    rollerList_->clear();
    int selected = -1;
    if (system->selectedRollerKit && !kits.empty()) {
        for (size_t k = 0; k < kits.size(); ++k) {
            rollerList_->addItem(QString::fromStdString(kits[k]->code));
            if (selected < 0 && kits[k]->code == system->selectedRollerKit->code)
                selected = static_cast<int>(k);
        }
    } else {
        rollerList_->addItem(standardEntry());
    }
    if (pivotApplies()) {
        rollerList_->addItem(pivotEntry());
        if (pivotOn)
            selected = rollerList_->count() - 1;
    }
    rollerList_->setCurrentIndex(std::max(selected, 0));
}

void RightPanelDlg::openDoorSize() {
    hub_.notify(Notify::PopupOpened);
    doorSize_->open();
}

void RightPanelDlg::zoomChosen(int item) {
    if (updating_ || item < 0)
        return;
    const int zoom = item - 1;
    if (zoom == project_.doors->zoomDoor)
        return;
    project_.doors->zoomDoor = zoom;
    project_.doors->changed = true;
    project_.doors->clearMaterialTargets();
    hub_.notify(Notify::ProjectChanged);
}

void RightPanelDlg::stockChosen(int item) {
    if (updating_ || item < 0)
        return;
    project_.setStockChoice(stockList_->itemData(item).toInt());
    hub_.notify(Notify::ProjectChanged);
}

void RightPanelDlg::rollerChosen(int item) {
    if (updating_ || item < 0)
        return;
    DSSystem* system = project_.system;
    QString text = rollerList_->itemText(item);
    if (text == standardEntry())
        text.clear();
    if (DSSystemLoven* lv = lovenOf(system)) {
        lv->choosePivotMode(*project_.doors, text == pivotEntry());
        project_.doors->resizeAllDoors = true;
        project_.doors->changed = true;
        const bool heightShown = page_ == SystemPage && !lv->pivotMode;
        heightLabel_->setVisible(heightShown);
        heightList_->setVisible(heightShown);
    }
    if (text.isEmpty()) {
        system->selectedRollerKit = nullptr;
    } else {
        // The pivot entry names no kit: the kit chosen before stays.
        const std::string code = text.toStdString();
        for (RollerKit* kit : system->rollerKits())
            if (kit->code == code) {
                system->selectedRollerKit = kit;
                break;
            }
    }
    project_.recalculate(false);
    hub_.notify(Notify::ProjectChanged);
}

void RightPanelDlg::heightChosen(int item) {
    if (updating_ || item < 0)
        return;
    DSSystemLoven* lv = lovenOf(project_.system);
    if (!lv)
        return;
    lv->chooseHeightAdjust(*project_.doors, heightList_->itemText(item).toStdString());
    project_.recalculate(false);
    hub_.notify(Notify::ProjectChanged);
}

void RightPanelDlg::toggleDimensions() {
    project_.showDimensions = !project_.showDimensions;
    project_.doors->changed = true;
    showToggle(dimensions_, project_.showDimensions);
    hub_.notify(Notify::ProjectChanged);
}

void RightPanelDlg::toggleSplitterPopup() {
    if (project_.system->splitterProfiles.empty())
        return;
    if (splitterPopup_->isVisible()) {
        splitterPopup_->hide();
        return;
    }
    splitterPopup_->refresh();
    if (project_.splitterProfile)
        splitterPopup_->markChoice(project_.splitterProfile->index);
    // To the left of the panel, 175 pixels below its top.
    QWidget* host = splitterPopup_->parentWidget();
    const QPoint topLeft = host && host != this ? mapTo(host, QPoint(0, 0)) : QPoint(0, 0);
    splitterPopup_->move(topLeft.x() - splitterPopup_->width(), topLeft.y() + kSplitterPopupTop);
    splitterPopup_->raise();
    splitterPopup_->show();
    splitterPopup_->focusChoice();
}

void RightPanelDlg::applyOrientation(bool toggle) {
    if (const SplitterProfile* sp = project_.splitterProfile) {
        switch (sp->splitterType) {
        case 1:
            project_.splitterVertical = false;
            break;
        case 2:
            project_.splitterVertical = true;
            break;
        default:
            if (toggle)
                project_.splitterVertical = !project_.splitterVertical;
            break;
        }
    }
    const bool vertical = project_.splitterVertical;
    orientation_->setPicture(pictures::toolPicture(
        vertical ? pictures::Tool::ArrowsVertical : pictures::Tool::ArrowsHorizontal, 22));
    orientation_->setText(vertical ? QStringLiteral("вертикальный")
                                   : QStringLiteral("горизонтальный"));
    orientation_->setAccessibleName(QStringLiteral("Направление новых разделителей: ") +
                                    orientation_->text());
}

void RightPanelDlg::togglePlacing() {
    project_.splitterMode = project_.splitterProfile ? !project_.splitterMode : false;
    updateToolButtons();
}

void RightPanelDlg::clearSketch() {
    if (!dialogs::confirm(window(),
                          QStringLiteral("Очистить эскиз, удалив все разделители и материалы?"),
                          QStringLiteral("Подтверждение")))
        return;
    project_.resetDoors();
    hub_.notify(Notify::ProjectChanged);
}

void RightPanelDlg::nextRail() {
    if (DSSystemGartis* g = gartisOf(project_.system)) {
        g->nextRailVariant();
        variantChanged();
    }
}

void RightPanelDlg::nextFrame() {
    if (DSSystemGartis* g = gartisOf(project_.system)) {
        g->nextFrameVariant();
        variantChanged();
        hub_.notify(Notify::CatalogSelection);
    }
}

void RightPanelDlg::variantChanged() {
    updateVariantButtons();
    // Every door is sized anew for the other rail or frame.
    project_.doors->changed = true;
    project_.doors->resizeAllDoors = true;
    project_.recalculate(false);
    hub_.notify(Notify::ProjectChanged);
}
