#pragma once

#include <algorithm>
#include <vector>

// The middle of a benchmark's figures (the upper middle of an even count); 0 for none.
inline double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::ranges::sort(values);
    return values[values.size() / 2];
}
