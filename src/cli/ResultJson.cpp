#include "cli/ResultJson.h"

#include "calc/CalcResult.h"
#include "calc/DSSystem.h"
#include "catalog/HandleProfile.h"
#include "catalog/ProfileColor.h"
#include "catalog/SplitterProfile.h"
#include "model/Project.h"

using nlohmann::json;

namespace {

std::string codeOf(const DSItem* item) {
    return item != nullptr ? item->code : std::string();
}

} // namespace

json resultJson(Project& project) {
    const CalcResult& r = project.result;
    json j;
    j["system"] = project.system->code;
    j["handleProfile"] = codeOf(project.handleProfile);
    j["color"] = codeOf(project.color);
    j["splitterProfile"] = codeOf(project.splitterProfile);
    j["openingWidth"] = project.openingWidth;
    j["height"] = project.height;
    j["doorCount"] = project.doorCount;
    j["discountPercent"] = project.discountPercent;
    j["chipboardThickness"] = project.chipboardThickness;
    j["plinthHeight"] = project.plinthHeight;

    const OrderInfo& o = project.order;
    j["order"] = {{"orderNumber", o.orderNumber},   {"clientName", o.clientName},
                  {"address", o.address},           {"phone", o.phone},
                  {"orderDate", o.orderDate},       {"readyDate", o.readyDate},
                  {"assemblyCost", o.assemblyCost}, {"deliveryCost", o.deliveryCost}};

    json articles = json::array();
    for (const ArticleRow& a : r.articles) {
        articles.push_back({{"code", a.code},
                            {"name", a.name},
                            {"stockLength", a.stockLength},
                            {"quantity", a.quantity},
                            {"counted", a.counted != 0},
                            {"cost", a.cost},
                            {"error", a.error}});
    }
    j["articles"] = std::move(articles);

    json fillings = json::array();
    for (const FillingRow& f : r.fillings) {
        fillings.push_back({{"code", f.code},
                            {"name", f.name},
                            {"thickness", f.thickness},
                            {"area", f.area},
                            {"cost", f.cost},
                            {"error", f.error}});
    }
    j["fillings"] = std::move(fillings);

    json cut = json::array();
    for (const CutPieceRow& c : r.cutList) {
        cut.push_back({{"number", c.number},
                       {"code", c.code},
                       {"name", c.name},
                       {"length", c.length},
                       {"mark", c.mark},
                       {"doorIndex", c.doorIndex}});
    }
    j["cutList"] = std::move(cut);

    json pieces = json::array();
    for (const FillingPieceRow& p : r.fillingPieces) {
        pieces.push_back({{"number", p.number},
                          {"code", p.code},
                          {"name", p.name},
                          {"height", p.height},
                          {"width", p.width},
                          {"mark", p.mark},
                          {"doorIndex", p.doorIndex}});
    }
    j["fillingPieces"] = std::move(pieces);

    json elements = json::array();
    for (const ElementRow& e : r.elements) {
        elements.push_back({{"kind", e.kind},
                            {"code", e.code},
                            {"name", e.name},
                            {"mark", e.mark},
                            {"door", e.door}});
    }
    j["elements"] = std::move(elements);

    const int64_t total = project.priceTotal();
    j["totals"] = {{"total", total},
                   {"discount", project.discountAmount()},
                   {"assemblyCost", o.assemblyCost},
                   {"deliveryCost", o.deliveryCost},
                   {"grandTotal", project.grandTotal()},
                   {"grandTotalText", project.grandTotalText()}};
    return j;
}
