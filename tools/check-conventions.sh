#!/usr/bin/env bash
# The conventions that CI holds: every C++ source formatted as .clang-format says (a
# difference fails), and the checks of .clang-tidy clean over src/. Needs the build folder
# of `bash tools/tabrix.sh test` (its compile_commands.json).
# Usage: bash tools/check-conventions.sh [BUILD_FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

mapfile -t sources < <(git ls-files '*.cpp' '*.h')
clang-format --dry-run -Werror "${sources[@]}"
echo "clang-format: ${#sources[@]} sources as .clang-format says"

[ -f "$build/compile_commands.json" ] || {
    echo "no $build/compile_commands.json: build first (bash tools/tabrix.sh test)" >&2
    exit 2
}
run-clang-tidy -p "$build" -j 2 -quiet "^$PWD/src/.*\.cpp\$" >"$build/clang-tidy.log" 2>&1 || {
    grep -E "(warning|error):" "$build/clang-tidy.log" | sort -u >&2 || cat "$build/clang-tidy.log" >&2
    echo "clang-tidy: findings above (whole output in $build/clang-tidy.log)" >&2
    exit 1
}
echo "clang-tidy: src/ clean"
