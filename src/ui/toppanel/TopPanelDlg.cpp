#include "ui/toppanel/TopPanelDlg.h"

#include "calc/DSSystem.h"
#include "calc/systems/DSSystemMeloza.h"
#include "catalog/Catalog.h"
#include "model/OrderInfo.h"
#include "model/Project.h"
#include "model/SketchFile.h"
#include "ui/printing/DlgPrint.h"
#include "ui/shared/Dialogs.h"
#include "ui/shared/PictureButton.h"
#include "ui/shared/PictureCache.h"
#include "ui/shared/Pictures.h"
#include "ui/shared/ProjectCommands.h"
#include "ui/shared/Style.h"
#include "ui/toppanel/DlgColors.h"
#include "ui/toppanel/DlgHands.h"
#include "ui/toppanel/DlgSystems.h"
#include "ui/toppanel/ProjectMenu.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QShortcut>
#include <QToolButton>

#include <algorithm>
#include <filesystem>

namespace {

// The system with a mounting mode ("Монтаж внутри"), or null.
DSSystemMeloza* mountingSystem(DSSystem* s) {
    return dynamic_cast<DSSystemMeloza*>(s);
}
constexpr int kMinPlinthMm = 54;
constexpr int kMaxPlinthMm = 2000;

// Whole millimetres typed into a field, in 0.1 mm. Text that is not a number reads 0; the
// product saturates instead of overflowing.
int32_t typedTenths(const QLineEdit* edit) {
    const int64_t mm = leadingInteger(edit->text().toStdString());
    return static_cast<int32_t>(std::clamp<int64_t>(mm * 10, INT32_MIN, INT32_MAX));
}

bool isEnterOrEscape(const QKeyEvent* e) {
    return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter || e->key() == Qt::Key_Escape;
}

} // namespace

TopPanelDlg::TopPanelDlg(Project& project, NotifyHub& hub, QWidget* parent)
    : QWidget(parent), project_(project), hub_(hub) {
    setFont(style::boldFont());
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(kWidth, kHeight);
    buildControls();

    QWidget* host = parent ? parent : this;
    systems_ = new DlgSystems(project_, hub_, host);
    hands_ = new DlgHands(project_, hub_, host);
    colors_ = new DlgColors(project_, hub_, host);
    print_ = new DlgPrint(project_, hub_, DlgPrint::PrintMode, host);
    save_ = new DlgPrint(project_, hub_, DlgPrint::SaveMode, host);

    // The shortcuts of the project commands work anywhere in the main window.
    auto addShortcut = [this](const QKeySequence& keys, void (TopPanelDlg::*command)()) {
        auto* sc = new QShortcut(keys, this);
        sc->setContext(Qt::WindowShortcut);
        connect(sc, &QShortcut::activated, this, [this, command] {
            if (isEnabled())
                (this->*command)();
        });
    };
    addShortcut(QKeySequence(Qt::CTRL | Qt::Key_O), &TopPanelDlg::openSketch);
    addShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), &TopPanelDlg::saveSketch);
    addShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), &TopPanelDlg::saveSketchAs);
    addShortcut(QKeySequence(Qt::CTRL | Qt::Key_N), &TopPanelDlg::newProject);
    addShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O), &TopPanelDlg::showProjectMenu);
    addShortcut(QKeySequence(Qt::CTRL | Qt::Key_P), &TopPanelDlg::showPrint);
    auto* journalKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_J), this);
    journalKey->setContext(Qt::WindowShortcut);
    connect(journalKey, &QShortcut::activated, this, [this] {
        if (isEnabled())
            emit journalRequested();
    });
    auto* workshopKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_R), this);
    workshopKey->setContext(Qt::WindowShortcut);
    connect(workshopKey, &QShortcut::activated, this, [this] {
        if (isEnabled())
            emit workshopRequested();
    });

    refresh();
}

TopPanelDlg::~TopPanelDlg() {
    // The panel owns its popups even though they float in the main window.
    delete systems_;
    delete hands_;
    delete colors_;
    delete print_;
    delete save_;
}

