#pragma once

#include <benchmark/benchmark.h>

#include <chrono>

// Times the program's code and a bare baseline in the same run, alternately, and reports
// the program's time per iteration, the baseline's, and their ratio.
template <typename Program, typename Baseline>
void RunPaired(benchmark::State& state, Program program, Baseline baseline) {
    using Clock = std::chrono::steady_clock;
    double programSeconds = 0;
    double baselineSeconds = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        baseline();
        const auto t1 = Clock::now();
        program();
        const auto t2 = Clock::now();
        const double ours = std::chrono::duration<double>(t2 - t1).count();
        state.SetIterationTime(ours);
        programSeconds += ours;
        baselineSeconds += std::chrono::duration<double>(t1 - t0).count();
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["baseline_ms"] = baselineSeconds / iterations * 1e3;
    state.counters["ratio"] = baselineSeconds > 0 ? programSeconds / baselineSeconds : 0;
}

// Times one command: setup runs outside the clock before each iteration.
template <typename Setup, typename Command>
void RunTimed(benchmark::State& state, Setup setup, Command command) {
    using Clock = std::chrono::steady_clock;
    for (auto _ : state) {
        setup();
        const auto t0 = Clock::now();
        command();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - t0).count());
    }
}
