#include "calc/CalcResult.h"

#include "calc/Totals.h"

void CalcResult::clear() {
    articles.clear();
    fillings.clear();
    cutList.clear();
    fillingPieces.clear();
    elements.clear();
    barGroups.clear();
    doorTracks.clear();
    doorShares.clear();
    pricesDirty = 1;
    profileGroupCounter = 1;
    fillingGroupCounter = 1;
}

void CalcResult::recomputeTotal() {
    // Rows hold at most kMaxMoney each, so the 64-bit sum cannot wrap; a sum beyond kMaxMoney
    // cannot be shown to the kopeck and counts as no total at all.
    int64_t sum = 0;
    total = 0;
    for (const ArticleRow& row : articles) {
        if (!row.error.empty())
            return;
        sum += row.cost;
    }
    if (sum <= 0) {
        total = sum;
        return;
    }
    for (const FillingRow& row : fillings) {
        if (!row.error.empty())
            return;
        sum += row.cost;
    }
    total = totals::moneyFits(sum) ? sum : 0;
}

void CalcResult::refreshTotal() {
    if (pricesDirty) {
        recomputeTotal();
        pricesDirty = 0;
    }
}

int64_t CalcResult::discountAmount() {
    refreshTotal();
    return totals::discountAmount(total, discountPercent);
}

int64_t CalcResult::priceTotal() {
    refreshTotal();
    return total;
}
