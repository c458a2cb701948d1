#include "ui/results/SumDlg.h"

#include "model/Project.h"
#include "ui/shared/Style.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

namespace {

// A decimal number with a comma or a point, as typed; empty reads 0. Nullopt-like -1 for text
// that is not a number at all.
bool parseDiscount(const QString& text, double& value) {
    if (text.trimmed().isEmpty()) {
        value = 0.0;
        return true;
    }
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    value = t.toDouble(&ok);
    return ok;
}

// The text shown for a stored discount: its integer part.
QString shownDiscount(double percent) {
    return QString::number(static_cast<int>(percent));
}

} // namespace

SumDlg::SumDlg(Project& project, NotifyHub& hub, QWidget* parent)
    : QWidget(parent), project_(project), hub_(hub) {
    setFont(style::boldFont());
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(kWidth, 112);

    auto* discountLabel = new QLabel(QStringLiteral("Скидка"), this);
    style::makePanelLabel(discountLabel);
    discountLabel->setGeometry(16, 14, 60, 24);
    discount_ = new QLineEdit(this);
    discount_->setGeometry(80, 14, 60, 24);
    discount_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    discount_->setMaxLength(8);
    discount_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,3}([.,][0-9]{0,4})?")), discount_));
    discount_->setToolTip(QStringLiteral("Скидка в процентах, от 0 до 100"));
    discount_->setAccessibleName(QStringLiteral("Скидка, %"));
    discountLabel->setBuddy(discount_);
    auto* percent = new QLabel(QStringLiteral("%"), this);
    style::makePanelLabel(percent);
    percent->setGeometry(144, 14, 20, 24);
    auto* sumLabel = new QLabel(QStringLiteral("Сумма"), this);
    style::makePanelLabel(sumLabel);
    sumLabel->setGeometry(16, 48, 100, 18);

    total_ = new QLabel(this);
    QFont f = style::boldFont();
    f.setPixelSize(20);
    total_->setFont(f);
    QPalette pal = total_->palette();
    pal.setColor(QPalette::WindowText, style::totalColor());
    total_->setPalette(pal);
    total_->setGeometry(16, 68, kWidth - 24, 30);

    discount_->setText(shownDiscount(project_.discountPercent));
    showTotal();
    connect(discount_, &QLineEdit::textChanged, this, &SumDlg::discountEdited);
}

void SumDlg::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), style::panelBrush());
    p.setPen(style::panelLine());
    p.drawLine(0, 8, 0, height() - 9);
    p.drawLine(0, height() - 1, width(), height() - 1);
}

void SumDlg::receive(Notify n) {
    switch (n) {
    case Notify::TotalsChanged:
    case Notify::OrderFieldChanged:
        showTotal();
        total_->repaint();
        break;
    case Notify::DiscountChanged:
        reloadDiscount();
        break;
    case Notify::PopupOpened:
    case Notify::PopupClosed:
        setEnabled(n == Notify::PopupClosed);
        break;
    default:
        break;
    }
}

void SumDlg::showTotal() {
    const QString text = QString::fromStdString(project_.grandTotalText());
    total_->setText(text);
    // Read out with its meaning, not as a bare number.
    total_->setAccessibleName(QStringLiteral("Итого: ") + text.trimmed());
}

void SumDlg::reloadDiscount() {
    reloading_ = true;
    discount_->setText(shownDiscount(project_.discountPercent));
    reloading_ = false;
}

void SumDlg::discountEdited() {
    if (reloading_)
        return;
    const QString text = discount_->text();
    double value = 0.0;
    const bool number = parseDiscount(text, value);
    const bool taken = number && value >= 0.0 && value <= 100.0;
    if (taken) {
        project_.discountPercent = value;
        project_.result.discountPercent = value;
        project_.result.pricesDirty = 1;
        hub_.notify(Notify::ProjectChanged);
    }
    // A rejected value shows the stored one again. A taken decimal stays as typed ("12,5"), so
    // that a fraction can be typed at all; anything else shows the integer part.
    const bool keepTyped = taken && !text.trimmed().isEmpty() && value == project_.discountPercent;
    if (!keepTyped && text != shownDiscount(project_.discountPercent)) {
        reloading_ = true;
        discount_->setText(shownDiscount(project_.discountPercent));
        discount_->end(false);
        reloading_ = false;
    }
}
