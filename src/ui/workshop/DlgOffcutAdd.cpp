#include "ui/workshop/DlgOffcutAdd.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <cmath>

namespace {

QDoubleSpinBox* millimetres(const QString& name) {
    auto* box = new QDoubleSpinBox;
    box->setAccessibleName(name);
    box->setDecimals(1);
    box->setRange(0, 99999.9);
    box->setSuffix(QStringLiteral(" мм"));
    return box;
}

QLineEdit* line(const QString& name) {
    auto* edit = new QLineEdit;
    edit->setAccessibleName(name);
    return edit;
}

int32_t tenths(const QDoubleSpinBox* box) {
    return static_cast<int32_t>(std::lround(box->value() * 10.0));
}

std::string text(const QLineEdit* edit) {
    return edit->text().trimmed().toStdString();
}

} // namespace

DlgOffcutAdd::DlgOffcutAdd(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Добавить остаток"));
    setAccessibleName(windowTitle());
    bar_ = new QRadioButton(QStringLiteral("Профиль"));
    sheet_ = new QRadioButton(QStringLiteral("Лист"));
    bar_->setChecked(true);
    auto* kind = new QHBoxLayout;
    kind->addWidget(bar_);
    kind->addWidget(sheet_);
    kind->addStretch(1);

    article_ = line(QStringLiteral("Артикул"));
    colour_ = line(QStringLiteral("Цвет"));
    length_ = millimetres(QStringLiteral("Длина"));
    auto* barPage = new QWidget;
    auto* barForm = new QFormLayout(barPage);
    barForm->addRow(QStringLiteral("Артикул:"), article_);
    barForm->addRow(QStringLiteral("Цвет:"), colour_);
    barForm->addRow(QStringLiteral("Длина:"), length_);

    group_ = line(QStringLiteral("Группа материала"));
    material_ = line(QStringLiteral("Материал"));
    width_ = millimetres(QStringLiteral("Ширина"));
    height_ = millimetres(QStringLiteral("Высота вдоль текстуры"));
    canTurn_ = new QCheckBox(QStringLiteral("Без текстуры: можно повернуть"));
    auto* sheetPage = new QWidget;
    auto* sheetForm = new QFormLayout(sheetPage);
    sheetForm->addRow(QStringLiteral("Группа:"), group_);
    sheetForm->addRow(QStringLiteral("Материал:"), material_);
    sheetForm->addRow(QStringLiteral("Ширина:"), width_);
    sheetForm->addRow(QStringLiteral("Высота (вдоль текстуры):"), height_);
    sheetForm->addRow(QString(), canTurn_);

    kinds_ = new QStackedWidget;
    kinds_->addWidget(barPage);
    kinds_->addWidget(sheetPage);
    place_ = line(QStringLiteral("Место"));
    place_->setPlaceholderText(QStringLiteral("стеллаж 3"));
    auto* placeForm = new QFormLayout;
    placeForm->addRow(QStringLiteral("Место:"), place_);

    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons_->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Добавить"));
    buttons_->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(kind);
    layout->addWidget(kinds_);
    layout->addLayout(placeForm);
    layout->addWidget(buttons_);

    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(sheet_, &QRadioButton::toggled, this, [this](bool on) {
        kinds_->setCurrentIndex(on ? 1 : 0);
        updateOk();
    });
    for (QLineEdit* e : {article_, group_, material_})
        connect(e, &QLineEdit::textChanged, this, &DlgOffcutAdd::updateOk);
    for (QDoubleSpinBox* b : {length_, width_, height_})
        connect(b, &QDoubleSpinBox::valueChanged, this, &DlgOffcutAdd::updateOk);
    updateOk();
}

JournalOffcut DlgOffcutAdd::offcut() const {
    JournalOffcut o;
    o.sheet = sheet_->isChecked();
    if (o.sheet) {
        o.materialGroup = text(group_);
        o.material = text(material_);
        o.width = tenths(width_);
        o.height = tenths(height_);
        o.canTurn = canTurn_->isChecked();
    } else {
        o.article = text(article_);
        o.color = text(colour_);
        o.length = tenths(length_);
    }
    o.place = text(place_);
    return o;
}

bool DlgOffcutAdd::complete() const {
    const JournalOffcut o = offcut();
    if (o.sheet)
        return !o.material.empty() && o.width > 0 && o.height > 0;
    return !o.article.empty() && o.length > 0;
}

void DlgOffcutAdd::updateOk() {
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(complete());
}
