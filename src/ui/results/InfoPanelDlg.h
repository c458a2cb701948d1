#pragma once

#include "output/InfoTexts.h"
#include "ui/shared/Notify.h"

#include <QString>
#include <QWidget>

class Project;

// The strip under the sketch that describes the door element under the mouse in two lines.
class InfoPanelDlg : public QWidget, public NotifyReceiver {
    Q_OBJECT
public:
    explicit InfoPanelDlg(Project& project, QWidget* parent = nullptr);

    // Hover: copies the door set's hover description and repaints.
    void receive(Notify n) override;
    void refresh();

    const HoverInfo& hover() const { return hover_; }
    QString firstLine() const { return first_; }
    QString secondLine() const { return second_; }
    // A warning kept on the strip below the element's description (the recovery copy or the
    // file lock could not be made); empty when there is none.
    void setWarning(const QString& text);
    QString warning() const { return warning_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Project& project_;
    HoverInfo hover_;
    QString first_;
    QString second_;
    QString warning_;
};
