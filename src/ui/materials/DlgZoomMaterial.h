#pragma once

#include <QDialog>

class Insert;
class Material;
class NotifyHub;
class Project;
class QComboBox;
class QLabel;
class QPushButton;

// The placement popup ("Масштабирование"): gives the chosen material either to the insert chosen
// on the sketch ("По размеру вставки") or stretches its picture across a range of doors ("По
// размеру дверей", doors "с" ... "по"). The door numbers used last are offered again. A window of
// its own above the main window, which the hub disables while it is open.
class DlgZoomMaterial : public QDialog {
    Q_OBJECT
public:
    DlgZoomMaterial(Project& project, NotifyHub& hub, QWidget* parent);

    // Opens for the material; closes at once when no door in use has a material target. The
    // caller has sent the popup-opened notification. Returns whether the popup is shown.
    bool open(const Material* material);

    const Material* material() const { return material_; }
    QComboBox* fromList() const { return from_; }
    QComboBox* toList() const { return to_; }
    QPushButton* insertButton() const { return insertButton_; }
    QPushButton* doorsButton() const { return doorsButton_; }
    int lastFrom() const { return lastFrom_; }
    int lastTo() const { return lastTo_; }

    void reject() override;

private:
    // Opens beside the insert on the sketch (centred on the main window without a sketch).
    void placeBeside(const Insert* insert);
    void placeInInsert();
    void placeAcrossDoors();
    void finish();
    static void fillList(QComboBox* list, int first, int last, int remembered);

    Project& project_;
    NotifyHub& hub_;
    const Material* material_ = nullptr;
    int lastFrom_ = -1; // door numbers (from 1) used last, -1 before the first use
    int lastTo_ = -1;
    QLabel* picture_ = nullptr;
    QLabel* caption_ = nullptr;
    QComboBox* from_ = nullptr;
    QComboBox* to_ = nullptr;
    QPushButton* insertButton_ = nullptr;
    QPushButton* doorsButton_ = nullptr;
};
