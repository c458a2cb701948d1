#include "ui/printing/ProductionPackCommand.h"

#include "model/Project.h"
#include "ui/printing/PrintCommands.h"
#include "ui/printing/ProductionPack.h"
#include "ui/shared/Dialogs.h"

#include <QCoreApplication>
#include <QProgressDialog>

#include <filesystem>

ProductionPackCommand::ProductionPackCommand(Project& project, QWidget* parent)
    : project_(project), parent_(parent) {}

void ProductionPackCommand::run(const LabelGrid& labels) {
    const QString path = dialogs::saveFile(
        parent_,
        QString::fromStdString(project_.order.orderNumberText()) + QStringLiteral("-производство"),
        QString::fromUtf8(PrintCommands::kPdfFilter), QStringLiteral("pdf"));
    if (path.isEmpty())
        return;
    ProductionPack pack(project_, labels);
    QProgressDialog progress(QStringLiteral("Документы, раскрой, сборка дверей и этикетки…"),
                             QStringLiteral("Отмена"), 0, pack.partCount(), parent_);
    progress.setWindowTitle(QStringLiteral("Производство"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(kProgressDelayMs);
    progress.setValue(0);
    const QString error =
        pack.writePdf(std::filesystem::path(path.toStdString()), [&progress](int done, int) {
            progress.setValue(done);
            QCoreApplication::processEvents();
            return !progress.wasCanceled();
        });
    progress.reset();
    if (!error.isEmpty() && error != QString::fromUtf8(ProductionPack::kCancelled))
        dialogs::showError(parent_, error);
}
