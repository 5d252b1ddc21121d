#!/usr/bin/env bash
# Installs what is missing on Debian 12, builds Tabrix, then starts it ("run") or runs
# every test ("test"). Usage: bash tools/tabrix.sh run|test
set -euo pipefail

mode=${1:-}
case "$mode" in
run | test) ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac

cd "$(dirname "$0")/.."

packages=(cmake g++ clang clang-format clang-tidy git pkg-config qt6-base-dev qt6-base-dev-tools libxml2-dev
    libgtest-dev libbenchmark-dev xvfb xauth xdotool x11-utils xclip imagemagick
    fonts-dejavu-core fonts-wine)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
if ((${#missing[@]})); then
    sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

build=${TABRIX_BUILD_DIR:-build}
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTABRIX_WERROR="$werror"
cmake --build "$build" -j2

if [ "$mode" = run ]; then
    exec "$build/src/app/tabrix"
fi

cd "$build"
ctest --output-on-failure --timeout 300
