#ifndef MEDIAN_H
#define MEDIAN_H

#include <QElapsedTimer>

#include <algorithm>
#include <functional>
#include <vector>

// The middle of a benchmark's timings: one slow run (a page fault, another process) does not
// move it.
inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The median milliseconds of a number of runs of some work, told which run it is.
inline double medianMs(int runs, const std::function<void(int)>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        work(i);
        times.push_back(clock.nsecsElapsed() / 1e6);
    }
    return median(times);
}

#endif
