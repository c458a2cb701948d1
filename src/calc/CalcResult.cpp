#include "calc/CalcResult.h"

#include "calc/Totals.h"

void CalcResult::clear() {
    articles.clear();
    fillings.clear();
    cutList.clear();
    fillingPieces.clear();
    elements.clear();
    barGroups.clear();
    pricesDirty = 1;
    profileGroupCounter = 1;
    fillingGroupCounter = 1;
}

void CalcResult::recomputeTotal() {
    // Summed in 64 bits so that an absurd order cannot wrap around into a plausible total.
    int64_t sum = 0;
    total = 0;
    for (const ArticleRow& row : articles) {
        if (!row.error.empty())
            return;
        sum += row.cost;
    }
    if (sum <= 0) {
        total = static_cast<int32_t>(sum < INT32_MIN ? INT32_MIN : sum);
        return;
    }
    for (const FillingRow& row : fillings) {
        if (!row.error.empty())
            return;
        sum += row.cost;
    }
    total = static_cast<int32_t>(sum > INT32_MAX ? INT32_MAX : (sum < INT32_MIN ? INT32_MIN : sum));
}

void CalcResult::refreshTotal() {
    if (pricesDirty) {
        recomputeTotal();
        pricesDirty = 0;
    }
}

int32_t CalcResult::discountAmount() {
    refreshTotal();
    return totals::discountAmount(total, discountPercent);
}

int32_t CalcResult::priceTotal() {
    refreshTotal();
    return total;
}
