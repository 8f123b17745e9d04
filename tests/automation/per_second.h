// The measure of the automation benchmarks: calls per second of `call`, run in batches of
// `batch` for at least a second.
#pragma once

#include <chrono>

template <class F>
double PerSecond(F call, int batch = 1000) {
    using Clock = std::chrono::steady_clock;
    long n = 0;
    const auto start = Clock::now();
    double seconds = 0;
    do {
        for (int i = 0; i < batch; ++i) call();
        n += batch;
        seconds = std::chrono::duration<double>(Clock::now() - start).count();
    } while (seconds < 1.0);
    return n / seconds;
}
