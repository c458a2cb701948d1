#include "ui/workshop/CutListSummary.h"

#include "plan/CutListPlan.h"
#include "text/Format.h"

namespace {

QString rubles(int64_t kopecks) {
    return QString::fromStdString(text::format("%.2f руб.", static_cast<double>(kopecks) / 100.0));
}

} // namespace

namespace cutlistsummary {

QString total(const CutListPlan& plan) {
    int bars = 0, sheets = 0, offcuts = 0, notCut = 0;
    int64_t cost = 0;
    bool stopped = false, proven = true;
    for (const CutListTotal& t : plan.totals) {
        (t.sheets ? sheets : bars) += t.newCount;
        offcuts += t.offcutsUsed;
        notCut += t.notCut;
        cost += t.cost;
        stopped = stopped || t.stopped;
        proven = proven && t.proven;
    }
    QString out = QStringLiteral("Итого: новых хлыстов %1, листов %2, остатков %3, %4")
                      .arg(bars)
                      .arg(sheets)
                      .arg(offcuts)
                      .arg(rubles(cost));
    if (notCut > 0)
        out += QStringLiteral("; не раскроено деталей: %1").arg(notCut);
    if (stopped)
        out += QStringLiteral("; расчет остановлен: лучший найденный план, не доказан");
    else if (proven)
        out += QStringLiteral("; все планы доказаны");
    return out;
}

QStringList materials(const CutListPlan& plan) {
    QStringList out;
    for (const CutListTotal& t : plan.totals) {
        QString line = QString::fromStdString(
            text::format("%s (%s): новых %d, остатков %d, %s; нижняя граница %d; %s; %.1f с",
                         t.material.c_str(), t.sheets ? "листы" : "хлысты", t.newCount,
                         t.offcutsUsed, rubles(t.cost).toStdString().c_str(), t.lowerBound,
                         t.proven ? "доказано" : "не доказано", t.millis / 1000.0));
        if (t.notCut > 0)
            line += QStringLiteral("; не раскроено деталей: %1").arg(t.notCut);
        if (t.stopped)
            line += QStringLiteral("; остановлено");
        out << line;
    }
    return out;
}

} // namespace cutlistsummary
