#include "ui/catalog/RightPanelDlg.h"

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
#include "ui/Dialogs.h"
#include "ui/Style.h"
#include "ui/catalog/CThumbListCtrl.h"
#include "ui/catalog/DlgZoomMaterial.h"
#include "ui/catalog/PictureButton.h"
#include "ui/catalog/Pictures.h"
#include "ui/sketch/DlgDoorSize.h"
#include "ui/sketch/DlgSplitter.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include <algorithm>
#include <tuple>

namespace {

constexpr int kWidth = 280;
constexpr int kMargin = 10;
constexpr int kSplitterPopupTop = 175;
constexpr int kToolsTop = 262;
constexpr int kLabelGap = 4;

DSSystemLoven* loven(DSSystem* s) {
    return s->systemKind == SystemLoven ? dynamic_cast<DSSystemLoven*>(s) : nullptr;
}

DSSystemGartis* gartis(DSSystem* s) {
    return s->systemKind == SystemGartis ? dynamic_cast<DSSystemGartis*>(s) : nullptr;
}

QString stockText(int32_t length) {
    return QString::fromStdString(text::format("%1.1f м", length / 10000.0));
}

void name(QWidget* w, const QString& objectName, const QString& accessible) {
    w->setObjectName(objectName);
    w->setAccessibleName(accessible);
}

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

} // namespace

RightPanelDlg::RightPanelDlg(Project& project, NotifyHub& hub, QWidget* parent)
    : QWidget(parent), project_(project), hub_(hub) {
    name(this, QStringLiteral("Правая панель"), QStringLiteral("Панель системы и материалов"));
    setFont(style::boldFont());
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(kWidth, 600);

    auto pageButton = [this](const QString& text, int x, Page p) {
        auto* b = new QPushButton(text, this);
        b->setGeometry(x, 0, kWidth / 2, 25);
        b->setCheckable(true);
        // Reached with Tab and pressed with Space; a click does not take the focus from a field.
        b->setFocusPolicy(Qt::TabFocus);
        name(b, text, QStringLiteral("Страница ") + text);
        connect(b, &QPushButton::clicked, this, [this, p] { showPage(p); });
        return b;
    };
    systemTab_ = pageButton(QStringLiteral("Система"), 0, SystemPage);
    fillingTab_ = pageButton(QStringLiteral("Наполнение"), kWidth / 2, FillingPage);
    buildSystemPage();
    buildFillingPage();

    // The popups float in the main window: a child of this panel would be disabled with it.
    QWidget* host = parent ? parent : this;
    doorSize_ = new DlgDoorSize(project_, hub_, host);
    zoom_ = new DlgZoomMaterial(project_, hub_, host);
    splitterPopup_ = new DlgSplitter(project_, hub_, host);

    if (groupList_->count() > 0)
        groupChosen(0);
    refreshLists();
    showPage(SystemPage);
}

RightPanelDlg::~RightPanelDlg() {
    delete doorSize_;
    delete zoom_;
    delete splitterPopup_;
}

QString RightPanelDlg::pivotEntry() {
    return QStringLiteral("пивотный мех.");
}

QString RightPanelDlg::standardEntry() {
    return QStringLiteral("стандартные");
}

QComboBox* RightPanelDlg::addList(const QString& label, const QString& accessible, int y,
                                  QLabel** labelOut) {
    auto* l = new QLabel(label, this);
    style::makePanelLabel(l);
    auto* list = new QComboBox(this);
    // The lists stand in one column right of the widest label (alignLists), as wide as the
    // panel leaves them; the drop-down shows whole entries even when wider (fitDropDown).
    l->setGeometry(kMargin, y, 0, 24);
    list->setGeometry(kMargin, y, 0, 24);
    name(list, label, accessible);
    l->setBuddy(list);
    systemWidgets_.push_back(l);
    systemWidgets_.push_back(list);
    listRows_.emplace_back(l, list);
    if (labelOut)
        *labelOut = l;
    return list;
}

