#pragma once

#include "ui/shared/Notify.h"

#include <QWidget>

#include <utility>
#include <vector>

class CThumbListCtrl;
class DSSystem;
class DSSystemGartis;
class DSSystemLoven;
class DlgDoorSize;
class DlgSplitter;
class DlgZoomMaterial;
class PictureButton;
class Project;
class QComboBox;
class QLabel;
class QPushButton;

// The materials panel at the right of the main window. Page "Система": door widths, the doors
// shown, the handle stock length, the roller kit (or Ловен's pivot mechanism), Ловен's height
// offset, the dimensions toggle and the splitter tools (or Гартис's two variant buttons). Page
// "Наполнение": the material groups, the placement toggle and the thumbnails, a click on which
// gives the material to the insert chosen on the sketch. It owns the door widths dialog, the
// placement popup and the splitter profile popup, which float in the main window.
class RightPanelDlg : public QWidget, public NotifyReceiver {
    Q_OBJECT
public:
    enum Page { SystemPage = 0, FillingPage = 1 };

    // The popups are created in the window of parent (the main window).
    RightPanelDlg(Project& project, NotifyHub& hub, QWidget* parent);
    ~RightPanelDlg() override;

    void receive(Notify n) override;

    void showPage(Page page);
    Page page() const { return page_; }
    // Algorithm of the catalog-selection refresh: page visibility, system-dependent controls.
    void refresh();
    // Rebuilds the door, stock length, roller and height lists from the project.
    void refreshLists();

    // Controls, for the main window's wiring and for tests.
    QPushButton* pageButton(Page p) const { return p == SystemPage ? systemTab_ : fillingTab_; }
    QPushButton* doorSizeButton() const { return doorSizeButton_; }
    QComboBox* zoomList() const { return zoomList_; }
    QComboBox* stockList() const { return stockList_; }
    QComboBox* rollerList() const { return rollerList_; }
    QComboBox* heightList() const { return heightList_; }
    QLabel* heightLabel() const { return heightLabel_; }
    PictureButton* dimensionsToggle() const { return dimensions_; }
    PictureButton* splitterButton() const { return splitterButton_; }
    PictureButton* orientationButton() const { return orientation_; }
    PictureButton* placeButton() const { return place_; }
    PictureButton* clearButton() const { return clear_; }
    PictureButton* railButton() const { return rail_; }
    PictureButton* frameButton() const { return frame_; }
    QComboBox* groupList() const { return groupList_; }
    PictureButton* placementToggle() const { return placement_; }
    CThumbListCtrl* thumbnails() const { return thumbs_; }
    DlgDoorSize* doorSizeDialog() const { return doorSize_; }
    DlgZoomMaterial* placementPopup() const { return zoom_; }
    DlgSplitter* splitterPopup() const { return splitterPopup_; }

    // The roller entries for the choice of the pivot mechanism and for the automatic kit.
    static QString pivotEntry();
    static QString standardEntry();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    static constexpr int kWidth = 280;
    static constexpr int kMargin = 10;
    static constexpr int kSplitterPopupTop = 175;
    static constexpr int kToolsTop = 262;
    static constexpr int kLabelGap = 4;

    static DSSystemLoven* lovenOf(DSSystem* s);
    static DSSystemGartis* gartisOf(DSSystem* s);
    static void nameControl(QWidget* w, const QString& objectName, const QString& accessible);

    // The page "Система" (RightPanelSystemPage.cpp) and the page "Наполнение"
    // (RightPanelFillingPage.cpp).
    void buildSystemPage();
    void buildFillingPage();
    QComboBox* addList(const QString& label, const QString& accessible, int y,
                       QLabel** labelOut = nullptr);
    void alignLists();
    static void fitDropDown(QComboBox* list);
    PictureButton* addToggle(const QString& text, const QString& accessible, int y);
    // The toggle's box and its on/off state as assistive technology reads it.
    static void showToggle(PictureButton* toggle, bool on);
    void fillRollerList();
    void updateToolButtons();
    void updateVariantButtons();
    bool pivotApplies() const;

    void openDoorSize();
    void zoomChosen(int item);
    void stockChosen(int item);
    void rollerChosen(int item);
    void heightChosen(int item);
    void toggleDimensions();
    void toggleSplitterPopup();
    void applyOrientation(bool toggle);
    void togglePlacing();
    void clearSketch();
    void nextRail();
    void nextFrame();
    // After either Гартис variant button: the buttons, the doors and the bill follow.
    void variantChanged();
    void groupChosen(int item);
    void togglePlacement();
    void thumbnailClicked(int item);

    Project& project_;
    NotifyHub& hub_;
    Page page_ = SystemPage;
    bool updating_ = false;
    std::vector<QWidget*> systemWidgets_;
    std::vector<QWidget*> fillingWidgets_;
    std::vector<std::pair<QLabel*, QComboBox*>> listRows_; // label and list of each list row

    QPushButton* systemTab_ = nullptr;
    QPushButton* fillingTab_ = nullptr;
    QPushButton* doorSizeButton_ = nullptr;
    QComboBox* zoomList_ = nullptr;
    QComboBox* stockList_ = nullptr;
    QComboBox* rollerList_ = nullptr;
    QLabel* heightLabel_ = nullptr;
    QComboBox* heightList_ = nullptr;
    PictureButton* dimensions_ = nullptr;
    PictureButton* splitterButton_ = nullptr;
    PictureButton* orientation_ = nullptr;
    PictureButton* place_ = nullptr;
    PictureButton* clear_ = nullptr;
    PictureButton* rail_ = nullptr;
    PictureButton* frame_ = nullptr;
    QComboBox* groupList_ = nullptr;
    PictureButton* placement_ = nullptr;
    CThumbListCtrl* thumbs_ = nullptr;

    DlgDoorSize* doorSize_ = nullptr;
    DlgZoomMaterial* zoom_ = nullptr;
    DlgSplitter* splitterPopup_ = nullptr;
    QLabel* toolsHeading_ = nullptr;       // "Разделители", over the splitter tools only
    std::vector<QLabel*> variantCaptions_; // over Гартис's rail and frame buttons
};
