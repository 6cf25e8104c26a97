#!/bin/sh
# Runs every benchmark: the portable core's, natively from the optimised
# `bench` preset, and the Windows build's under Wine (headless).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
tools/install-deps.sh

cmake --preset bench >/dev/null && cmake --build --preset bench >/dev/null
for bench in engine_bench page_bench link_bench; do
    echo "=== $bench (native)"
    build/bench/bench/$bench
done

. tools/wine-arch.sh
preset=$ALMANAC_WINDOWS_PRESET
cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" --target paint_bench link_bench >/dev/null
export WINEPREFIX="${ALMANAC_WINEPREFIX:-$HOME/.almanac/wine}" WINEDEBUG=-all
tools/wine-prefix.sh ensure "$WINEPREFIX" >/dev/null
for bench in paint_bench link_bench; do
    echo "=== $bench (Windows, under Wine)"
    (unset DISPLAY; wine "build/$preset/bench/windows/$bench.exe")
done
