#!/bin/sh
# Builds both builds and runs every test: the native one (sanitizers on),
# then the Windows one under Wine. Installs what is missing first.
#
# The Windows build is 32-bit and its tests run under 32-bit Wine. Where the
# kernel runs no 32-bit programs (tools/wine-arch.sh), the 32-bit build is
# still built, and its tests run on the same tree built for 64-bit Windows
# under 64-bit Wine.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
tools/install-deps.sh
# shellcheck source=wine-arch.sh
. tools/wine-arch.sh

jobs=$(nproc)
failed=""
step() {
    name=$1
    shift
    echo "=== $name"
    if "$@"; then
        echo "=== $name: passed"
    else
        failed="$failed $name"
    fi
}
build() { cmake --preset "$1" && cmake --build --preset "$1" -j "$jobs"; }
build_and_test() { build "$1" && ctest --preset "$1" -j "$jobs"; }

step "native: configure, build, test" build_and_test native
if [ "$ALMANAC_WINDOWS_PRESET" = windows ]; then
    step "windows: configure, build, test under 32-bit Wine" build_and_test windows
else
    echo "=== this kernel runs no 32-bit programs: the Windows tests run on the 64-bit build"
    step "windows: configure, build" build windows
    step "windows-x64: configure, build, test under 64-bit Wine" build_and_test windows-x64
fi

if [ -n "$failed" ]; then
    echo "=== FAILED:$failed" >&2
    exit 1
fi
echo "=== all tests passed"
