#pragma once

#include <QElapsedTimer>

#include <algorithm>
#include <functional>

namespace BenchTiming {

// The fastest of a few rounds, in milliseconds: the round least disturbed by
// the rest of the machine.
inline double bestMilliseconds(const std::function<void()> &work, int rounds = 3)
{
    double best = 1e300;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

} // namespace BenchTiming
