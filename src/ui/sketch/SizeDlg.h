#pragma once

#include <QDialog>

#include <array>
#include <cstdint>

class NotifyHub;
class PictureButton;
class Project;
class QComboBox;
class QLabel;
class QLineEdit;

// The insert size popup: after a splitter was added or dragged it offers to give the insert on
// one side of it an exact filling size. The size is asked of the project once, and when the
// calculation's profile allowances make the filling come out different, once more with the
// difference taken off again. The popup names its splitter by door index and splitter id.
class SizeDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int32_t kMinSize = 200; // 20 mm

    SizeDlg(Project& project, NotifyHub* hub, QWidget* parent);

    // Opens for splitter splitterId of door `door` with its top-left corner at the global point.
    // extendsLastStep: the size chosen belongs to the undo step of the change that opened the
    // popup. False (nothing shown) when the splitter has no insert on one of its sides.
    bool openFor(int door, int splitterId, const QPoint& globalPos, bool extendsLastStep);

    // OK and Cancel, as the buttons do.
    void confirm();
    void cancel();

    bool isOpen() const { return open_; }
    bool vertical() const { return vertical_; }
    int32_t upperLimit() const { return limit_; }
    QLineEdit* sizeField() const { return size_; }
    QComboBox* sideList() const { return side_; }
    QLabel* rangeLabel() const { return range_; }
    PictureButton* okButton() const { return ok_; }
    PictureButton* cancelButton() const { return cancel_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void sideChosen(int side);
    // Asks the project for filling size c on the chosen side; returns the filling size that came
    // out (-1 when the splitter is gone).
    int32_t applySize(int32_t c);
    void closePopup();

    Project& project_;
    NotifyHub* hub_;
    bool open_ = false;
    int door_ = -1;
    int splitterId_ = 0;
    bool vertical_ = true;
    std::array<int32_t, 2> sizes_{};
    int32_t position_ = 0;
    int32_t limit_ = 0;
    QLabel* what_ = nullptr;
    QComboBox* side_ = nullptr;
    QLabel* insertWord_ = nullptr;
    QLineEdit* size_ = nullptr;
    QLabel* range_ = nullptr;
    PictureButton* ok_ = nullptr;
    PictureButton* cancel_ = nullptr;
};