QLineEdit* TopPanelDlg::makeField(Field f, const QString& label, int x, int y, QLabel** labelOut) {
    // Labels of the first column are wider ("Ширина проема") than those of the second.
    const int labelWidth = x < 500 ? 94 : 90;
    auto* l = new QLabel(label, this);
    style::makePanelLabel(l);
    l->setGeometry(x, y, labelWidth, 22);
    auto* e = new QLineEdit(this);
    e->setGeometry(x + labelWidth + 2, y, 56, 22);
    e->setMaxLength(7);
    e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    e->installEventFilter(this);
    auto* unit = new QLabel(QStringLiteral("мм"), this);
    style::makePanelLabel(unit);
    unit->setGeometry(x + labelWidth + 62, y, 22, 22);
    connect(e, &QLineEdit::textChanged, this, [this, f] { fieldChanged(f); });
    l->setBuddy(e);
    e->setAccessibleName(label + QStringLiteral(", мм"));
    if (labelOut)
        *labelOut = l;
    return e;
}

void TopPanelDlg::buildControls() {
    auto header = [this](const QString& text, int x, int w) {
        auto* l = new QLabel(text, this);
        style::makePanelLabel(l);
        l->setGeometry(x, 3, w, 18);
        return l;
    };

    // Selections.
    header(QStringLiteral("Выбрать:"), 8, 100);
    systemButton_ = new PictureButton(this);
    handleButton_ = new PictureButton(this);
    colorButton_ = new PictureButton(this);
    int x = 6;
    const char* const what[] = {"систему:", "ручку:", "цвет:"};
    int k = 0;
    for (PictureButton* b : {systemButton_, handleButton_, colorButton_}) {
        auto* l = new QLabel(QString::fromUtf8(what[k++]), this);
        style::makePanelLabel(l);
        l->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
        l->setGeometry(x, 21, 101, 14);
        b->setGeometry(x, 36, 101, 72);
        b->setCaptionLines(1);
        x += 105;
    }
    systemButton_->setToolTip(QStringLiteral("Система раздвижных дверей"));
    handleButton_->setToolTip(QStringLiteral("Профиль ручки"));
    colorButton_->setToolTip(QStringLiteral("Цвет профилей"));
    connect(systemButton_, &QAbstractButton::clicked, this, [this] { togglePopup(systems_); });
    connect(handleButton_, &QAbstractButton::clicked, this, [this] {
        if (project_.handleProfile)
            togglePopup(hands_);
    });
    connect(colorButton_, &QAbstractButton::clicked, this, [this] {
        if (project_.color)
            togglePopup(colors_);
    });

    // Sizes.
    header(QStringLiteral("Параметры:"), 336, 100);
    width_ = makeField(WidthField, QStringLiteral("Ширина проема"), 336, 24);
    height_ = makeField(HeightField, QStringLiteral("Высота проема"), 336, 52, &heightLabel_);
    height_->setToolTip(QStringLiteral("Параметр указывается вместе с высотой цоколя"));
    heightLabel_->setToolTip(height_->toolTip());
    QLabel* plinthLabel = nullptr;
    plinth_ = makeField(PlinthField, QStringLiteral("Высота цоколя"), 528, 24, &plinthLabel);
    plinth_->setToolTip(QStringLiteral("Размер детали от пола до дна шкафа"));
    plinthLabel->setToolTip(plinth_->toolTip());
    thickness_ = makeField(ThicknessField, QStringLiteral("Толщина ЛДСП"), 528, 52);

    auto* countLabel = new QLabel(QStringLiteral("Кол-во дверей"), this);
    style::makePanelLabel(countLabel);
    countLabel->setGeometry(336, 80, 94, 22);
    doorCount_ = new QComboBox(this);
    doorCount_->setGeometry(432, 80, 56, 22);
    doorCount_->setToolTip(QStringLiteral("Текущее количество дверей в проекте"));
    countLabel->setToolTip(doorCount_->toolTip());
    countLabel->setBuddy(doorCount_);
    doorCount_->setAccessibleName(countLabel->text());
    connect(doorCount_, &QComboBox::currentIndexChanged, this, &TopPanelDlg::doorCountChosen);

    option_ = new PictureButton(this);
    option_->setLayout(PictureButton::Layout::PictureLeft);
    option_->setFont(style::labelFont());
    option_->setGeometry(524, 78, 184, 26);
    connect(option_, &QAbstractButton::clicked, this, &TopPanelDlg::optionClicked);

    buildProjectGroup();
}