void RightPanelDlg::alignLists() {
    int widest = 0;
    for (const auto& [label, list] : listRows_)
        widest = std::max(widest, label->fontMetrics().horizontalAdvance(label->text()));
    const int left = kMargin + widest + kLabelGap;
    for (const auto& [label, list] : listRows_) {
        label->setGeometry(kMargin, label->y(), widest, label->height());
        // Flush with the right edge of the splitter tool buttons below.
        list->setGeometry(left, list->y(), kWidth - kMargin + 4 - left, list->height());
    }
}

void RightPanelDlg::fitDropDown(QComboBox* list) {
    QAbstractItemView* view = list->view();
    view->setMinimumWidth(view->sizeHintForColumn(0) + 2 * view->frameWidth() + 8);
}

PictureButton* RightPanelDlg::addToggle(const QString& text, const QString& accessible, int y) {
    auto* b = new PictureButton(pictures::checkBoxPicture(false), text, this);
    b->setLayout(PictureButton::Layout::PictureLeft);
    b->setFont(style::labelFont());
    b->setGeometry(kMargin - 4, y, kWidth - 2 * kMargin + 8, 26);
    b->setToggle(true);
    name(b, text, accessible);
    return b;
}

void RightPanelDlg::buildSystemPage() {
    doorSizeButton_ = new QPushButton(QStringLiteral("Параметры дверей"), this);
    doorSizeButton_->setGeometry(kMargin, 34, kWidth - 2 * kMargin, 28);
    name(doorSizeButton_, QStringLiteral("Параметры дверей"),
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

    auto* tools = new QLabel(QStringLiteral("Разделители"), this);
    style::makePanelLabel(tools);
    tools->setGeometry(kMargin, kToolsTop - 20, 150, 18);
    systemWidgets_.push_back(tools);

    splitterButton_ = new PictureButton(this);
    splitterButton_->setGeometry(kMargin - 4, kToolsTop, 101, 91);
    splitterButton_->setFramed(true);
    name(splitterButton_, QStringLiteral("Профиль разделителя"),
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
        name(b, text, accessible);
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
    name(rail_, QStringLiteral("Вариант направляющей"), QStringLiteral("Сменить направляющую"));
    connect(rail_, &QAbstractButton::clicked, this, &RightPanelDlg::nextRail);
    frame_ = new PictureButton(this);
    frame_->setGeometry(112, kToolsTop, 101, 91);
    frame_->setFramed(true);
    name(frame_, QStringLiteral("Вариант рамки"), QStringLiteral("Сменить профиль рамки"));
    connect(frame_, &QAbstractButton::clicked, this, &RightPanelDlg::nextFrame);
}

void RightPanelDlg::buildFillingPage() {
    auto* l = new QLabel(QStringLiteral("Группа материалов"), this);
    style::makePanelLabel(l);
    l->setGeometry(kMargin, 32, 200, 18);
    fillingWidgets_.push_back(l);
    groupList_ = new QComboBox(this);
    groupList_->setGeometry(kMargin, 52, kWidth - 2 * kMargin, 24);
    name(groupList_, QStringLiteral("Группа материалов"), QStringLiteral("Группа материалов"));
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
    name(thumbs_, QStringLiteral("Материалы"), QStringLiteral("Материалы группы"));
    connect(thumbs_, &CThumbListCtrl::thumbnailClicked, this, &RightPanelDlg::thumbnailClicked);
    fillingWidgets_.push_back(thumbs_);
}

void RightPanelDlg::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), style::panelBrush());
    p.setPen(style::panelLine());
    p.drawLine(0, 0, 0, height());
}

void RightPanelDlg::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    thumbs_->setGeometry(4, 114, width() - 8, std::max(0, height() - 118));
}

