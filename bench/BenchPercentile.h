#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

// The value a share q (0 to 1) of the measurements is at or below: 0.5 the median, 1 the worst.
inline double percentile(std::vector<double> v, double q) {
    if (v.empty())
        return 0.0;
    std::sort(v.begin(), v.end());
    return v[static_cast<std::size_t>(q * static_cast<double>(v.size() - 1) + 0.5)];
}
