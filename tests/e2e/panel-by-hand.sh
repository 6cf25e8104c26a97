#!/bin/sh
# The panel as a person uses it, on the real almanac.exe: today's pop-up
# goes when the exit prompt opens, which the corner of the "×" rectangle
# opens; the wheel over the grid and the page keys turn the month and hide
# the pop-up; typed text in a selector gives way to the page; "本" puts the
# keyboard in the memo; coloured captions show their colour.
#   panel-by-hand.sh ALMANAC_EXE PRISTINE_PREFIX
set -eu
. "$(dirname "$0")/desktop.sh"
exe=$1
desktop_start "$2"

# Today's cell, where the grid puts it, carries a note.
day=$(date +%-d)
first_weekday=$(date -d "$(date +%Y-%m)-01" +%w)
column=$(((first_weekday + day - 1) % 7))
row=$(((first_weekday + day - 1) / 7))
notes="$WINEPREFIX/drive_c/users/$(id -un)/Documents/我的记事"
mkdir -p "$notes/日历" "$notes/备忘"
# The header, then one record: slot, length 12, colour 0, the text.
printf 'd\000%b\000\014\000\000\000\000\000meeting at 3' "$(printf '\\%03o' "$day")" >"$notes/日历/$(date +%Y%m)"
printf 'memo' >"$notes/备忘/default"

yellow_under_today() { # FILE: the pop-up's yellow pixels under today's cell
    count_colour "$1" 240 70 $((X + 52 * column - 95)) $((Y + 22 + 21 + 33 * row + 10)) 255,255,0
}
return_shown() { # FILE: "返回" drawn in the top strip's text colour
    [ "$(count_colour "$1" 30 17 $((X + 272)) $((Y + 3)) 189,183,107)" -gt 10 ]
}

program_start "$exe"
window_origin "$(window_wait "$ALMANAC_WINDOW_TITLE")"
xdotool mousemove $((X + 5)) $((Y + 270))  # off the grid
sleep 3  # past the second tick: today's notes pop up
shot=$(screenshot panel-today-popup)
[ "$(yellow_under_today "$shot")" -gt 100 ] || fail "no pop-up of today's notes"
# Captions in their colours, not smoothed into the background.
[ "$(count_colour "$shot" 50 15 $((X + 243)) $((Y + 22 + 219)) 0,0,0)" -gt 20 ] || fail "Vorlitz is faint"
[ "$(count_colour "$shot" 30 17 $((X + 190)) $((Y + 3)) 189,183,107)" -gt 20 ] || fail "上月 is faint"
[ "$(count_colour "$shot" 40 16 $((X + 3)) $((Y + 2)) 0,0,0)" -gt 20 ] || fail "the year selector's text is faint"
[ "$(count_colour "$shot" 240 70 $((X + 52 * column - 95)) $((Y + 22 + 21 + 33 * row + 10)) 255,0,0)" -gt 20 ] ||
    fail "the pop-up's text is not red"

# The far corner of the close button's rectangle opens the prompt, and the
# pop-up goes before it.
click_at $((X + 361)) $((Y + 18))
prompt=$(window_wait 提示)
shot=$(screenshot panel-prompt)
[ "$(yellow_under_today "$shot")" -eq 0 ] || fail "the pop-up stays over the prompt"
xdotool windowactivate --sync "$prompt" key Escape  # stay
for _ in $(seq 25); do xdotool search --onlyvisible --name '^提示$' >/dev/null 2>&1 || break; sleep 0.2; done
program_running || fail "the program ended on Esc at the prompt"

# Hovering today shows its note; a wheel notch down turns to the next month
# and hides the pop-up; up comes back; two up is two months back.
today_x=$((X + 52 * column + 25)) today_y=$((Y + 22 + 21 + 33 * row + 12))
xdotool mousemove $((today_x - 4)) $((today_y - 3)); sleep 0.2
xdotool mousemove "$today_x" "$today_y"; sleep 0.5
shot=$(screenshot panel-hover)
[ "$(yellow_under_today "$shot")" -gt 100 ] || fail "hovering today shows no pop-up"
xdotool click 5; sleep 0.5
shot=$(screenshot panel-wheel-down)
[ "$(yellow_under_today "$shot")" -eq 0 ] || fail "the pop-up stays when the wheel turns the month"
return_shown "$shot" || fail "the wheel did not turn the month"
xdotool click 4; sleep 0.5
shot=$(screenshot panel-wheel-up)
return_shown "$shot" && fail "one notch up did not come back to today's month"
xdotool click 4 click 4; sleep 0.5
return_shown "$(screenshot panel-wheel-up2)" || fail "two notches up did not go back"

# The keys, once a click on the strip has given the grid the keyboard.
click_at $((X + 150)) $((Y + 22 + 228))
xdotool key Home; sleep 0.5
return_shown "$(screenshot panel-home)" && fail "Home did not bring today's month back"
xdotool key Next; sleep 0.5
return_shown "$(screenshot panel-pagedown)" || fail "PageDown did not turn the month"
xdotool key Prior; sleep 0.5
return_shown "$(screenshot panel-pageup)" && fail "PageUp did not turn back"

# Typed text in the year field gives way to the page once the month is
# chosen in the other selector: the year field looks as it did.
before=$(screenshot panel-selectors-before)
click_at $((X + 30)) $((Y + 8))
xdotool key End BackSpace BackSpace BackSpace BackSpace BackSpace type abc
sleep 0.3
typed=$(screenshot panel-selectors-typed)
click_at $((X + 85)) $((Y + 8))
xdotool key Up; sleep 0.5  # the month before, from the month selector's list
after=$(screenshot panel-selectors-after)
convert "$before" -crop 50x18+$((X + 2))+$((Y + 1)) +repage "$work/year-before.png"
convert "$typed" -crop 50x18+$((X + 2))+$((Y + 1)) +repage "$work/year-typed.png"
convert "$after" -crop 50x18+$((X + 2))+$((Y + 1)) +repage "$work/year-after.png"
[ "$(compare -metric AE "$work/year-before.png" "$work/year-typed.png" null: 2>&1 || true)" != 0 ] ||
    fail "typing did not reach the year field"
[ "$(compare -metric AE "$work/year-before.png" "$work/year-after.png" null: 2>&1 || true)" = 0 ] ||
    fail "the year field still shows the typed text"
return_shown "$after" || fail "choosing the month before did not turn the page"

# "本" shows the memo pad with the keyboard at the end of its text: what is
# typed, Space included, goes into the memo, and the pad stays.
click_at $((X + 363 + 10 + 8)) $((Y + 280 - 18 + 6))
sleep 0.5
xdotool type --delay 80 ' ok'
screenshot panel-memo >/dev/null
# Saved after a pause in typing (about a second).
for _ in $(seq 25); do [ "$(cat "$notes/备忘/default")" = "memo ok" ] && break; sleep 0.2; done
[ "$(cat "$notes/备忘/default")" = "memo ok" ] || fail "the memo holds '$(cat "$notes/备忘/default")'"
wine reg query 'HKCU\SOFTWARE\Orvane\Kelvadar' /v MemoShow 2>/dev/null | grep -q 'REG_SZ[[:space:]]*1' ||
    fail "MemoShow is not 1"

end_through_prompt
echo "panel-by-hand: passed"