void RightPanelDlg::receive(Notify n) {
    switch (n) {
    case Notify::CatalogSelection:
        refresh();
        break;
    case Notify::ProjectChanged:
        refreshLists();
        break;
    case Notify::SketchPress:
        thumbs_->clearSelection();
        thumbs_->setCurrentItem(nullptr);
        break;
    case Notify::PopupOpened:
        setEnabled(false);
        break;
    case Notify::PopupClosed:
        setEnabled(true);
        break;
    default:
        break;
    }
}

void RightPanelDlg::showPage(Page page) {
    page_ = page;
    if (page_ != SystemPage)
        splitterPopup_->hide();
    refresh();
}

void RightPanelDlg::refresh() {
    const bool systemPage = page_ == SystemPage;
    for (QWidget* w : systemWidgets_)
        w->setVisible(systemPage);
    for (QWidget* w : fillingWidgets_)
        w->setVisible(!systemPage);
    DSSystem* system = project_.system;
    const DSSystemLoven* lv = loven(system);
    const bool heightShown = systemPage && lv && !lv->pivotMode;
    heightLabel_->setVisible(heightShown);
    heightList_->setVisible(heightShown);
    const bool variants = gartis(system) != nullptr;
    for (QWidget* w : {static_cast<QWidget*>(rail_), static_cast<QWidget*>(frame_)})
        w->setVisible(systemPage && variants);
    for (PictureButton* b : {splitterButton_, orientation_, place_, clear_})
        b->setVisible(systemPage && !variants);
    if (variants) {
        updateVariantButtons();
    } else {
        updateToolButtons();
        applyOrientation(false);
    }
    splitterPopup_->refresh();

    // The pressed page button and the other differ in background and text colour.
    for (QPushButton* b : {systemTab_, fillingTab_}) {
        const bool pressed = (b == systemTab_) == systemPage;
        b->setChecked(pressed);
        b->setStyleSheet(pressed ? QStringLiteral("QPushButton{background:#f7f5f0;color:#ad2929;"
                                                  "border:1px solid #d6c5b5;border-bottom:none;}")
                                 : QStringLiteral("QPushButton{background:#ddd3c6;color:#4c4c4c;"
                                                  "border:1px solid #d6c5b5;}"));
    }
    update();
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
    const DSSystemGartis* g = gartis(project_.system);
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
        stockList_->addItem(stockText(h->stockLength1));
        for (int32_t length : {h->stockLength2, h->stockLength3})
            if (length > 0)
                stockList_->addItem(stockText(length));
        const int choice = h->stockChoice - 1;
        stockList_->setCurrentIndex(choice >= 0 && choice < stockList_->count() ? choice : 0);
    } else {
        stockList_->addItem(stockText(0));
        stockList_->setCurrentIndex(-1);
    }

    fillRollerList();

    const DSSystemLoven* lv = loven(project_.system);
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

void RightPanelDlg::showToggle(PictureButton* toggle, bool on) {
    toggle->setPicture(pictures::checkBoxPicture(on));
    toggle->setChecked(on);
}

bool RightPanelDlg::pivotApplies() const {
    return loven(project_.system) && project_.doorCount <= 2;
}

void RightPanelDlg::fillRollerList() {
    DSSystem* system = project_.system;
    const std::vector<RollerKit*> kits = system->rollerKits();
    const DSSystemLoven* lv = loven(system);
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
    project_.setStockChoice(item + 1);
    hub_.notify(Notify::ProjectChanged);
}

void RightPanelDlg::rollerChosen(int item) {
    if (updating_ || item < 0)
        return;
    DSSystem* system = project_.system;
    QString text = rollerList_->itemText(item);
    if (text == standardEntry())
        text.clear();
    if (DSSystemLoven* lv = loven(system)) {
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
    DSSystemLoven* lv = loven(project_.system);
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
    if (DSSystemGartis* g = gartis(project_.system)) {
        g->nextRailVariant();
        variantChanged();
    }
}

void RightPanelDlg::nextFrame() {
    if (DSSystemGartis* g = gartis(project_.system)) {
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
    const Material* material =
        group ? group->findByKey(thumbs_->label(item).toStdString()) : nullptr;
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
