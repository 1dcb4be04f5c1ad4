// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <vector>

// The middle of the samples, or the mean of the two middle ones; 0 for none.
inline double Median(std::vector<double> samples)
{
    if (samples.empty())
        return 0;
    std::sort(samples.begin(), samples.end());
    const size_t middle = samples.size() / 2;
    return samples.size() % 2 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
}
