#pragma once

#include <QBrush>
#include <QColor>
#include <QFont>

class QLabel;
class QWidget;

// Fonts, colours and backgrounds shared by the panels, so that they read as one program.
namespace style {

// Bold Arial 14 pixels: panels and picture buttons.
QFont boldFont();
// Bold Arial 8 points: the grey labels of the panels.
QFont labelFont();
// Small captions under pictures.
QFont captionFont();

inline QColor labelColor() {
    return QColor(76, 76, 76);
}
inline QColor totalColor() {
    return QColor(173, 41, 41);
}
inline QColor panelLine() {
    return QColor(214, 197, 181);
}

// The tiled background of the panels: a warm paper tone with a faint weave.
QBrush panelBrush();
// The slightly darker tile behind popups.
QBrush popupBrush();

// Makes a label grey, bold and small.
void makePanelLabel(QLabel* label);
// Paints the panel background with the given brush.
void setBackground(QWidget* w, const QBrush& brush);

// The window flags of the program's dialogs over the main window: a title bar with only the
// close button.
inline constexpr Qt::WindowFlags kPopupDialogFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
// Titles such a dialog (the title is also its object name), names it for screen readers and
// gives it the bold font and the popups' background.
void dressPopupDialog(QWidget* dialog, const QString& title, const QString& accessibleName);

} // namespace style
