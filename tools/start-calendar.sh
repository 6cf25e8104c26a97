#!/bin/sh
# Starts the calendar.
#
# On Linux: builds the Windows build and runs almanac.exe under Wine (the
# 64-bit build under 64-bit Wine where the kernel runs no 32-bit programs) in
# a Wine prefix of its own ($ALMANAC_WINEPREFIX, default ~/.almanac/wine),
# made on first use with the fonts the calendar needs, so that notes and
# settings survive between runs. With a display ($DISPLAY) the calendar runs
# there until it is ended through its "×". Without one it runs on a virtual
# display (Xvfb) for a few seconds, saves a screenshot
# ($ALMANAC_SCREENSHOT, default ./almanac-screenshot.png), prints its path
# and ends.
#
# On Windows (Git Bash, MSYS2): runs build/windows/app/almanac.exe directly.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)

case "$(uname -s)" in
MINGW* | MSYS* | CYGWIN*)
    exe="$root/build/windows/app/almanac.exe"
    [ -x "$exe" ] || { echo "build almanac.exe first: cmake --preset windows && cmake --build --preset windows" >&2; exit 1; }
    exec "$exe"
    ;;
esac

"$root/tools/install-deps.sh"
# The 32-bit almanac.exe, or its 64-bit build where the kernel runs no 32-bit
# programs (tools/wine-arch.sh).
# shellcheck source=wine-arch.sh
. "$root/tools/wine-arch.sh"
preset=$ALMANAC_WINDOWS_PRESET
(cd "$root" && cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" --target almanac >/dev/null)
exe="$root/build/$preset/app/almanac.exe"
# The main window's title, as the build made it.
title=$(sed -n 's/^#define ALMANAC_WINDOW_TITLE "\(.*\)"$/\1/p' "$root/build/$preset/generated/resources/Version.h")

export WINEPREFIX="${ALMANAC_WINEPREFIX:-$HOME/.almanac/wine}" WINEDEBUG=-all
"$root/tools/wine-prefix.sh" ensure "$WINEPREFIX" >/dev/null

if [ -n "${DISPLAY:-}" ]; then
    echo "Starting the calendar on $DISPLAY (Wine prefix $WINEPREFIX)"
    exec wine "$exe"
fi

# No display: a virtual one, a screenshot, and the end.
screenshot=$(realpath -m "${ALMANAC_SCREENSHOT:-almanac-screenshot.png}")
work=$(mktemp -d)
# shellcheck source=virtual-display.sh
. "$root/tools/virtual-display.sh"
cleanup() {
    wineserver -k 2>/dev/null || true
    virtual_display_stop
    rm -rf "$work"
}
trap cleanup EXIT INT TERM
if ! virtual_display_start "$work"; then
    echo "start-calendar: the virtual display (Xvfb, openbox) did not start" >&2
    exit 1
fi
echo "No display: running the calendar on a virtual one (Wine prefix $WINEPREFIX)"
wine "$exe" >/dev/null 2>&1 &
calendar=$!
# Up to 30 s for the calendar's window; a calendar that ended or never
# showed it is a failure, with no screenshot of an empty display.
window_shown=false
for _ in $(seq 150); do
    if xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1; then
        window_shown=true
        break
    fi
    kill -0 "$calendar" 2>/dev/null || break
    sleep 0.2
done
if ! $window_shown; then
    if kill -0 "$calendar" 2>/dev/null; then
        echo "start-calendar: the calendar's window did not appear within 30 seconds" >&2
    else
        echo "start-calendar: the calendar ended before its window appeared" >&2
    fi
    exit 1
fi
sleep 3  # time to paint: the screenshot shows the whole page
import -window root "$screenshot"
echo "Screenshot: $screenshot"
