#pragma once

#include "ui/shared/Notify.h"

#include <QByteArray>
#include <QRect>
#include <QWidget>

#include <cstdint>

class DlgColors;
class DlgHands;
class DlgPrint;
class DlgSystems;
class PictureButton;
class ProjectMenu;
class QToolButton;
class Project;
class QComboBox;
class QLabel;
class QLineEdit;
class SelectionPopup;

// The panel along the top of the main window: the system, handle profile and colour buttons with
// their popups, the sizes of the opening in whole millimetres, the door count, the system option
// toggle and the project commands (open, save, export, print) with the buttons of the order
// journal and the workshop windows. It owns the
// selection popups and the two export-choice dialogs. Sizes typed here go to the project's setters,
// which ignore values out of range; leaving a field shows the project's value again.
class TopPanelDlg : public QWidget, public NotifyReceiver {
    Q_OBJECT
public:
    static constexpr int kWidth = 970;
    static constexpr int kHeight = 112;

    // The popups and dialogs are created as children of parent (the main window), below which
    // they float.
    TopPanelDlg(Project& project, NotifyHub& hub, QWidget* parent);
    ~TopPanelDlg() override;

    void receive(Notify n) override;
    // Re-reads the selections, sizes, option toggle and door count from the project.
    void refresh();

    // Project commands.
    void openSketch();
    // Opens the sketch file at path and tells the panels; a file that cannot be read shows the
    // error message and leaves the project as it was. In the main window this goes through its
    // commands, which ask about unsaved changes first.
    bool openSketchFile(const QString& path);
    // The same for a sketch file's bytes kept elsewhere (an order of the journal); name stands
    // for the file in the error message.
    bool openSketchBytes(const QByteArray& bytes, const QString& name);
    void saveSketch();
    void saveSketchAs();
    void newProject();
    // Opens the project menu (new, open, save as, recent files) under the "Открыть" button.
    void showProjectMenu();
    void showSaveXml();
    void showPrint();
    // Hides the selection popups (Escape does this anywhere in the main window).
    void hidePopups();

    // Controls, for the main window's wiring and for tests.
    QLineEdit* widthEdit() const { return width_; }
    QLineEdit* heightEdit() const { return height_; }
    QLineEdit* plinthEdit() const { return plinth_; }
    QLineEdit* thicknessEdit() const { return thickness_; }
    QLabel* heightLabel() const { return heightLabel_; }
    QComboBox* doorCountList() const { return doorCount_; }
    PictureButton* systemButton() const { return systemButton_; }
    PictureButton* handleButton() const { return handleButton_; }
    PictureButton* colorButton() const { return colorButton_; }
    PictureButton* optionButton() const { return option_; }
    PictureButton* commandButton(int k) const { return commands_[k]; } // 0..3 in panel order
    QToolButton* projectMenuButton() const { return menuButton_; }
    ProjectMenu* projectMenu() const { return projectMenu_; }
    PictureButton* journalButton() const { return journal_; }
    PictureButton* workshopButton() const { return workshop_; }
    // The project group at the right of the panel: the commands and, in a row under them, the
    // buttons of the program's other windows.
    static QRect projectGroup();
    DlgSystems* systemsPopup() const { return systems_; }
    DlgHands* handsPopup() const { return hands_; }
    DlgColors* colorsPopup() const { return colors_; }
    DlgPrint* printDialog() const { return print_; }
    DlgPrint* saveDialog() const { return save_; }

signals:
    // "Журнал заказов" or Ctrl+J: the journal's window belongs to the main window, the panel
    // only asks for it.
    void journalRequested();
    // "Производство" or Ctrl+R: the workshop window, which the main window keeps.
    void workshopRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // After a sketch was read: the error of a failed read, or the panels told of the new project.
    bool opened(int result, const QString& name);
    enum Field { WidthField, HeightField, PlinthField, ThicknessField };

    void buildControls();
    void buildProjectGroup();
    // The buttons of the other windows side by side along the group's bottom, each as wide as
    // its caption needs and as tall as its size hint.
    void layoutWindowButtons();
    QLineEdit* makeField(Field f, const QString& label, int x, int y, QLabel** labelOut = nullptr);
    void fieldChanged(Field f);
    void fieldLeft(Field f);
    int32_t projectValue(Field f) const;
    QLineEdit* field(Field f) const;
    void doorCountChosen(int item);
    void optionClicked();
    void togglePopup(SelectionPopup* popup);
    void refreshOption();

    Project& project_;
    NotifyHub& hub_;
    bool updating_ = false;

    QLineEdit* width_ = nullptr;
    QLineEdit* height_ = nullptr;
    QLineEdit* plinth_ = nullptr;
    QLineEdit* thickness_ = nullptr;
    QLabel* heightLabel_ = nullptr;
    QComboBox* doorCount_ = nullptr;
    PictureButton* systemButton_ = nullptr;
    PictureButton* handleButton_ = nullptr;
    PictureButton* colorButton_ = nullptr;
    PictureButton* option_ = nullptr;
    PictureButton* commands_[4] = {};
    QToolButton* menuButton_ = nullptr;
    ProjectMenu* projectMenu_ = nullptr;
    PictureButton* journal_ = nullptr;
    PictureButton* workshop_ = nullptr;

    DlgSystems* systems_ = nullptr;
    DlgHands* hands_ = nullptr;
    DlgColors* colors_ = nullptr;
    DlgPrint* print_ = nullptr;
    DlgPrint* save_ = nullptr;
};
