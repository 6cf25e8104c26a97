#!/bin/sh
# The panel's keyboard and pointer as a person meets them, on the real
# almanac.exe: a quick click on the top strip's blank leaves the panel where
# it is and gives the grid the keys; after a choice from a selector's list
# the page keys turn the month; the note dialogs take typing at once; a long
# note's pop-up near the screen's bottom stays whole on the screen, above
# the pointer; a press held and moved still drags the panel.
#   panel-keyboard.sh ALMANAC_EXE PRISTINE_PREFIX
set -eu
# shellcheck source=desktop.sh
. "$(dirname "$0")/desktop.sh"
exe=$1
desktop_start "$2"

# The panel at the screen's bottom-left corner (1280 × 1024).
wine reg add 'HKCU\SOFTWARE\Orvane\Kelvadar' /v PosX /d 0 /f >/dev/null 2>&1
wine reg add 'HKCU\SOFTWARE\Orvane\Kelvadar' /v PosY /d 744 /f >/dev/null 2>&1
# The month's last day carries a long one-off note: a first line of 80
# characters and 11 more lines.
last=$(date -d "$(date +%Y-%m-01) +1 month -1 day" +%-d)
first_weekday=$(date -d "$(date +%Y-%m)-01" +%w)
notes="$WINEPREFIX/drive_c/users/$(id -un)/Documents/我的记事"
mkdir -p "$notes/日历" "$notes/备忘"
text=$(printf '%080d' 0 | sed 's/0/记/g')
for line in 1 2 3 4 5 6 7 8 9 10 11; do text="$text$(printf '\r\n第%d行' "$line")"; done
printf '%s' "$text" | iconv -f UTF-8 -t GB18030 >"$work/note"
length=$(wc -c <"$work/note")
{
    printf 'd\000%b\000' "$(printf '\\%03o' "$last")"
    printf '%b%b\000\000\000\000' "$(printf '\\%03o' $((length % 256)))" "$(printf '\\%03o' $((length / 256)))"
    cat "$work/note"
} >"$notes/日历/$(date +%Y%m)"

return_shown() { # FILE: "返回" drawn in the top strip's text colour
    [ "$(count_colour "$1" 30 17 $((X + 272)) $((Y + 3)) 189,183,107)" -gt 10 ]
}

program_start "$exe"
calendar=$(window_wait "$ALMANAC_WINDOW_TITLE")
window_origin "$calendar"
[ "$Y" = 744 ] || fail "the panel is at ($X, $Y), not at the bottom-left corner"
xdotool mousemove $((X + 150)) $((Y + 10))
sleep 3  # past the second tick

# A quick click on the blank between the selectors and "上月": the panel
# stays where it is when the pointer moves on, and the page keys work.
xdotool click 1
xdotool mousemove $((X + 400)) $((Y - 300))
sleep 0.5
xdotool mousemove $((X + 450)) $((Y - 350))
sleep 0.5
x0=$X y0=$Y
window_origin "$calendar"
[ "$X,$Y" = "$x0,$y0" ] || fail "the panel followed the pointer after a click to ($X, $Y)"
screenshot keyboard-after-click >/dev/null

# A press held and moved still drags the panel: up, and back down.
drag_by() { # DX DY: from the blank, with the button held
    xdotool mousemove $((X + 150)) $((Y + 10)); sleep 0.3
    xdotool mousedown 1; sleep 0.3
    xdotool mousemove $((X + 150 + $1 / 2)) $((Y + 10 + $2 / 2)); sleep 0.3
    xdotool mousemove $((X + 150 + $1)) $((Y + 10 + $2)); sleep 0.3
    xdotool mouseup 1; sleep 0.5
    x0=$X y0=$Y
    window_origin "$calendar"
    moved_x=$((X - x0 - $1)) moved_y=$((Y - y0 - $2))
    if [ "${moved_x#-}" -gt 12 ] || [ "${moved_y#-}" -gt 12 ]; then
        fail "a drag by ($1, $2) moved the panel from ($x0, $y0) to ($X, $Y)"
    fi
}
drag_by 100 -200
drag_by -100 200
xdotool key Next; sleep 0.5
return_shown "$(screenshot keyboard-next)" || fail "PageDown after a click on the blank did not turn the month"
xdotool key Home; sleep 0.5
return_shown "$(screenshot keyboard-home)" && fail "Home after a click on the blank did not bring today back"

