#ifndef MEDIAN_H
#define MEDIAN_H

#include <algorithm>
#include <vector>

// The middle of a benchmark's timings: one slow run (a page fault, another process) does not
// move it.
inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

#endif
