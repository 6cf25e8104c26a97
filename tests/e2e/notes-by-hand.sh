#!/bin/sh
# A note written as a person writes it: click a day of the real almanac.exe,
# type, press OK; the note file holds it; after a restart the day is marked
# and hovering it shows the note; the program ends through its prompt.
#   notes-by-hand.sh ALMANAC_EXE PRISTINE_PREFIX
set -eu
# shellcheck source=desktop.sh
. "$(dirname "$0")/desktop.sh"
exe=$1
desktop_start "$2"

# Day 15 of this month, where the grid puts it.
day=15
month_file=$(date +%Y%m)
first_weekday=$(date -d "$(date +%Y-%m)-01" +%w)
column=$(((first_weekday + day - 1) % 7))
row=$(((first_weekday + day - 1) / 7))

cell_origin() { # sets CX, CY: the cell's top-left on the screen
    CX=$((X + 52 * column))
    CY=$((Y + 22 + 21 + 33 * row))
}

program_start "$exe"
window_origin "$(window_wait "$ALMANAC_WINDOW_TITLE")"
cell_origin
click_at $((CX + 25)) $((CY + 12))

# The dialog's controls sit at dialog units of its 258 × 130 template; the
# pointer moves relative to the dialog's own window (the window manager's
# frame makes its position on the screen unreliable to read).
dialog=$(window_wait "输入记事 - $ALMANAC_WINDOW_TITLE")
eval "$(xdotool getwindowgeometry --shell "$dialog")"
at_units() { xdotool mousemove --window "$dialog" $(($1 * WIDTH / 258)) $(($2 * HEIGHT / 130)) click 1; }
at_units 100 50    # into the note for this date
xdotool type --delay 50 'meeting at 3'
at_units 229 14    # 确定
for _ in $(seq 50); do xdotool search --onlyvisible --name '^输入记事' >/dev/null 2>&1 || break; sleep 0.2; done

notes=$(find "$WINEPREFIX/drive_c/users" -path '*/我的记事/日历' -type d | head -n 1)
[ -n "$notes" ] || fail "no notes folder in the prefix"
printf 'd\000\017\000\014\000\000\000\000\000meeting at 3' >"$work/expected"
cmp -s "$notes/$month_file" "$work/expected" || fail "the note file holds $(od -An -c "$notes/$month_file" | tr -s ' ')"

# End through the prompt, start again: the day carries the note's colour.
window_origin "$(window_wait "$ALMANAC_WINDOW_TITLE")"
end_through_prompt

program_start "$exe"
window_origin "$(window_wait "$ALMANAC_WINDOW_TITLE")"
cell_origin
xdotool mousemove $((X + 5)) $((Y + 260))  # away from the grid
sleep 3  # past the second tick, whose pop-up of today's notes may show
marked=$(screenshot notes-marked)
expect_pixel "$marked" $((CX + 48)) $((CY + 29)) 135,206,250 "day $day's one-off note colour"

# Hovering the day shows its note in the yellow pop-up under the pointer.
xdotool mousemove $((CX + 20)) $((CY + 10))
sleep 0.2
xdotool mousemove $((CX + 25)) $((CY + 12))
sleep 1
hover=$(screenshot notes-hover)
yellow=$(count_colour "$hover" 200 60 $((CX + 25 - 100)) $((CY + 24)) 255,255,0)
[ "$yellow" -gt 100 ] || fail "no pop-up under the pointer ($yellow yellow pixels)"

end_through_prompt
echo "notes-by-hand: passed"
