#pragma once

#include <QFrame>
#include <QPixmap>
#include <QPointer>
#include <QString>

#include <vector>

class NotifyHub;
class PictureButton;
class Project;

// Base of the popups that choose a catalog record by clicking a picture button. Choice buttons
// carry the command ids 501, 502, ... in list order; the cancel button (id 500, the prohibition
// sign, caption of two spaces) hides the popup. The popup is hidden, never destroyed, when closed.
class SelectionPopup : public QFrame {
    Q_OBJECT
public:
    static constexpr int kCancelId = 500;
    static constexpr int kFirstChoiceId = 501;
    static constexpr int kRowTop = 5;
    static constexpr int kButtonHeight = 91;
    static constexpr int kRowStep = 96;

    SelectionPopup(Project& project, NotifyHub& hub, QWidget* parent);

    const std::vector<PictureButton*>& choiceButtons() const { return choices_; }
    PictureButton* cancelButton() const { return cancel_; }
    // The button with the given command id (500 = cancel), or null.
    PictureButton* buttonById(int id) const;
    // Draws the buttons of the record with the given catalog index as chosen.
    void markChoice(int recordIndex);
    // Gives the keyboard focus to the chosen button (the first one when none is chosen), so that
    // the popup can be worked with Tab, Space and Escape.
    void focusChoice();

protected:
    struct Choice {
        int recordIndex;
        QString caption;
        QPixmap picture;
    };

    // Replaces the choice buttons by one per entry, each buttonWidth wide, in one row, the cancel
    // button after the last; the popup becomes 100 pixels high.
    void buildRow(const std::vector<Choice>& entries, int buttonWidth);
    // Replaces the choice buttons; the caller places them (choiceButtons()) and the cancel button.
    void createButtons(const std::vector<Choice>& entries, int buttonWidth);
    // A choice button was clicked: the record with that catalog index was chosen.
    virtual void choose(int recordIndex) = 0;

    void paintEvent(QPaintEvent* event) override;
    // Escape hides the popup; the focus then goes back where it was before the popup opened.
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

    Project& project_;
    NotifyHub& hub_;

private:
    std::vector<PictureButton*> choices_;
    PictureButton* cancel_ = nullptr;
    QPointer<QWidget> focusBefore_;
};
