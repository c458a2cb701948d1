#include "ui/ordercard/OrderRevision.h"

#include "journal/Journal.h"
#include "journal/JournalCsv.h"
#include "journal/JournalError.h"
#include "journal/OrderPlacing.h"
#include "model/Project.h"
#include "model/SketchFile.h"
#include "ui/shared/Dialogs.h"
#include "ui/shared/JournalRunner.h"

#include <QUuid>

namespace orderrevision {
namespace {

QString rub(int64_t kopecks) {
    return QString::fromStdString(journalcsv::money(kopecks)) + QStringLiteral(" руб.");
}

} // namespace

QString question(const JournalOrder& before, int64_t newTotal) {
    const int64_t difference = newTotal - before.totalKopecks;
    const int64_t balance = newTotal - before.paidKopecks;
    QString text = QStringLiteral("Заказ %1 станет редакцией %2.\nИтого было %3, станет %4 "
                                  "(разница %5%6).\nОплачено %7, остаток станет %8.")
                       .arg(QString::fromStdString(orderplacing::numberText(before.number)))
                       .arg(before.revision + 1)
                       .arg(rub(before.totalKopecks), rub(newTotal),
                            difference > 0 ? QStringLiteral("+") : QString(), rub(difference),
                            rub(before.paidKopecks), rub(balance));
    if (balance < 0)
        text += QStringLiteral("\nОплачено больше новой суммы: разницу нужно вернуть.");
    return text + QStringLiteral("\nСохранить изменения?");
}

std::optional<JournalOrder> revise(QWidget* window, JournalRunner& journal, Project& project,
                                   int64_t number) {
    using Action = JournalSession::Action;
    try {
        const auto [before, rights] = journal.run(window, Action::Read, [&](Journal& j) {
            return std::make_pair(j.order(number), j.rights());
        });
        const QString shown = QString::fromStdString(orderplacing::numberText(number));
        if (!rights.mayRevise(before.status)) {
            dialogs::showError(
                window, before.status == orderstatus::kCancelled
                            ? QStringLiteral("Заказ %1 отменён: изменить его нельзя").arg(shown)
                            : QStringLiteral("Заказ %1 уже «%2»: изменить его может только "
                                             "менеджер")
                                  .arg(shown, QString::fromStdString(before.status)));
            return std::nullopt;
        }
        QString reason;
        if (JournalRights::revisionNeedsReason(before.status)) {
            const std::optional<QString> typed =
                dialogs::askText(window,
                                 QStringLiteral("Заказ %1 уже «%2». Причина изменения:")
                                     .arg(shown, QString::fromStdString(before.status)),
                                 QStringLiteral("Изменение заказа"));
            if (!typed || typed->trimmed().isEmpty())
                return std::nullopt;
            reason = typed->trimmed();
        }
        if (dialogs::ask(window, question(before, project.grandTotal()),
                         {QStringLiteral("Сохранить"), QStringLiteral("Отмена")}, 1,
                         QStringLiteral("Изменение заказа")) != 0)
            return std::nullopt;
        // One key for this confirmation: a revision whose answer was lost is stored once.
        const std::string key =
            "revise:" + QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString();
        // The journal thread stores a copy: the window's autosave and painting read the project
        // meanwhile.
        Project copy(project.catalog());
        const std::optional<std::string> bytes = SketchFile::toBytes(project);
        if (!bytes || SketchFile::fromBytes(copy, *bytes) != SketchFile::ReadOk)
            throw JournalError(JournalError::Failed,
                               "Проект не помещается в файл эскиза: заказ не изменен");
        return journal.run(window, Action::KeyedWrite, [&](Journal& j) {
            orderplacing::revise(j, copy, number, reason.toStdString(), journal.salesperson(), key);
            return j.order(number);
        });
    } catch (const JournalError& e) {
        dialogs::showError(window, QString::fromStdString(e.what()));
        return std::nullopt;
    }
}

} // namespace orderrevision
