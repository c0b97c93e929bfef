#pragma once

#include <algorithm>
#include <vector>

// The middle of the measurements (the mean of the two middle ones for an even count).
inline double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}