void TopPanelDlg::buildProjectGroup() {
    auto* heading = new QLabel(QStringLiteral("Проект:"), this);
    style::makePanelLabel(heading);
    heading->setGeometry(724, 3, 100, 18);
    const struct {
        const char* text;
        pictures::Command picture;
        const char* tip;
        void (TopPanelDlg::*command)();
    } commands[] = {
        {"Открыть", pictures::Command::Open, "Открыть эскиз (Ctrl+O)", &TopPanelDlg::openSketch},
        {"Сохранить", pictures::Command::Save, "Сохранить эскиз (Ctrl+S)",
         &TopPanelDlg::saveSketch},
        {"Сохранить в xml", pictures::Command::SaveXml, "Сохранить расчет в xml и для 1С",
         &TopPanelDlg::showSaveXml},
        {"Печать", pictures::Command::Print, "Печать документов (Ctrl+P)", &TopPanelDlg::showPrint},
    };
    // Two rows of commands with pictures small enough to leave a row for the windows' buttons
    // under them.
    constexpr int kPicture = 18;
    constexpr int kTop = 22;
    constexpr int kRow = kPicture + 10; // a command's size hint: its picture and a margin
    for (int k = 0; k < 4; ++k) {
        auto* b = new PictureButton(pictures::commandPicture(commands[k].picture, kPicture),
                                    QString::fromUtf8(commands[k].text), this);
        b->setLayout(PictureButton::Layout::PictureLeft);
        b->setFont(style::labelFont());
        b->setToolTip(QString::fromUtf8(commands[k].tip));
        b->setGeometry(k % 2 ? 862 : 720, kTop + (k / 2) * (kRow + 2), k % 2 ? 104 : 140,
                       std::max(kRow, b->sizeHint().height()));
        const auto command = commands[k].command;
        connect(b, &QAbstractButton::clicked, this, [this, command] { (this->*command)(); });
        commands_[k] = b;
    }
    // The drop-down part of "Открыть": new project, save as and the recent files.
    commands_[0]->resize(118, commands_[0]->height());
    projectMenu_ = new ProjectMenu(hub_, this);
    menuButton_ = new QToolButton(this);
    menuButton_->setArrowType(Qt::DownArrow);
    menuButton_->setAutoRaise(true);
    menuButton_->setGeometry(838, kTop, 22, commands_[0]->height());
    menuButton_->setFocusPolicy(Qt::StrongFocus);
    menuButton_->setAccessibleName(QStringLiteral("Недавние файлы и команды проекта"));
    menuButton_->setToolTip(QStringLiteral("Новый заказ, сохранить как, недавние файлы "
                                           "(Ctrl+Shift+O)"));
    connect(menuButton_, &QToolButton::clicked, this, &TopPanelDlg::showProjectMenu);

    // The program's other windows.
    auto windowButton = [this](const QString& text, const QString& tip) {
        auto* b = new PictureButton(this);
        b->setText(text);
        b->setLayout(PictureButton::Layout::PictureLeft);
        b->setFramed(true);
        b->setFont(style::labelFont());
        b->setToolTip(tip);
        b->setAccessibleName(text);
        return b;
    };
    journal_ = windowButton(QStringLiteral("Журнал заказов"),
                            QStringLiteral("Журнал оформленных заказов (Ctrl+J)"));
    connect(journal_, &QAbstractButton::clicked, this, &TopPanelDlg::journalRequested);
    workshop_ = windowButton(QStringLiteral("Производство"),
                             QStringLiteral("Производство: раскрой по списку деталей (Ctrl+R)"));
    connect(workshop_, &QAbstractButton::clicked, this, &TopPanelDlg::workshopRequested);
    layoutWindowButtons();
}

