#!/bin/sh
# The real almanac.exe on a virtual display: it starts, shows today's month
# with the grid's colours where they belong, and ends through its prompt.
#   calendar-starts.sh ALMANAC_EXE PRISTINE_PREFIX
set -eu
# shellcheck source=desktop.sh
. "$(dirname "$0")/desktop.sh"
exe=$1
desktop_start "$2"

program_start "$exe"
calendar=$(window_wait "$ALMANAC_WINDOW_TITLE")
window_origin "$calendar"
sleep 3  # past the second tick
shot=$(screenshot calendar-starts)

grid=$((Y + 22))
expect_pixel "$shot" $((X + 320)) $((Y + 12)) 50,80,90 "the top strip"
expect_pixel "$shot" $((X + 45)) $((grid + 10)) 72,61,139 "the weekday header"
expect_pixel "$shot" $((X + 48)) $((grid + 21 + 33 * 2 + 29)) 245,245,230 "a day cell"
expect_pixel "$shot" $((X + 51)) $((grid + 100)) 0,0,0 "the line between cells"
expect_pixel "$shot" $((X + 360)) $((grid + 236)) 255,215,0 "the gold strip"
ring=$(count_colour "$shot" 363 238 "$X" "$grid" 0,255,255)
[ "$ring" -gt 60 ] || fail "today is not ringed ($ring pixels of the today colour)"

end_through_prompt
registry_has 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' Kelvadar || fail "the autostart entry went"
echo "calendar-starts: passed"
