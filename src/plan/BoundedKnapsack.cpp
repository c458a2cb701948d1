#include "plan/BoundedKnapsack.h"

#include <algorithm>
#include <numeric>

BoundedKnapsack::Result BoundedKnapsack::solve(const std::vector<int64_t>& size,
                                               const std::vector<double>& value,
                                               const std::vector<int>& bound, int64_t capacity) {
    Result out;
    out.counts.assign(size.size(), 0);
    int64_t g = 0;
    for (size_t i = 0; i < size.size(); ++i)
        if (bound[i] > 0 && value[i] > 0.0 && size[i] <= capacity)
            g = std::gcd(g, size[i]);
    if (g == 0)
        return out;
    const auto cap = static_cast<size_t>(capacity / g);

    struct Part {
        size_t item;
        int pieces;
        size_t weight;
        double value;
    };
    std::vector<Part> parts;
    for (size_t i = 0; i < size.size(); ++i) {
        if (bound[i] <= 0 || value[i] <= 0.0 || size[i] > capacity)
            continue;
        const auto w = static_cast<size_t>(size[i] / g);
        int left = std::min<int64_t>(bound[i], static_cast<int64_t>(cap / w));
        for (int k = 1; left > 0; k *= 2) {
            const int take = std::min(k, left);
            parts.push_back({i, take, w * static_cast<size_t>(take), value[i] * take});
            left -= take;
        }
    }
    out.cells = parts.size() * (cap + 1);
    std::vector<double> best(cap + 1, 0.0);
    std::vector<bool> took(parts.size() * (cap + 1), false);
    for (size_t p = 0; p < parts.size(); ++p) {
        const Part& part = parts[p];
        for (size_t c = cap; c >= part.weight; --c) {
            const double v = best[c - part.weight] + part.value;
            if (v > best[c]) {
                best[c] = v;
                took[p * (cap + 1) + c] = true;
            }
            if (c == part.weight)
                break;
        }
    }
    out.value = best[cap];
    size_t c = cap;
    for (size_t p = parts.size(); p-- > 0;) {
        if (took[p * (cap + 1) + c]) {
            out.counts[parts[p].item] += parts[p].pieces;
            c -= parts[p].weight;
        }
    }
    return out;
}