QRect TopPanelDlg::projectGroup() {
    // Right of the group's dividing line, above the panel's bottom line.
    return QRect(716, 0, kWidth - 716, kHeight - 1);
}

void TopPanelDlg::layoutWindowButtons() {
    const QRect group = projectGroup();
    const int top = commands_[2]->geometry().bottom() + 3;
    int x = 720;
    for (PictureButton* b : {journal_, workshop_}) {
        // The caption with the margins the button paints around it.
        const int w = QFontMetrics(b->font()).horizontalAdvance(b->text()) + 16;
        const int h = b->sizeHint().height();
        b->setGeometry(x, std::min(top, group.bottom() - h), w, h);
        x += w + 4;
    }
}

void TopPanelDlg::showProjectMenu() {
    projectMenu_->popup(
        menuButton_->mapToGlobal(QPoint(-commands_[0]->width(), menuButton_->height())));
    // The keyboard starts on the first entry.
    if (!projectMenu_->actions().isEmpty())
        projectMenu_->setActiveAction(projectMenu_->actions().constFirst());
}

void TopPanelDlg::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), style::panelBrush());
    p.setPen(style::panelLine());
    p.drawLine(0, height() - 1, width(), height() - 1);
    for (int x : {324, 714})
        p.drawLine(x, 8, x, height() - 9);
}

void TopPanelDlg::receive(Notify n) {
    if (n == Notify::CatalogSelection)
        refresh();
    else if (n == Notify::PopupOpened || n == Notify::PopupClosed) {
        // A selection left open under a popup would change the project the popup is about.
        if (n == Notify::PopupOpened)
            hidePopups();
        setEnabled(n == Notify::PopupClosed);
    }
}

void TopPanelDlg::refresh() {
    DSSystem* system = project_.system;
    // Step 1: the three selection buttons.
    systemButton_->setPicture(pictures::systemPicture(system->index));
    systemButton_->setText(QString::fromStdString(system->code));
    if (project_.handleProfile) {
        handleButton_->setPicture(pictures::profilePicture(*project_.handleProfile));
        handleButton_->setText(QString::fromStdString(project_.handleProfile->code));
    } else {
        handleButton_->setPicture(pictures::missingPicture());
        handleButton_->setText(QStringLiteral("Нет"));
    }
    if (project_.color) {
        colorButton_->setPicture(pictures::colorSwatch(project_.color->rgb));
        colorButton_->setText(QString::fromStdString(project_.color->code));
    } else {
        colorButton_->setPicture(pictures::missingPicture());
        colorButton_->setText(QStringLiteral("Нет"));
    }

    systemButton_->setAccessibleName(QStringLiteral("Система: ") + systemButton_->text());
    handleButton_->setAccessibleName(QStringLiteral("Ручка: ") + handleButton_->text());
    colorButton_->setAccessibleName(QStringLiteral("Цвет: ") + colorButton_->text());

    // Steps 2 and 3: the sizes, with the cabinet fields only in cabinet mode.
    updating_ = true;
    const bool cabinet = system->cabinetMode != 0;
    plinth_->setEnabled(cabinet);
    thickness_->setEnabled(cabinet);
    heightLabel_->setText(cabinet ? QStringLiteral("Высота шкафа")
                                  : QStringLiteral("Высота проема"));
    height_->setAccessibleName(heightLabel_->text() + QStringLiteral(", мм"));
    width_->setText(QString::number(project_.openingWidth / 10));
    height_->setText(QString::number(project_.height / 10));
    if (cabinet) {
        plinth_->setText(QString::number(project_.plinthHeight / 10));
        thickness_->setText(QString::number(project_.chipboardThickness / 10));
    } else {
        plinth_->clear();
        thickness_->clear();
    }

    // Step 4: the option toggle.
    refreshOption();

    // Step 5: the door count list.
    QStringList items;
    const DSSystemMeloza* meloza = mountingSystem(system);
    if (meloza && meloza->mountingMode == 1)
        items << QStringLiteral("1") << QStringLiteral("2") << QStringLiteral("4");
    else
        for (int i = 1; i <= system->maxDoors(); ++i)
            items << QString::number(i);
    doorCount_->clear();
    doorCount_->addItems(items);
    project_.setDoorCount(system->clampDoorCount(project_.doorCount));
    doorCount_->setCurrentIndex(std::min<int>(project_.doorCount, static_cast<int>(items.size())) -
                                1);

    // Step 6.
    updating_ = false;
    hub_.notify(Notify::DiscountChanged);
    hands_->onCatalogSelection();
    colors_->onCatalogSelection();
    update();
}

