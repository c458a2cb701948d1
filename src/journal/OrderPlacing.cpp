#include "journal/OrderPlacing.h"

#include "calc/CalcResult.h"
#include "calc/DSSystem.h"
#include "journal/Journal.h"
#include "journal/JournalError.h"
#include "model/AtomicFile.h"
#include "model/OrderNumberFile.h"
#include "model/Project.h"
#include "model/SketchFile.h"
#include "text/Format.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace orderplacing {
namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

int64_t roublesToKopecks(int32_t roubles) {
    return roubles > 0 ? int64_t{roubles} * 100 : 0;
}

} // namespace

std::string numberText(int64_t number) {
    return number >= 0 && number <= 99999 ? text::format("%05d", static_cast<int>(number))
                                          : std::to_string(number);
}

JournalOrder recordOf(Project& project, const std::string& salesperson,
                      const std::string& filePath) {
    JournalOrder o;
    o.salesperson = salesperson;
    o.customer = project.order.clientName;
    o.phone = project.order.phone;
    o.address = project.order.address;
    o.system = project.system != nullptr ? project.system->code : std::string();
    o.doors = project.doorCount;
    o.openingWidth = project.openingWidth;
    o.openingHeight = project.height;
    o.sumKopecks = project.priceTotal();
    o.discountKopecks = project.discountAmount();
    o.assemblyKopecks = roublesToKopecks(project.order.assemblyCost);
    o.deliveryKopecks = roublesToKopecks(project.order.deliveryCost);
    o.totalKopecks = project.grandTotal();
    o.filePath = filePath;
    return o;
}

std::string billJsonOf(const CalcResult& result) {
    QJsonArray rows;
    for (const ArticleRow& a : result.articles) {
        QJsonObject row{{"code", qs(a.code)},
                        {"name", qs(a.name)},
                        {"quantity", a.quantity},
                        {"counted", a.counted != 0},
                        {"costKopecks", qint64(a.cost)}};
        if (a.stockLength > 0)
            row["stockLength"] = a.stockLength;
        if (!a.error.empty())
            row["error"] = qs(a.error);
        rows.append(row);
    }
    for (const FillingRow& f : result.fillings) {
        QJsonObject row{{"code", qs(f.code)},
                        {"name", qs(f.name)},
                        {"thickness", f.thickness},
                        {"area", f.area},
                        {"costKopecks", qint64(f.cost)}};
        if (!f.error.empty())
            row["error"] = qs(f.error);
        rows.append(row);
    }
    return QJsonDocument(rows).toJson(QJsonDocument::Compact).toStdString();
}

int64_t nextNumber(Journal& journal, const OrderNumberFile& numbers) {
    return journal.nextNumber(leadingInteger(numbers.next()));
}

std::filesystem::path savedPathFor(const std::filesystem::path& sketchPath,
                                   const std::string& offeredNumber, int64_t number) {
    std::filesystem::path saved = sketchPath;
    const std::string got = numberText(number);
    if (!sketchPath.empty() && sketchPath.stem() == offeredNumber && got != offeredNumber)
        saved.replace_filename(got + sketchPath.extension().string());
    return saved;
}

int64_t place(Journal& journal, Project& project, const OrderNumberFile& numbers,
              const std::string& salesperson, std::filesystem::path sketchPath,
              std::string offeredNumber, const std::string& key) {
    const OrderInfo before = project.order;
    const std::string shownNumber =
        offeredNumber.empty() ? project.order.orderNumberText() : offeredNumber;
    const std::string bill = billJsonOf(project.result);
    auto sketchFor = [&](JournalOrder& order) {
        project.order.orderNumber = numberText(order.number);
        const std::filesystem::path savedPath = savedPathFor(sketchPath, shownNumber, order.number);
        std::optional<std::string> bytes = SketchFile::toBytes(project);
        if (!bytes)
            throw JournalError(JournalError::Failed,
                               "Проект не помещается в файл эскиза: заказ не оформлен");
        std::string reason;
        if (!savedPath.empty() && !fileio::writeFileAtomically(savedPath, *bytes, &reason))
            throw JournalError(JournalError::NotSaved,
                               SketchFile::saveErrorMessage(savedPath.string(), reason));
        order.filePath = savedPath.string();
        return *bytes;
    };
    JournalOrder record = recordOf(project, salesperson, sketchPath.string());
    try {
        const int64_t number =
            journal.place(record, bill, leadingInteger(numbers.next()), sketchFor, key);
        // A repeat: the journal kept the first placing, whose number the card now carries.
        project.order.orderNumber = numberText(number);
        numbers.commit(project.order);
        return number;
    } catch (...) {
        project.order = before;
        throw;
    }
}

int revise(Journal& journal, Project& project, int64_t number, const std::string& reason,
           const std::string& salesperson, const std::string& key) {
    const std::string before = project.order.orderNumber;
    project.order.orderNumber = numberText(number);
    const std::optional<std::string> bytes = SketchFile::toBytes(project);
    if (!bytes) {
        project.order.orderNumber = before;
        throw JournalError(JournalError::Failed,
                           "Проект не помещается в файл эскиза: заказ не изменен");
    }
    return journal.revise(number, recordOf(project, salesperson, {}), billJsonOf(project.result),
                          *bytes, reason, salesperson, key);
}

} // namespace orderplacing
