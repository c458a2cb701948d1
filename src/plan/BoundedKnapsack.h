#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The most valuable filling of one bar: at most bound[i] pieces of size[i] with a total size up
// to the capacity. Dynamic programming over the capacity divided by the common divisor of the
// sizes, each item split into parts of 1, 2, 4, ... pieces.
class BoundedKnapsack {
public:
    struct Result {
        double value = 0.0;
        std::vector<int> counts;
        size_t cells = 0; // of the table filled: the work it took
    };

    static Result solve(const std::vector<int64_t>& size, const std::vector<double>& value,
                        const std::vector<int>& bound, int64_t capacity);
};
