#pragma once

#include <QDialog>

#include <array>

class NotifyHub;
class Project;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The door widths dialog ("Параметры дверей"): the width in whole millimetres and the track of
// every door in use, with the part of the opening the typed widths leave uncovered. A changed
// track returns every door to the standard width; otherwise the typed widths are checked (the
// opening must be covered exactly, or the user accepts a gap; no door under 100 mm) and applied.
// A window of its own above the main window, which the hub disables while it is open.
class DlgDoorSize : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMinDoorWidthMm = 100;

    DlgDoorSize(Project& project, NotifyHub& hub, QWidget* parent);

    // Fills the rows from the project, sizes the dialog to the door count, centres it on the
    // main window and shows it. The caller has sent the popup-opened notification.
    void open();

    QLineEdit* widthEdit(int door) const { return widths_[static_cast<size_t>(door)]; }
    QComboBox* trackList(int door) const { return tracks_[static_cast<size_t>(door)]; }
    QLineEdit* remainderEdit() const { return remainder_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

    void accept() override;
    void reject() override;

private:
    void updateRemainder();
    int typedWidthMm(int door) const;
    bool tracksChanged() const;
    void finish();

    Project& project_;
    NotifyHub& hub_;
    bool filling_ = false;
    bool open_ = false; // between open() and closing; the popup-closed notification is owed
    std::array<QLabel*, 10> labels_{};
    std::array<QLineEdit*, 10> widths_{};
    std::array<QComboBox*, 10> tracks_{};
    QLineEdit* remainder_ = nullptr;
    QLabel* remainderLabel_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};
