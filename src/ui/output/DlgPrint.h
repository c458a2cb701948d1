#pragma once

#include <QDialog>

#include <array>

class NotifyHub;
class PictureButton;
class Project;

// The export and print choice. In save mode it writes the chosen worksheets as a workbook and,
// when "Информация для 1С" is set, the accounting file next to it; in print mode it hands the
// four document flags to printing. The flags are all set at creation and keep their state
// between showings. While the dialog is shown the main window's panels are disabled.
class DlgPrint : public QDialog {
    Q_OBJECT
public:
    enum Mode { PrintMode = 0, SaveMode = 1 };
    // Toggle ids, as the flags are numbered: order, price, profiles, assembly, accounting file.
    static constexpr int kFirstToggleId = 1018;
    static constexpr int kToggleCount = 5;

    DlgPrint(Project& project, NotifyHub& hub, Mode mode, QWidget* parent);

    Mode mode() const { return mode_; }
    bool flag(int k) const { return flags_[static_cast<size_t>(k)]; }
    PictureButton* toggle(int k) const { return toggles_[static_cast<size_t>(k)]; }
    PictureButton* okButton() const { return ok_; }
    PictureButton* cancelButton() const { return cancel_; }

    // Centres the dialog over the main window, disables the panels and shows it.
    void showChoice();
    // OK and Cancel, as the buttons do.
    void confirmChoice();
    void cancelChoice();

signals:
    // Print mode: the documents chosen (order page with sketch, price, profiles, assembly).
    void printRequested(bool order, bool price, bool profiles, bool assembly);

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void flip(int k);
    void describeToggle(int k);
    void closeChoice();
    // Save mode: false when the dialog must stay open (a file could not be written).
    bool saveFiles();

    Project& project_;
    NotifyHub& hub_;
    Mode mode_;
    bool open_ = false;
    std::array<bool, kToggleCount> flags_{true, true, true, true, true};
    std::array<PictureButton*, kToggleCount> toggles_{};
    PictureButton* ok_ = nullptr;
    PictureButton* cancel_ = nullptr;
};
