#pragma once

#include <QAbstractButton>
#include <QPixmap>

// A flat button that shows a picture with a caption under it (or beside it, for the wide
// command buttons), highlighted under the mouse. The choice buttons of the selection popups,
// the selection buttons of the top panel and the command buttons are all of this kind.
class PictureButton : public QAbstractButton {
    Q_OBJECT
public:
    enum class Layout { PictureAbove, PictureLeft };

    explicit PictureButton(QWidget* parent = nullptr);
    PictureButton(const QPixmap& picture, const QString& caption, QWidget* parent = nullptr);

    void setPicture(const QPixmap& picture);
    const QPixmap& picture() const { return picture_; }
    void setLayout(Layout layout);
    // A framed button is drawn raised even when the mouse is not over it (the dialogs' main
    // commands); the others are flat until hovered.
    void setFramed(bool framed);
    // A toggle is checkable, so that assistive technology reads it as on or off, but its state
    // shows in its picture (a box with or without a tick), never as a pressed button.
    void setToggle(bool toggle);
    // Lines the caption under the picture may take (2 unless set).
    void setCaptionLines(int lines);
    // Command id of the button in its popup (500 = cancel, 501... = choices).
    void setCommandId(int id) { commandId_ = id; }
    int commandId() const { return commandId_; }
    // The catalog index of the record the button chooses.
    void setRecordIndex(int index) { recordIndex_ = index; }
    int recordIndex() const { return recordIndex_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QPixmap picture_;
    Layout layout_ = Layout::PictureAbove;
    int captionLines_ = 2;
    bool framed_ = false;
    bool toggle_ = false;
    int commandId_ = 0;
    int recordIndex_ = -1;
    bool hovered_ = false;
};
