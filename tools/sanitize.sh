#!/usr/bin/env bash
# Builds the program and every test with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer into build-asan/ (TABRIX_SANITIZE_BUILD_DIR), then runs the
# tests: the core tests, the corpus replays, the platform tests, the Qt widget tests under
# the offscreen platform and the end-to-end runs of the real program under Xvfb.
# Usage: bash tools/sanitize.sh (ends in ctest's summary line)
set -euo pipefail

cd "$(dirname "$0")/.."
build=${TABRIX_SANITIZE_BUILD_DIR:-build-asan}
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON

# Also for the test programs that CMake runs while building, to list their tests.
# (No strict_string_checks: it takes libxkbcommon's lawful strndup of an unterminated
# buffer for an overflow.)
export ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tools/lsan-suppressions.txt:print_suppressions=0

CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTABRIX_SANITIZE=ON -DTABRIX_WERROR="$werror" -DTABRIX_BUILD_BENCH=OFF
cmake --build "$build" -j"${TABRIX_SANITIZE_BUILD_JOBS:-2}"

cd "$build"
ctest --output-on-failure --timeout 600
