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

DSSystemLoven* RightPanelDlg::lovenOf(DSSystem* s) {
    return s->systemKind == SystemLoven ? dynamic_cast<DSSystemLoven*>(s) : nullptr;
}

DSSystemGartis* RightPanelDlg::gartisOf(DSSystem* s) {
    return s->systemKind == SystemGartis ? dynamic_cast<DSSystemGartis*>(s) : nullptr;
}

void RightPanelDlg::nameControl(QWidget* w, const QString& objectName, const QString& accessible) {
    w->setObjectName(objectName);
    w->setAccessibleName(accessible);
}

RightPanelDlg::RightPanelDlg(Project& project, NotifyHub& hub, QWidget* parent)
    : QWidget(parent), project_(project), hub_(hub) {
    nameControl(this, QStringLiteral("Правая панель"),
                QStringLiteral("Панель системы и материалов"));
    setFont(style::boldFont());
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(kWidth, 600);

    auto pageButton = [this](const QString& text, int x, Page p) {
        auto* b = new QPushButton(text, this);
        b->setGeometry(x, 0, kWidth / 2, 25);
        b->setCheckable(true);
        // Reached with Tab and pressed with Space; a click does not take the focus from a field.
        b->setFocusPolicy(Qt::TabFocus);
        nameControl(b, text, QStringLiteral("Страница ") + text);
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

QComboBox* RightPanelDlg::addList(const QString& label, const QString& accessible, int y,
                                  QLabel** labelOut) {
    auto* l = new QLabel(label, this);
    style::makePanelLabel(l);
    auto* list = new QComboBox(this);
    // The lists stand in one column right of the widest label (alignLists), as wide as the
    // panel leaves them; the drop-down shows whole entries even when wider (fitDropDown).
    l->setGeometry(kMargin, y, 0, 24);
    list->setGeometry(kMargin, y, 0, 24);
    nameControl(list, label, accessible);
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
    nameControl(b, text, accessible);
    return b;
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
        // The splitter profile choice must not change the project under the open popup.
        splitterPopup_->hide();
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
    if (page_ != SystemPage) {
        splitterPopup_->hide();
        // "Установить" is on the system page only: a click on the sketch meant to choose an
        // insert for a material must not add a splitter.
        project_.splitterMode = false;
    }
    refresh();
}

void RightPanelDlg::refresh() {
    const bool systemPage = page_ == SystemPage;
    for (QWidget* w : systemWidgets_)
        w->setVisible(systemPage);
    for (QWidget* w : fillingWidgets_)
        w->setVisible(!systemPage);
    DSSystem* system = project_.system;
    const DSSystemLoven* lv = lovenOf(system);
    const bool heightShown = systemPage && lv && !lv->pivotMode;
    heightLabel_->setVisible(heightShown);
    heightList_->setVisible(heightShown);
    const bool variants = gartisOf(system) != nullptr;
    for (QWidget* w :
         {static_cast<QWidget*>(rail_), static_cast<QWidget*>(frame_),
          static_cast<QWidget*>(variantCaptions_[0]), static_cast<QWidget*>(variantCaptions_[1])})
        w->setVisible(systemPage && variants);
    for (PictureButton* b : {splitterButton_, orientation_, place_, clear_})
        b->setVisible(systemPage && !variants);
    toolsHeading_->setVisible(systemPage && !variants);
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

void RightPanelDlg::showToggle(PictureButton* toggle, bool on) {
    toggle->setPicture(pictures::checkBoxPicture(on));
    toggle->setChecked(on);
}
