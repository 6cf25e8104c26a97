#!/bin/sh
# ctest's runner for the Windows build's executables: Wine (32-bit, or
# 64-bit for the 64-bit test build: tools/wine-arch.sh), quiet and
# headless, in the Wine prefix of the current test run ($WINEPREFIX, made by
# tools/wine-prefix.sh). With ALMANAC_PRIVATE_PREFIX=1 the program runs in a
# fresh copy of that prefix's pristine state instead, with a Wine server and
# desktop of its own, removed afterwards: for tests whose windows or
# registry values must not meet another test's. ALMANAC_WINE_DPI=N sets
# that private prefix's system dpi to N first.
set -eu
: "${WINEPREFIX:?WINEPREFIX must name the Wine prefix of the test run}"
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=wine-arch.sh
. "$root/tools/wine-arch.sh"
export WINEDEBUG="${WINEDEBUG:--all}"
# Headless, whatever display the caller has: no test window shows up on it.
unset DISPLAY WAYLAND_DISPLAY

if [ "${ALMANAC_PRIVATE_PREFIX:-0}" != 1 ]; then
    exec wine "$@"
fi

private=$(mktemp -d "${TMPDIR:-/tmp}/almanac-wine.XXXXXX")
cleanup() {
    WINEPREFIX="$private" wineserver -k 2>/dev/null || true
    rm -rf "$private"
}
trap cleanup EXIT INT TERM
cp -a "$WINEPREFIX.pristine/." "$private/"
if [ -n "${ALMANAC_WINE_DPI:-}" ]; then
    # Wine reads the dpi from both keys when its server starts.
    # A fresh server on a loaded machine may turn the first call away: each
    # value is tried a few times, and a failure says so.
    for key in 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
               'HKCU\Control Panel\Desktop'; do
        set_dpi() {
            WINEPREFIX="$private" wine reg add "$key" /v LogPixels /t REG_DWORD /d "$ALMANAC_WINE_DPI" /f >/dev/null 2>&1
        }
        tries=0
        until set_dpi; do
            tries=$((tries + 1))
            if [ "$tries" -ge 5 ]; then
                echo "wine-test: could not set LogPixels=$ALMANAC_WINE_DPI under $key" >&2
                exit 1
            fi
            sleep 1
        done
    done
    WINEPREFIX="$private" wineserver -w
fi
WINEPREFIX="$private" wine "$@"
