#!/bin/sh
# The grid without the mouse, on the real almanac.exe: Tab from a selector's
# field gives the grid the keyboard; Home goes to today and Right to
# tomorrow, framed by the focus rectangle (in the next month's page when
# today is a month's last day); Enter opens tomorrow's note dialog, whose
# typing and OK land in tomorrow's slot; the keyboard is the grid's again
# when the dialog closes; a click on the gold strip gives it the keyboard too;
# a day the pointer rests on pops up its details.
#   grid-keyboard.sh ALMANAC_EXE PRISTINE_PREFIX
set -eu
# shellcheck source=desktop.sh
. "$(dirname "$0")/desktop.sh"
exe=$1
desktop_start "$2"
notes="$WINEPREFIX/drive_c/users/$(id -un)/Documents/我的记事"

# cell_of DATE: CX and CY, the top-left pixel of the date's cell on the
# screen, on the page of the date's month.
cell_of() {
    day=$(date -d "$1" +%-d)
    first=$(date -d "$(date -d "$1" +%Y-%m)-01" +%w)
    CX=$((X + 52 * ((first + day - 1) % 7)))
    CY=$((Y + 22 + 21 + 33 * ((first + day - 1) / 7)))
}
# focus_mark_on DATE NAME: the dotted rectangle (the cell's colour inverted)
# on the top and the left edge of the date's cell, on a screenshot.
focus_mark_on() {
    cell_of "$1"
    shot=$(screenshot "$2")
    top=$(count_colour "$shot" 51 1 "$CX" "$CY" 10,10,25)
    left=$(count_colour "$shot" 1 32 "$CX" "$CY" 10,10,25)
    [ "$top" -gt 15 ] && [ "$left" -gt 8 ]
}

program_start "$exe"
calendar=$(window_wait "$ALMANAC_WINDOW_TITLE")
window_origin "$calendar"
xdotool mousemove $((X + 150)) $((Y + 10))
sleep 3  # past the second tick
xdotool mousemove 5 5  # off the panel: no pop-up over the cells

# Tab from the year selector's field; Home, Right: tomorrow is framed.
today=$(date +%F) tomorrow=$(date -d tomorrow +%F)
click_at $((X + 20)) $((Y + 8))
xdotool mousemove 5 5
xdotool key Tab Home Right
sleep 0.5
focus_mark_on "$tomorrow" grid-tomorrow || fail "no focus mark on tomorrow's cell after Tab, Home, Right"
focus_mark_on "$today" grid-today-unmarked && fail "the focus mark stays on today's cell"

# Enter: tomorrow's dialog; typing and OK save into tomorrow's slot.
xdotool key Return
dialog=$(window_wait "输入记事 - $ALMANAC_WINDOW_TITLE")
xdotool type --delay 50 'for tomorrow'
eval "$(xdotool getwindowgeometry --shell "$dialog")"
# shellcheck disable=SC2153 # WIDTH and HEIGHT come from the eval
xdotool mousemove --window "$dialog" $((229 * WIDTH / 258)) $((14 * HEIGHT / 130)) click 1  # 确定
for _ in $(seq 50); do xdotool search --onlyvisible --name '^输入记事' >/dev/null 2>&1 || break; sleep 0.2; done
xdotool mousemove 5 5
file="$notes/日历/$(date -d tomorrow +%Y%m)"
# The header (100), then the one record: slot = tomorrow's day, 12 bytes,
# colour word 0, the text.
printf 'd\000%b\000\014\000\000\000\000\000for tomorrow' "$(printf '\\%03o' "$(date -d tomorrow +%-d)")" >"$work/expected"
cmp "$work/expected" "$file" || fail "tomorrow's note file holds $(od -c "$file" 2>&1 | head -n 3)"

# The keyboard is the grid's again: Right frames the day after tomorrow.
window_origin "$calendar"
xdotool key Right
sleep 0.5
focus_mark_on "$(date -d '2 days' +%F)" grid-after-dialog || fail "the arrows did not reach the grid after the dialog"

# A click on the gold strip's blank (right of the site link), then Home.
click_at $((X + 330)) $((Y + 22 + 228))
xdotool mousemove 5 5
xdotool key Home
sleep 0.5
focus_mark_on "$today" grid-strip-home || fail "no focus mark on today after a click on the strip and Home"

# The pointer resting on a day without notes: after about half a second
# its details pop up, in their quieter colour on the yellow.
cell_of "$(date -d '3 days' +%F)"
xdotool mousemove $((CX + 20)) $((CY + 10)); sleep 0.2
xdotool mousemove $((CX + 25)) $((CY + 12)); sleep 1.5
shot=$(screenshot grid-details-popup)
[ "$(count_colour "$shot" 400 40 $((CX - 180)) $((CY + 20)) 255,255,0)" -gt 200 ] || fail "no pop-up of the day's details"
[ "$(count_colour "$shot" 400 40 $((CX - 180)) $((CY + 20)) 96,80,0)" -gt 20 ] || fail "the details are not in their colour"
xdotool mousemove 5 5

end_through_prompt
echo "grid-keyboard: passed"
