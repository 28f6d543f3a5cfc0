#pragma once
// The best of five runs of a read, in milliseconds: the machine's noise
// only ever adds time.
#include <QElapsedTimer>
#include <algorithm>
#include <functional>

inline double bestMs(const std::function<void()>& read)
{
    double best = 1e9;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        read();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}
