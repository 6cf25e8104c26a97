#!/bin/sh
# Runs every benchmark: the portable core's, natively from the optimised
# `bench` preset, and the Windows build's under Wine (headless). Stops when
# configuring or building fails, so that no older binary is measured.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
tools/install-deps.sh

# Runs a configure or build step quietly; when it fails, shows what it said
# and stops the script.
step() {
    log=$(mktemp)
    if ! "$@" >"$log" 2>&1; then
        cat "$log" >&2
        rm -f "$log"
        echo "run-benchmarks: failed: $*" >&2
        exit 1
    fi
    rm -f "$log"
}

step cmake --preset bench
step cmake --build --preset bench
for bench in engine_bench page_bench link_bench; do
    echo "=== $bench (native)"
    build/bench/bench/$bench
done

# shellcheck source=wine-arch.sh
. tools/wine-arch.sh
preset=$ALMANAC_WINDOWS_PRESET
step cmake --preset "$preset"
step cmake --build --preset "$preset" --target paint_bench link_bench memo_bench
export WINEPREFIX="${ALMANAC_WINEPREFIX:-$HOME/.almanac/wine}" WINEDEBUG=-all
tools/wine-prefix.sh ensure "$WINEPREFIX" >/dev/null
for bench in paint_bench link_bench memo_bench; do
    echo "=== $bench (Windows, under Wine)"
    (unset DISPLAY; wine "build/$preset/bench/windows/$bench.exe")
done
