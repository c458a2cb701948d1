#include "ui/output/DlgPrint.h"

#include "model/AtomicFile.h"
#include "model/Project.h"
#include "output/AccountingCsv.h"
#include "output/WorkbookWriter.h"
#include "ui/Dialogs.h"
#include "ui/Notify.h"
#include "ui/Style.h"
#include "ui/catalog/PictureButton.h"
#include "ui/catalog/Pictures.h"

#include <QCloseEvent>
#include <QPainter>

#include <filesystem>

namespace {

const char* const kSaveTexts[] = {"Информация о заказе", "Рассчет цены", "Профили и материалы",
                                  "Информация по сборке", "Информация для 1С"};
const char* const kPrintTexts[] = {"Информация о заказе + эскиз", "Рассчет цены",
                                   "Профили и материалы", "Информация по сборке", ""};
constexpr int kAccountingFlag = 4;

} // namespace

DlgPrint::DlgPrint(Project& project, NotifyHub& hub, Mode mode, QWidget* parent)
    : QDialog(parent), project_(project), hub_(hub), mode_(mode) {
    setWindowTitle(mode == SaveMode ? QStringLiteral("Сохранить в xml") : QStringLiteral("Печать"));
    setFont(style::boldFont());
    setModal(false);
    const int rowHeight = 30;
    const int rows = mode == SaveMode ? kToggleCount : kToggleCount - 1;
    for (int k = 0; k < kToggleCount; ++k) {
        const char* text = mode == SaveMode ? kSaveTexts[k] : kPrintTexts[k];
        auto* b = new PictureButton(pictures::checkBoxPicture(true), QString::fromUtf8(text), this);
        b->setLayout(PictureButton::Layout::PictureLeft);
        b->setFont(style::labelFont());
        b->setGeometry(16, 14 + k * rowHeight, 268, 28);
        b->setVisible(k < rows);
        connect(b, &QAbstractButton::clicked, this, [this, k] { flip(k); });
        toggles_[static_cast<size_t>(k)] = b;
    }
    const int buttonsY = 14 + rows * rowHeight + 14;
    ok_ = new PictureButton(
        pictures::commandPicture(mode == SaveMode ? pictures::Command::SaveXml
                                                  : pictures::Command::Print),
        mode == SaveMode ? QStringLiteral("Сохранить") : QStringLiteral("Печать"), this);
    cancel_ = new PictureButton(pictures::commandPicture(pictures::Command::Cancel),
                                QStringLiteral("Отмена"), this);
    for (PictureButton* b : {ok_, cancel_}) {
        b->setLayout(PictureButton::Layout::PictureLeft);
        b->setFramed(true);
        b->setFont(style::labelFont());
    }
    ok_->setGeometry(40, buttonsY, 120, 36);
    cancel_->setGeometry(164, buttonsY, 110, 36);
    connect(ok_, &QAbstractButton::clicked, this, &DlgPrint::confirmChoice);
    connect(cancel_, &QAbstractButton::clicked, this, &DlgPrint::cancelChoice);
    setFixedSize(300, buttonsY + 36 + 14);
}

void DlgPrint::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), style::panelBrush());
    p.setPen(style::panelLine());
    const int y = ok_->y() - 8;
    p.drawLine(16, y, width() - 16, y);
}

void DlgPrint::flip(int k) {
    flags_[static_cast<size_t>(k)] = !flags_[static_cast<size_t>(k)];
    toggles_[static_cast<size_t>(k)]->setPicture(
        pictures::checkBoxPicture(flags_[static_cast<size_t>(k)]));
}

void DlgPrint::showChoice() {
    if (QWidget* main = parentWidget() ? parentWidget()->window() : nullptr) {
        const QRect g = main->geometry();
        move(g.center() - QPoint(width() / 2, height() / 2));
    }
    if (!open_) {
        open_ = true;
        hub_.notify(Notify::PopupOpened);
    }
    show();
    raise();
    activateWindow();
}

void DlgPrint::closeChoice() {
    if (open_) {
        open_ = false;
        hub_.notify(Notify::PopupClosed);
    }
    hide();
}

void DlgPrint::cancelChoice() {
    closeChoice();
}

void DlgPrint::reject() {
    cancelChoice();
}

void DlgPrint::closeEvent(QCloseEvent* event) {
    cancelChoice();
    event->accept();
}

void DlgPrint::confirmChoice() {
    if (mode_ == PrintMode) {
        closeChoice();
        emit printRequested(flags_[0], flags_[1], flags_[2], flags_[3]);
        return;
    }
    if (saveFiles())
        closeChoice();
}

bool DlgPrint::saveFiles() {
    const QString chosen =
        dialogs::saveFile(this, QString::fromStdString(project_.order.orderNumber),
                          QString::fromUtf8(dialogs::kXmlFilter), QStringLiteral("xml"));
    if (chosen.isEmpty())
        return true; // cancelled: the choice closes as well, nothing is written
    const std::filesystem::path path(chosen.toStdString());
    WorkbookSheets sheets;
    sheets.order = flags_[0];
    sheets.price = flags_[1];
    sheets.profiles = flags_[2];
    sheets.assembly = flags_[3];
    std::string reason;
    if (exportWorkbook(project_, path, sheets, &reason)) {
        dialogs::showError(
            this, QString::fromStdString(fileio::saveErrorMessage(chosen.toStdString(), reason)));
        return false;
    }
    if (flags_[kAccountingFlag]) {
        std::filesystem::path csv = accountingCsvPathFor(path);
        // A workbook chosen under a name ending in "csv" would be overwritten by the accounting
        // file; that file then goes beside it under a name of its own.
        if (csv == path)
            csv += ".csv";
        if (exportAccountingCsv(project_, csv, &reason)) {
            dialogs::showError(
                this, QString::fromStdString(fileio::saveErrorMessage(csv.string(), reason)));
            return false;
        }
    }
    return true;
}
