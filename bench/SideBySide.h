// Our work and the anchor library's, timed in the same loop: the benchmark counts ours;
// the anchor runs beside it with the timer paused. The result is our time over its time,
// the ratio a benchmark reports as its "vs..." counter.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>

template <class Ours, class Anchor>
double timeSideBySide(benchmark::State& state, Ours ours, Anchor anchor) {
    using Clock = std::chrono::steady_clock;
    Clock::duration oursTime{}, anchorTime{};
    for (auto _ : state) {
        auto start = Clock::now();
        ours();
        oursTime += Clock::now() - start;
        state.PauseTiming();
        start = Clock::now();
        anchor();
        anchorTime += Clock::now() - start;
        state.ResumeTiming();
    }
    return double(oursTime.count()) / double(anchorTime.count());
}
