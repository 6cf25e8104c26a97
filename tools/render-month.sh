#!/bin/sh
# Draws one month with the real month grid, as the program paints it, and
# saves it as PNG:
#
#   tools/render-month.sh [--dpi DPI] YEAR MONTH [TODAY] [OUT.png]
#
# TODAY (YYYY-MM-DD, default today) is ringed when it lies in the month; OUT
# defaults to month-YEAR-MONTH.png. Notes come from the current directory's
# note folders (日历), as the program reads them from its notes folder. Runs
# the Windows build's almanac-render.exe under Wine, in the prefix
# $ALMANAC_WINEPREFIX (default ~/.almanac/wine). --dpi paints it as on a
# monitor of that dpi (96 is the design's size).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
usage="usage: render-month.sh [--dpi DPI] YEAR MONTH [TODAY] [OUT.png]"
dpi=96
if [ "${1:-}" = --dpi ]; then
    dpi=${2:?$usage}
    shift 2
fi
year=${1:?$usage}
month=${2:?$usage}
today=${3:-$(date +%F)}
out=${4:-month-$year-$month.png}

"$root/tools/install-deps.sh"
# shellcheck source=wine-arch.sh
. "$root/tools/wine-arch.sh"
preset=$ALMANAC_WINDOWS_PRESET
(cd "$root" && cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" --target almanac-render >/dev/null)
prefix=${ALMANAC_WINEPREFIX:-$HOME/.almanac/wine}
"$root/tools/wine-prefix.sh" ensure "$prefix" >/dev/null

bmp=$(mktemp --suffix=.bmp)
trap 'rm -f "$bmp"' EXIT
WINEPREFIX=$prefix WINEDEBUG=-all wine "$root/build/$preset/tools/render/almanac-render.exe" --dpi "$dpi" "$year" "$month" "$today" "$bmp"
convert "$bmp" "$out"
echo "$out"
