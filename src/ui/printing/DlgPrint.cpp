#include "ui/printing/DlgPrint.h"

#include "model/AtomicFile.h"
#include "model/Project.h"
#include "output/AccountingCsv.h"
#include "output/WorkbookWriter.h"
#include "ui/shared/Dialogs.h"
#include "ui/shared/Notify.h"
#include "ui/shared/PictureButton.h"
#include "ui/shared/Pictures.h"
#include "ui/shared/Style.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>

#include <filesystem>

namespace {

const char* const kSaveTexts[] = {"Информация о заказе", "Рассчет цены", "Профили и материалы",
                                  "Информация по сборке", "Информация для 1С"};
constexpr int kAccountingFlag = 4;

// The pictures of the print-mode commands beside printing.
enum class PrintCommandPicture { Preview, Pdf, Production };

QPixmap printCommandPicture(PrintCommandPicture kind) {
    const int size = 24;
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(90, 84, 78), 1.1));
    p.setBrush(QColor(250, 250, 250));
    p.drawRect(QRectF(4.5, 2.5, 13, 18)); // a sheet
    if (kind == PrintCommandPicture::Production) {
        // A sheet of labels, each with a code square.
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 2; ++column) {
                p.setPen(Qt::NoPen);
                p.setBrush(QColor(60, 60, 60));
                p.drawRect(QRectF(6 + column * 6, 4.5 + row * 5.5, 3, 3));
            }
        }
    } else if (kind == PrintCommandPicture::Preview) {
        p.setBrush(QColor(210, 226, 240));
        p.drawEllipse(QRectF(9.5, 9.5, 8, 8));
        p.setPen(QPen(QColor(90, 84, 78), 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(16.5, 16.5), QPointF(21, 21));
    } else {
        p.setBrush(QColor(200, 48, 40));
        p.drawRoundedRect(QRectF(8.5, 12.5, 13, 8), 1.5, 1.5);
        p.setPen(Qt::white);
        QFont f = p.font();
        f.setPixelSize(6);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(8.5, 12.5, 13, 8), Qt::AlignCenter, QStringLiteral("PDF"));
    }
    return pm;
}

} // namespace

DlgPrint::DlgPrint(Project& project, NotifyHub& hub, Mode mode, QWidget* parent)
    : QDialog(parent), project_(project), hub_(hub), mode_(mode) {
    setWindowTitle(mode == SaveMode ? QStringLiteral("Сохранить в xml") : QStringLiteral("Печать"));
    setFont(style::boldFont());
    setModal(false);
    const int rowHeight = 30;
    QStringList texts;
    if (mode == SaveMode) {
        for (const char* text : kSaveTexts)
            texts << QString::fromUtf8(text);
    } else {
        for (const PrintedDocument& document : PrintedDocument::all())
            texts << QString::fromUtf8(document.title);
    }
    flags_.assign(static_cast<size_t>(texts.size()), true);
    // The customer's quote is printed when asked for, not with the order's papers.
    if (mode != SaveMode)
        flags_ = PrintedDocument::workshop();
    for (int k = 0; k < texts.size(); ++k) {
        auto* b = new PictureButton(pictures::checkBoxPicture(flags_[static_cast<size_t>(k)]),
                                    texts[k], this);
        b->setLayout(PictureButton::Layout::PictureLeft);
        b->setFont(style::labelFont());
        b->setGeometry(16, 14 + k * rowHeight, 268, 28);
        connect(b, &QAbstractButton::clicked, this, [this, k] { flip(k); });
        toggles_.push_back(b);
        describeToggle(k);
    }
    const int buttonsY = 14 + static_cast<int>(texts.size()) * rowHeight + 14;
    ok_ = new PictureButton(
        pictures::commandPicture(mode == SaveMode ? pictures::Command::SaveXml
                                                  : pictures::Command::Print),
        mode == SaveMode ? QStringLiteral("Сохранить") : QStringLiteral("Печать"), this);
    cancel_ = new PictureButton(pictures::commandPicture(pictures::Command::Cancel),
                                QStringLiteral("Отмена"), this);
    std::vector<PictureButton*> buttons{ok_, cancel_};
    if (mode == PrintMode) {
        preview_ = new PictureButton(printCommandPicture(PrintCommandPicture::Preview),
                                     QStringLiteral("Просмотр"), this);
        pdf_ = new PictureButton(printCommandPicture(PrintCommandPicture::Pdf),
                                 QStringLiteral("Сохранить в PDF"), this);
        production_ = new PictureButton(printCommandPicture(PrintCommandPicture::Production),
                                        QStringLiteral("Производство"), this);
        production_->setToolTip(QStringLiteral(
            "Документы, раскрой профилей и наполнения, сборка дверей и этикетки одним файлом PDF"));
        buttons.push_back(preview_);
        buttons.push_back(pdf_);
        buttons.push_back(production_);
        labelGrid_ = new QLineEdit(QString::fromStdString(LabelGrid().text()), this);
        labelGrid_->setFont(style::labelFont());
        labelGrid_->setToolTip(QStringLiteral(
            "Этикетки на листе A4: колонки x строки : ширина x высота этикетки, мм"));
        labelGrid_->setAccessibleName(QStringLiteral("Сетка этикеток"));
    }
    for (PictureButton* b : buttons) {
        b->setLayout(PictureButton::Layout::PictureLeft);
        b->setFramed(true);
        b->setFont(style::labelFont());
    }
    int bottom = buttonsY + 36;
    if (mode == PrintMode) {
        // Printing and its preview on the first row, the PDF and cancelling on the second.
        ok_->setGeometry(16, buttonsY, 130, 36);
        preview_->setGeometry(154, buttonsY, 130, 36);
        pdf_->setGeometry(16, buttonsY + 42, 160, 36);
        cancel_->setGeometry(184, buttonsY + 42, 100, 36);
        production_->setGeometry(16, buttonsY + 84, 160, 36);
        labelGrid_->setGeometry(184, buttonsY + 90, 100, 24);
        bottom = buttonsY + 84 + 36;
        connect(preview_, &QAbstractButton::clicked, this, &DlgPrint::previewChoice);
        connect(pdf_, &QAbstractButton::clicked, this, &DlgPrint::pdfChoice);
        connect(production_, &QAbstractButton::clicked, this, &DlgPrint::productionChoice);
    } else {
        ok_->setGeometry(40, buttonsY, 120, 36);
        cancel_->setGeometry(164, buttonsY, 110, 36);
    }
    connect(ok_, &QAbstractButton::clicked, this, &DlgPrint::confirmChoice);
    connect(cancel_, &QAbstractButton::clicked, this, &DlgPrint::cancelChoice);
    setFixedSize(300, bottom + 14);
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
    describeToggle(k);
}

