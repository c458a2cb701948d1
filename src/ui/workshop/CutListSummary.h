#pragma once

#include <QString>
#include <QStringList>

class CutListPlan;

// What the cut list page says of a plan: one line for the whole list, one per material.
namespace cutlistsummary {

// "Итого: …" with the new bars and sheets, the offcuts used and the cost; a stopped plan says
// that it is the best found so far.
QString total(const CutListPlan& plan);
// "Материал (хлысты|листы): новых N, остатков M, cost; нижняя граница B; доказано|не доказано;
// time", with the pieces not cut and the stop when there are any.
QStringList materials(const CutListPlan& plan);

} // namespace cutlistsummary
