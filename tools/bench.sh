#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them: every case with its bare baseline and
# their ratio, then the peak memory of opening a file of a million properties.
# Usage: bash tools/bench.sh [extra Google Benchmark flags]
set -euo pipefail
cd "$(dirname "$0")/.."

build=${TABRIX_BENCH_BUILD_DIR:-build-release}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DTABRIX_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target tabrix_core_bench tabrix_gui_bench tabrix_open_peak_memory

"$build/bench/tabrix_core_bench" --benchmark_min_time=0.5 "$@"
QT_QPA_PLATFORM=offscreen "$build/bench/tabrix_gui_bench" --benchmark_min_time=0.5 "$@" 2>/dev/null
"$build/bench/tabrix_open_peak_memory" 1000000
