#!/bin/sh
# Builds both builds and runs every test: the native one (sanitizers on),
# then the Windows one under 32-bit Wine. Installs what is missing first.
set -eu
cd "$(dirname "$0")/.."
tools/install-deps.sh

jobs=$(nproc)
failed=""
for preset in native windows; do
    echo "=== $preset: configure, build, test"
    if cmake --preset "$preset" && cmake --build --preset "$preset" -j "$jobs" &&
        ctest --preset "$preset" -j "$jobs"; then
        echo "=== $preset: passed"
    else
        failed="$failed $preset"
    fi
done

if [ -n "$failed" ]; then
    echo "=== FAILED:$failed" >&2
    exit 1
fi
echo "=== all tests passed"
