#include "output/AccountingCsv.h"

#include "calc/CalcResult.h"
#include "model/AtomicFile.h"
#include "model/Project.h"
#include "output/ExportText.h"
#include "output/RowTexts.h"
#include "text/Format.h"

namespace {

void line(std::string& out, const std::string& text) {
    out += text;
    out += "\r\n";
}

std::string fields(const std::string& number, const std::string& code, const std::string& name,
                   const std::string& quantity, const std::string& unit, const std::string& cost) {
    return number + ";" + code + ";" + name + ";" + quantity + ";" + unit + ";" + cost;
}

} // namespace

std::string accountingCsvBytes(Project& project) {
    const CalcResult& result = project.result;
    std::string out;
    line(out, "№ заказа;" + project.order.orderNumberText());
    line(out, "№;Артикул;Название;Кол-во;Ед.изм.;Цена,руб.");
    int number = 1;
    for (const ArticleRow& row : result.articles) {
        std::string quantity = row.counted ? text::format("%d", row.quantity)
                                           : text::format("%1.2f", row.quantity / 10000.0);
        line(out, fields(text::format("%d", number++), row.code, rowtext::articleName(row),
                         quantity, row.counted ? "шт" : "м", rowtext::rowCost(row.cost)));
    }
    for (const FillingRow& row : result.fillings) {
        line(out, fields(text::format("%d", number++), row.code, row.name,
                         text::format("%1.4f", row.area), "м2", rowtext::rowCost(row.cost)));
    }
    const int64_t total = project.priceTotal();
    line(out, "Сумма;" + rowtext::money(total / 100.0));
    line(out, "Скидка;" + rowtext::money(project.discountAmount() / 100.0));
    line(out, "Сборка;" + rowtext::money(static_cast<double>(project.order.assemblyCost)));
    line(out, "Доставка;" + rowtext::money(static_cast<double>(project.order.deliveryCost)));
    line(out, "Итого;" + rowtext::money(project.grandTotal() / 100.0));
    return exporttext::toWindows1251(out);
}

bool exportAccountingCsv(Project& project, const std::filesystem::path& path, std::string* reason) {
    return !fileio::writeFileAtomically(path, accountingCsvBytes(project), reason);
}
