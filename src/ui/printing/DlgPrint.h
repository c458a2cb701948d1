#pragma once

#include "output/LabelGrid.h"
#include "ui/printing/PrintedDocument.h"

#include <QDialog>

#include <functional>
#include <vector>

class NotifyHub;
class PictureButton;
class QLineEdit;
class Project;

// The export and print choice. In save mode it writes the chosen worksheets as a workbook and,
// when "Информация для 1С" is set, the accounting file next to it; in print mode it offers one
// toggle per printed document and hands the chosen documents to printing, to the print preview
// or to a PDF file. The flags are all set at creation and keep their state between showings.
// While the dialog is shown the main window's panels are disabled.
class DlgPrint : public QDialog {
    Q_OBJECT
public:
    enum Mode { PrintMode = 0, SaveMode = 1 };
    // Toggle ids, as the flags are numbered: order, price, profiles, assembly, accounting file
    // in save mode; the printed documents in print mode.
    static constexpr int kFirstToggleId = 1018;
    static constexpr int kSaveToggleCount = 5;

    DlgPrint(Project& project, NotifyHub& hub, Mode mode, QWidget* parent);

    Mode mode() const { return mode_; }
    int toggleCount() const { return static_cast<int>(toggles_.size()); }
    bool flag(int k) const { return flags_.at(static_cast<size_t>(k)); }
    PictureButton* toggle(int k) const { return toggles_.at(static_cast<size_t>(k)); }
    PictureButton* okButton() const { return ok_; }
    PictureButton* cancelButton() const { return cancel_; }
    // Print mode only (null in save mode).
    PictureButton* previewButton() const { return preview_; }
    PictureButton* pdfButton() const { return pdf_; }
    // "Производство" and the label grid it uses (print mode only, null in save mode).
    PictureButton* productionButton() const { return production_; }
    QLineEdit* labelGridEdit() const { return labelGrid_; }

    // Print mode: asked at each showing whether the order waits for its number from the
    // journal. While it does, only the customer's quote may be printed; the papers that carry
    // the number (and the production pack) wait for it.
    void setAwaitingNumber(std::function<bool()> awaiting) { awaiting_ = std::move(awaiting); }
    bool awaitingNumber() const { return waiting_; }

    // Centres the dialog over the main window, disables the panels and shows it.
    void showChoice();
    // OK and Cancel, as the buttons do.
    void confirmChoice();
    void cancelChoice();
    // Print mode: "Просмотр" and "Сохранить в PDF", which close the choice like OK.
    void previewChoice();
    void pdfChoice();
    // Print mode: "Производство", the whole production pack whatever the toggles say. A label
    // grid that cannot be read is reported and keeps the choice open.
    void productionChoice();

    // The printed documents chosen (print mode).
    DocumentChoice documentChoice() const;

signals:
    // Print mode: the chosen documents are to be printed, previewed or saved as PDF.
    void printRequested(const DocumentChoice& documents);
    void previewRequested(const DocumentChoice& documents);
    void pdfRequested(const DocumentChoice& documents);
    void productionRequested(const LabelGrid& labels);

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
    std::function<bool()> awaiting_;
    bool waiting_ = false;
    Mode mode_;
    bool open_ = false;
    std::vector<bool> flags_;
    std::vector<PictureButton*> toggles_;
    PictureButton* ok_ = nullptr;
    PictureButton* cancel_ = nullptr;
    PictureButton* preview_ = nullptr;
    PictureButton* pdf_ = nullptr;
    PictureButton* production_ = nullptr;
    QLineEdit* labelGrid_ = nullptr;
};
