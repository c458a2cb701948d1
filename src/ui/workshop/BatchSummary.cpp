#include "ui/workshop/BatchSummary.h"

#include "journal/OffcutStore.h"
#include "plan/BatchPlan.h"
#include "text/Format.h"

#include <algorithm>
#include <map>
#include <string>

namespace batchsummary {
namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

double squareMetres(int64_t area) {
    return static_cast<double>(area) / 1e8;
}

QString ids(const std::vector<int64_t>& list) {
    QStringList out;
    for (int64_t id : list)
        out << qs(OffcutStore::idText(id));
    return out.join(QStringLiteral(", "));
}

} // namespace

QStringList lines(const CuttingPlan& cuts, const std::vector<bool>& materialFromOffcut) {
    QStringList out;
    for (const ArticleCut& a : cuts.articles)
        out << qs(text::format("%s %s: новых хлыстов %d, из остатков %d", a.code.c_str(),
                               a.name.c_str(), a.plan.newBars, a.plan.offcutsUsed));
    // A material's plan comes in parts, one per stock size it is cut from.
    struct Sheets {
        int fresh = 0, fromStore = 0, unplaced = 0;
    };
    std::vector<std::string> order;
    std::map<std::string, Sheets> byMaterial;
    for (size_t i = 0; i < cuts.materials.size(); ++i) {
        const MaterialCut& m = cuts.materials[i];
        const std::string name = (m.group.empty() ? "" : m.group + " / ") + m.code;
        if (!byMaterial.count(name))
            order.push_back(name);
        Sheets& s = byMaterial[name];
        const int sheets = static_cast<int>(m.plan.sheets.size());
        if (i < materialFromOffcut.size() && materialFromOffcut[i])
            s.fromStore += sheets;
        else
            s.fresh += sheets;
        s.unplaced += static_cast<int>(m.plan.unplaced.size());
    }
    for (const std::string& name : order) {
        const Sheets& s = byMaterial[name];
        std::string line =
            text::format("%s: новых листов %d, из остатков %d", name.c_str(), s.fresh, s.fromStore);
        if (s.unplaced > 0)
            line += text::format(", не размещено деталей: %d", s.unplaced);
        out << qs(line);
    }
    return out;
}

QString total(const BatchPlan& p, size_t orders) {
    return qs(text::format(
        "Заказов: %zu. Новых хлыстов: %d (по заказам отдельно: %d). Новых листов: %.3f м² (по "
        "заказам отдельно: %.3f м²). Остатков в дело: %zu, на склад: %zu.",
        orders, p.newBars(), p.ownBars, squareMetres(p.newSheetArea()),
        squareMetres(p.ownSheetArea), p.usedOffcuts.size(), p.kept.size()));
}

QString changes(const BatchPlan& before, const BatchPlan& after) {
    std::vector<int64_t> gone, added;
    for (int64_t id : before.usedOffcuts)
        if (std::find(after.usedOffcuts.begin(), after.usedOffcuts.end(), id) ==
            after.usedOffcuts.end())
            gone.push_back(id);
    for (int64_t id : after.usedOffcuts)
        if (std::find(before.usedOffcuts.begin(), before.usedOffcuts.end(), id) ==
            before.usedOffcuts.end())
            added.push_back(id);
    QString text = QStringLiteral("Пока партия рассчитывалась, остатки взяли на другом месте. "
                                  "Партия рассчитана заново.");
    if (!gone.empty())
        text += QStringLiteral(" Больше не в плане: %1.").arg(ids(gone));
    if (!added.empty())
        text += QStringLiteral(" Взяты вместо них: %1.").arg(ids(added));
    text += qs(text::format(" Новых хлыстов: было %d, стало %d; новых листов: было %.3f м², "
                            "стало %.3f м². Проверьте план и запустите снова.",
                            before.newBars(), after.newBars(), squareMetres(before.newSheetArea()),
                            squareMetres(after.newSheetArea())));
    return text;
}

} // namespace batchsummary
