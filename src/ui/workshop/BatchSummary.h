#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

class BatchPlan;
class CuttingPlan;

// What the batches page says of a plan.
namespace batchsummary {

// Per article and colour, then per sheet material: the new bars or sheets and the offcuts of
// the store the plan cuts ("KL001 Белый: новых хлыстов 3, из остатков 1").
QStringList lines(const CuttingPlan& cuts, const std::vector<bool>& materialFromOffcut);
// The whole batch: its orders, new bars and sheet area beside the orders planned alone, the
// offcuts it uses and keeps.
QString total(const BatchPlan& plan, size_t orders);
// What changed between a plan and the one made again after another seat took its offcuts.
QString changes(const BatchPlan& before, const BatchPlan& after);

} // namespace batchsummary
