#pragma once

#include "ui/shared/SelectionPopup.h"

class HandleProfile;
class QLabel;

// Chooses the profile colour among the colours of the project's handle profile: the regular
// colours in rows of 11, then, under a line and the label "Под заказ", the colours supplied on
// order. Rebuilt when the project's handle profile is not the one the buttons were built for.
class DlgColors : public SelectionPopup {
    Q_OBJECT
public:
    static constexpr int kButtonWidth = 99;
    static constexpr int kPerRow = 11;
    static constexpr int kSeparatorGap = 30;

    DlgColors(Project& project, NotifyHub& hub, QWidget* parent);

    void onCatalogSelection();
    // The "Под заказ" label; hidden when the profile has no on-order colours.
    QLabel* onOrderLabel() const { return onOrderLabel_; }

protected:
    void choose(int recordIndex) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void rebuild();
    const HandleProfile* builtFor_ = nullptr;
    bool built_ = false;
    QLabel* onOrderLabel_ = nullptr;
    int separatorY_ = -1; // y of the separator line, -1 = none
    int longestRow_ = 0;  // buttons in the longest row
};
