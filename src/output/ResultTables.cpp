#include "output/ResultTables.h"

#include "calc/CalcResult.h"
#include "calc/DSSystem.h"
#include "catalog/ProfileColor.h"
#include "model/Project.h"
#include "output/RowTexts.h"
#include "text/Format.h"

ResultRow resultRow(ResultRowKind kind, std::initializer_list<std::string> texts) {
    ResultRow r;
    r.kind = kind;
    bool boldRow = kind == ResultRowKind::Heading;
    bool first = true;
    for (const std::string& t : texts) {
        bool labelCell = first && (kind == ResultRowKind::Field || kind == ResultRowKind::Total);
        r.cells.push_back({t, boldRow || labelCell});
        first = false;
    }
    return r;
}

namespace {

std::string millimetres(int32_t tenths) {
    return text::format("%d мм", tenths / 10);
}

std::vector<ResultTable> pricePage(Project& project) {
    const CalcResult& result = project.result;
    ResultTable items;
    items.columnFractions = {0.08, 0.14, 0.48, 0.15, 0.15};
    items.rows.push_back(
        resultRow(ResultRowKind::Heading, {"№", "Артикул", "Название", "Кол-во", "Цена, руб."}));
    int number = 1;
    for (const ArticleRow& a : result.articles) {
        items.rows.push_back(resultRow(
            ResultRowKind::Item, {text::format("%d", number++), a.code, rowtext::articleName(a),
                                  rowtext::articleQuantity(a), rowtext::rowCost(a.cost)}));
    }
    for (const FillingRow& f : result.fillings) {
        items.rows.push_back(resultRow(ResultRowKind::Item,
                                       {text::format("%d", number++), f.code, f.name,
                                        rowtext::fillingQuantity(f), rowtext::rowCost(f.cost)}));
    }

    ResultTable totals;
    totals.columnFractions = {0.25, 0.15};
    totals.offsetFraction = 0.6;
    auto total = [&](const char* label, double roubles) {
        totals.rows.push_back(
            resultRow(ResultRowKind::Total, {label, text::format("%0.2f руб.", roubles)}));
    };
    total("Сумма", project.priceTotal() / 100.0);
    total("Скидка", project.discountAmount() / 100.0);
    total("Сборка", static_cast<double>(project.order.assemblyCost));
    total("Доставка", static_cast<double>(project.order.deliveryCost));
    total("Итого", project.grandTotal() / 100.0);
    return {items, totals};
}

std::vector<ResultTable> orderPage(const Project& project) {
    const OrderInfo& order = project.order;
    bool cabinet = project.system != nullptr && project.system->cabinetMode != 0;
    ResultTable t;
    t.columnFractions = {0.25, 0.6};
    auto field = [&](const char* name, std::string value) {
        t.rows.push_back(resultRow(ResultRowKind::Field, {name, std::move(value)}));
    };
    field("№ заказа", order.orderNumber);
    field("ФИО", order.clientName);
    field("Адрес", order.address);
    field("Телефон", order.phone);
    field("Дата оформления", orderDateText(order.orderDate));
    field("Дата готовности", orderDateText(order.readyDate));
    if (order.assemblyCost >= 1)
        field("Сборка", text::format("%d руб.", order.assemblyCost));
    if (order.deliveryCost >= 1)
        field("Доставка", text::format("%d руб.", order.deliveryCost));
    field(cabinet ? "Высота шкафа" : "Высота проема", millimetres(project.height));
    field("Ширина проема", millimetres(project.openingWidth));
    if (cabinet) {
        field("Цоколь", millimetres(project.plinthHeight));
        field("Ширина ЛДСП", millimetres(project.chipboardThickness));
    }
    field("Количество дверей", text::format("%d", project.doorCount));
    field("Цвет профилей", project.color != nullptr ? project.color->code : std::string());
    return {t};
}

std::vector<ResultTable> profilesPage(const CalcResult& result) {
    ResultTable cut;
    cut.columnFractions = {0.1, 0.1, 0.5, 0.1, 0.1};
    cut.gapAfterPoints = 60; // the material table starts well below the profiles on paper
    cut.rows.push_back(resultRow(ResultRowKind::Heading,
                                 {"№", "Артикул", "Название профиля", "Длина, мм", "Номер"}));
    for (const CutPieceRow& r : result.cutList)
        cut.rows.push_back(
            resultRow(ResultRowKind::Item, {r.number, r.code, r.name, r.length, r.mark}));

    ResultTable pieces;
    pieces.columnFractions = {0.1, 0.1, 0.5, 0.1, 0.1, 0.1};
    pieces.gapAfterPoints = 60;
    pieces.rows.push_back(resultRow(ResultRowKind::Heading, {"№", "Артикул", "Название материала",
                                                             "Высота, мм", "Ширина, мм", "Номер"}));
    for (const FillingPieceRow& r : result.fillingPieces) {
        pieces.rows.push_back(
            resultRow(ResultRowKind::Item, {r.number, r.code, r.name, r.height, r.width, r.mark}));
    }
    return {cut, pieces};
}

std::vector<ResultTable> assemblyPage(const CalcResult& result) {
    ResultTable t;
    t.columnFractions = {0.1, 0.12, 0.13, 0.5, 0.15};
    t.rows.push_back(resultRow(ResultRowKind::Heading,
                               {"№ двери", "Тип элемента", "Артикул", "Название", "Номер"}));
    for (const ElementRow& e : result.elements)
        t.rows.push_back(resultRow(ResultRowKind::Item, {e.door, e.kind, e.code, e.name, e.mark}));
    return {t};
}

} // namespace

std::vector<ResultTable> buildResultTables(Project& project, ResultPage page) {
    switch (page) {
    case ResultPage::Price:
        return pricePage(project);
    case ResultPage::Order:
        return orderPage(project);
    case ResultPage::Profiles:
        return profilesPage(project.result);
    case ResultPage::Assembly:
        return assemblyPage(project.result);
    }
    return {};
}