void TopPanelDlg::refreshOption() {
    DSSystem* system = project_.system;
    bool on = false;
    if (const DSSystemMeloza* meloza = mountingSystem(system)) {
        option_->setText(QStringLiteral("Монтаж внутри"));
        option_->setToolTip(QStringLiteral("Монтаж дверей внутри проема"));
        on = meloza->mountingMode == 0;
        option_->show();
    } else if (system->hasEdgeOption) {
        option_->setText(QStringLiteral("По краям TL13"));
        option_->setToolTip(QStringLiteral("Профиль TL13 по верхнему и нижнему краю двери"));
        on = system->edgeOption != 0;
        option_->show();
    } else {
        option_->hide();
    }
    option_->setPicture(pictures::checkBoxPicture(on));
    option_->setAccessibleName(option_->text().isEmpty() ? QStringLiteral("Параметр системы")
                                                         : option_->text());
    option_->setAccessibleDescription(
        option_->toolTip() + (on ? QStringLiteral(": включено") : QStringLiteral(": выключено")));
}

QLineEdit* TopPanelDlg::field(Field f) const {
    switch (f) {
    case WidthField:
        return width_;
    case HeightField:
        return height_;
    case PlinthField:
        return plinth_;
    case ThicknessField:
        return thickness_;
    }
    return width_;
}

int32_t TopPanelDlg::projectValue(Field f) const {
    switch (f) {
    case WidthField:
        return project_.openingWidth;
    case HeightField:
        return project_.height;
    case PlinthField:
        return project_.plinthHeight;
    case ThicknessField:
        return project_.chipboardThickness;
    }
    return 0;
}

void TopPanelDlg::fieldChanged(Field f) {
    if (updating_)
        return;
    const int32_t value = typedTenths(field(f));
    switch (f) {
    case WidthField:
        project_.setOpeningWidth(value);
        break;
    case HeightField:
        project_.setHeight(value);
        break;
    case PlinthField:
        if (value >= kMinPlinthMm * 10 && value <= kMaxPlinthMm * 10 && value <= project_.height)
            project_.setPlinthHeight(value);
        break;
    case ThicknessField:
        project_.setChipboardThickness(value);
        break;
    }
    hub_.notify(Notify::ProjectChanged);
}

void TopPanelDlg::fieldLeft(Field f) {
    QLineEdit* e = field(f);
    if (!e->isEnabled())
        return;
    if (typedTenths(e) != projectValue(f)) {
        updating_ = true;
        e->setText(QString::number(projectValue(f) / 10));
        updating_ = false;
    }
}