void DlgPrint::describeToggle(int k) {
    toggles_[static_cast<size_t>(k)]->setAccessibleDescription(flags_[static_cast<size_t>(k)]
                                                                   ? QStringLiteral("отмечено")
                                                                   : QStringLiteral("не отмечено"));
}

void DlgPrint::showChoice() {
    if (mode_ == PrintMode) {
        waiting_ = awaiting_ && awaiting_();
        const QString why = waiting_ ? QStringLiteral("Печатается после получения номера заказа "
                                                      "из журнала")
                                     : QString();
        for (size_t k = 0; k < toggles_.size(); ++k) {
            const bool quote = PrintedDocument::all()[k].forCustomerOnly();
            toggles_[k]->setEnabled(quote || !waiting_);
            toggles_[k]->setToolTip(quote ? QString() : why);
            // The quote is what there is to print meanwhile.
            if (quote && waiting_ && !flags_[k])
                flip(static_cast<int>(k));
        }
        production_->setEnabled(!waiting_);
        production_->setToolTip(
            waiting_ ? why
                     : QStringLiteral("Документы, раскрой профилей и наполнения, сборка дверей и "
                                      "этикетки одним файлом PDF"));
    }
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
        emit printRequested(documentChoice());
        return;
    }
    if (saveFiles())
        closeChoice();
}

void DlgPrint::previewChoice() {
    if (mode_ != PrintMode)
        return;
    closeChoice();
    emit previewRequested(documentChoice());
}

void DlgPrint::pdfChoice() {
    if (mode_ != PrintMode)
        return;
    closeChoice();
    emit pdfRequested(documentChoice());
}

void DlgPrint::productionChoice() {
    if (mode_ != PrintMode || waiting_)
        return;
    const std::optional<LabelGrid> grid = LabelGrid::parse(labelGrid_->text().toStdString());
    if (!grid) {
        dialogs::showError(this, QStringLiteral("Сетка этикеток не подходит для листа A4: ") +
                                     labelGrid_->text());
        return;
    }
    closeChoice();
    emit productionRequested(*grid);
}

DocumentChoice DlgPrint::documentChoice() const {
    if (mode_ != PrintMode)
        return {};
    DocumentChoice choice(flags_.begin(), flags_.end());
    // What waits for the order's number is not printed, whatever its toggle says.
    for (size_t k = 0; k < choice.size(); ++k)
        choice[k] = choice[k] && (!waiting_ || PrintedDocument::all()[k].forCustomerOnly());
    return choice;
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
