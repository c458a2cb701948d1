#pragma once

#include "journal/JournalOffcut.h"

#include <QDialog>

class QCheckBox;
class QDialogButtonBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QStackedWidget;

// "Добавить остаток": an offcut found on the rack, entered by hand: a bar (article, colour,
// length) or a sheet (material group and key, width × height, whether it may be turned), and
// its place. OK stays greyed out until the offcut is complete.
class DlgOffcutAdd : public QDialog {
    Q_OBJECT
public:
    explicit DlgOffcutAdd(QWidget* parent = nullptr);

    // The offcut as typed (sizes in 0.1 mm); meaningful when complete() is true.
    JournalOffcut offcut() const;
    bool complete() const;

    QRadioButton* barChoice() const { return bar_; }
    QRadioButton* sheetChoice() const { return sheet_; }
    QLineEdit* articleEdit() const { return article_; }
    QLineEdit* colourEdit() const { return colour_; }
    QDoubleSpinBox* lengthBox() const { return length_; }
    QLineEdit* groupEdit() const { return group_; }
    QLineEdit* materialEdit() const { return material_; }
    QDoubleSpinBox* widthBox() const { return width_; }
    QDoubleSpinBox* heightBox() const { return height_; }
    QCheckBox* turnCheck() const { return canTurn_; }
    QLineEdit* placeEdit() const { return place_; }
    QDialogButtonBox* buttons() const { return buttons_; }

private:
    void updateOk();

    QRadioButton* bar_ = nullptr;
    QRadioButton* sheet_ = nullptr;
    QStackedWidget* kinds_ = nullptr;
    QLineEdit* article_ = nullptr;
    QLineEdit* colour_ = nullptr;
    QDoubleSpinBox* length_ = nullptr;
    QLineEdit* group_ = nullptr;
    QLineEdit* material_ = nullptr;
    QDoubleSpinBox* width_ = nullptr;
    QDoubleSpinBox* height_ = nullptr;
    QCheckBox* canTurn_ = nullptr;
    QLineEdit* place_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
};