# The year before, chosen from the year selector's list; twelve PageDowns
# then come back to today's month.
click_at $((X + 62)) $((Y + 8))  # the year selector's arrow
sleep 0.5
xdotool key Up Return; sleep 0.5
return_shown "$(screenshot keyboard-year-chosen)" || fail "choosing the year before did not turn the page"
for _ in 1 2 3 4 5 6 7 8 9 10 11 12; do xdotool key Next; sleep 0.1; done
sleep 0.5
return_shown "$(screenshot keyboard-twelve-next)" && fail "twelve PageDowns after a choice did not come to today"

# The note dialog takes typing as it opens: into the note for the date.
day=10
column=$(((first_weekday + day - 1) % 7)) row=$(((first_weekday + day - 1) / 7))
click_at $((X + 52 * column + 25)) $((Y + 22 + 21 + 33 * row + 12))
dialog=$(window_wait "输入记事 - $ALMANAC_WINDOW_TITLE")
xdotool type --delay 50 'typed at once'
eval "$(xdotool getwindowgeometry --shell "$dialog")"
# shellcheck disable=SC2153 # WIDTH and HEIGHT come from the eval
xdotool mousemove --window "$dialog" $((229 * WIDTH / 258)) $((14 * HEIGHT / 130)) click 1  # 确定
for _ in $(seq 50); do xdotool search --onlyvisible --name '^输入记事' >/dev/null 2>&1 || break; sleep 0.2; done
grep -q 'typed at once' "$notes/日历/$(date +%Y%m)" || fail "the typing did not reach the note"

# The weekly dialog alike; Enter saves.
window_origin "$calendar"
click_at $((X + 52 * 3 + 20)) $((Y + 22 + 10))
window_wait 每周提示 >/dev/null
xdotool type --delay 50 'every Wednesday'
xdotool key Return
for _ in $(seq 50); do [ -f "$notes/日历/week" ] && break; sleep 0.2; done
grep -q 'every Wednesday' "$notes/日历/week" 2>/dev/null || fail "the typing did not reach the reminder"

# The long note's pop-up by the screen's bottom: whole on the screen, above
# the pointer, at most about 30 characters wide.
column=$(((first_weekday + last - 1) % 7)) row=$(((first_weekday + last - 1) / 7))
px=$((X + 52 * column + 25)) py=$((Y + 22 + 21 + 33 * row + 12))
xdotool mousemove $((px - 4)) $((py - 3)); sleep 0.2
xdotool mousemove "$px" "$py"; sleep 1
shot=$(screenshot keyboard-long-note)
box=$(convert "$shot" -fill black +opaque 'rgb(255,255,0)' -trim -format '%w %h %X %Y' info:)
read -r width height left top <<END
$box
END
left=${left#+} top=${top#+}
[ "$height" -gt 150 ] || fail "no pop-up of the long note ($box)"
[ "$width" -le 470 ] || fail "the pop-up is $width pixels wide"
[ $((top + height)) -le "$py" ] || fail "the pop-up ($box) is not above the pointer at $py"
if [ "$left" -lt 0 ] || [ $((left + width)) -gt 1280 ] || [ "$top" -lt 0 ]; then
    fail "the pop-up ($box) leaves the screen"
fi

xdotool mousemove $((X + 150)) $((Y + 10))  # off the grid: the pop-up goes
sleep 0.5
end_through_prompt
echo "panel-keyboard: passed"