bool TopPanelDlg::eventFilter(QObject* watched, QEvent* event) {
    for (Field f : {WidthField, HeightField, PlinthField, ThicknessField}) {
        if (watched != field(f))
            continue;
        if (event->type() == QEvent::FocusOut) {
            fieldLeft(f);
        } else if (event->type() == QEvent::KeyPress &&
                   isEnterOrEscape(static_cast<QKeyEvent*>(event))) {
            // Enter and Escape never close the window: the focus goes to the main window, which
            // makes the field show the project's value.
            window()->setFocus();
            fieldLeft(f);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TopPanelDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape)
        hidePopups();
    if (isEnterOrEscape(event)) {
        window()->setFocus();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TopPanelDlg::doorCountChosen(int item) {
    if (updating_ || item < 0)
        return;
    const int n = doorCount_->itemText(item).toInt();
    project_.setDoorCount(n);
    project_.doors->clearMaterialTargets();
    hub_.notify(Notify::ProjectChanged);
}

void TopPanelDlg::optionClicked() {
    if (mountingSystem(project_.system)) {
        hands_->hide();
        project_.toggleMountingMode();
        hub_.notify(Notify::CatalogSelection);
        hub_.notify(Notify::ProjectChanged);
    } else if (project_.system->hasEdgeOption) {
        project_.toggleEdgeOption();
        refreshOption();
        hub_.notify(Notify::ProjectChanged);
    }
}

void TopPanelDlg::hidePopups() {
    for (SelectionPopup* p : std::initializer_list<SelectionPopup*>{systems_, hands_, colors_})
        p->hide();
}

void TopPanelDlg::togglePopup(SelectionPopup* popup) {
    const bool show = !popup->isVisible();
    hidePopups();
    if (!show)
        return;
    // The project's current choice is drawn pressed.
    if (popup == systems_)
        popup->markChoice(project_.system->index);
    else if (popup == hands_)
        popup->markChoice(project_.handleProfile ? project_.handleProfile->index : -1);
    else
        popup->markChoice(project_.color ? project_.color->index : -1);
    // Directly below the panel's left edge.
    QWidget* host = popup->parentWidget();
    const QPoint below =
        host && host != this ? mapTo(host, QPoint(0, height())) : QPoint(0, height());
    popup->move(below);
    popup->raise();
    popup->show();
    popup->focusChoice();
}

void TopPanelDlg::openSketch() {
    if (ProjectCommands* commands = hub_.commands()) {
        commands->openWithDialog();
        return;
    }
    const QString path = dialogs::openFile(window(), QString::fromUtf8(dialogs::kSketchFilter),
                                           QStringLiteral("tav"));
    if (!path.isEmpty())
        openSketchFile(path);
}

bool TopPanelDlg::openSketchFile(const QString& path) {
    if (ProjectCommands* commands = hub_.commands())
        return commands->openOrder(path);
    return opened(SketchFile::read(project_, std::filesystem::path(path.toStdString())), path);
}

bool TopPanelDlg::openSketchBytes(const QByteArray& bytes, const QString& name) {
    // An order from elsewhere replaces the project too: unsaved changes are asked about first.
    if (ProjectCommands* commands = hub_.commands())
        return commands->openOrderBytes(bytes, name);
    return opened(SketchFile::fromBytes(project_, std::string_view(bytes.data(), bytes.size())),
                  name);
}

bool TopPanelDlg::opened(int result, const QString& name) {
    if (result != SketchFile::ReadOk) {
        dialogs::showError(window(), QString::fromStdString(
                                         SketchFile::openErrorMessage(result, name.toStdString())));
        return false;
    }
    // The pictures of the file just read replace those of the previous project.
    PictureCache::shared().clear();
    hub_.notify(Notify::CatalogSelection);
    hub_.notify(Notify::ProjectChanged);
    hub_.notify(Notify::OrderChanged);
    return true;
}

void TopPanelDlg::saveSketch() {
    if (ProjectCommands* commands = hub_.commands()) {
        commands->save();
        return;
    }
    const QString path =
        dialogs::saveFile(window(), QStringLiteral("эскиз"),
                          QString::fromUtf8(dialogs::kSketchFilter), QStringLiteral("tav"));
    if (path.isEmpty())
        return;
    std::string reason;
    if (SketchFile::write(project_, std::filesystem::path(path.toStdString()), &reason) !=
        SketchFile::WriteOk)
        dialogs::showError(window(), QString::fromStdString(
                                         SketchFile::saveErrorMessage(path.toStdString(), reason)));
}

void TopPanelDlg::saveSketchAs() {
    if (ProjectCommands* commands = hub_.commands())
        commands->saveAs();
    else
        saveSketch();
}

void TopPanelDlg::newProject() {
    if (ProjectCommands* commands = hub_.commands())
        commands->newProject();
}

void TopPanelDlg::showSaveXml() {
    save_->showChoice();
}

void TopPanelDlg::showPrint() {
    print_->showChoice();
}
