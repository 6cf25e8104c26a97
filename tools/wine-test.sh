#!/bin/sh
# ctest's runner for the Windows build's executables: 32-bit Wine, quiet and
# headless, in the Wine prefix of the current test run ($WINEPREFIX, made by
# tools/wine-prefix.sh).
set -eu
: "${WINEPREFIX:?WINEPREFIX must name the test run's Wine prefix}"
export WINEPREFIX WINEARCH=win32 WINEDEBUG="${WINEDEBUG:--all}"
exec wine "$@"
