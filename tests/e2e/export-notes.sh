#!/bin/sh
# The notes exported as a user exports them: a right-click on the real
# almanac.exe's panel, "导出记事…" from its menu, the system's Save As
# dialog taken as it opens (我的记事.ics in the documents folder); the file
# is the one almanac-cli ics writes of the same notes folder, but the time
# stamps.
#   export-notes.sh ALMANAC_EXE ALMANAC_CLI_EXE PRISTINE_PREFIX
set -eu
# shellcheck source=desktop.sh
. "$(dirname "$0")/desktop.sh"
exe=$1
cli=$2
desktop_start "$3"

program_start "$exe"
window_origin "$(window_wait "$ALMANAC_WINDOW_TITLE")"
notes=$(find "$WINEPREFIX/drive_c/users" -path '*/我的记事/日历' -type d | head -n 1)
[ -n "$notes" ] || fail "no notes folder in the prefix"
documents=$(dirname "$(dirname "$notes")")
# A lunar-yearly note on the 15th of the 8th month, a yearly one on 12-25
# and a weekly one on Mondays.
printf 'd\000\017\000\004\000\000\000\000\000\326\320\307\357' >"$notes/008"
printf 'd\000\031\000\004\000\000\000\000\000\312\245\265\256' >"$notes/112"
printf 'd\000\001\000\004\000\000\000\000\000\300\375\273\341' >"$notes/week"

# The menu on the top strip's blank, its first item, the dialog's default.
xdotool mousemove $((X + 150)) $((Y + 12)) click 3
sleep 1
screenshot export-menu >/dev/null
xdotool key e
dialog=$(window_wait "导出记事") || fail "no Save As dialog"
sleep 1
screenshot export-dialog >/dev/null
xdotool windowactivate --sync "$dialog" key Return
exported="$documents/我的记事.ics"
for _ in $(seq 50); do [ -s "$exported" ] && break; sleep 0.2; done
[ -s "$exported" ] || fail "no 我的记事.ics in the documents folder"

# The command's output for the same notes, from a folder with a plain name.
mkdir -p "$work/notes"
cp -r "$notes" "$work/notes/"
windows_path=$(printf 'Z:%s' "$work/notes" | tr / '\134')
wine "$cli" ics "$windows_path" --from "$(date +%Y)" >"$work/command.ics" 2>"$work/command.err" ||
    fail "almanac-cli ics failed: $(cat "$work/command.err")"
grep -v '^DTSTAMP:' "$exported" >"$work/panel.body"
grep -v '^DTSTAMP:' "$work/command.ics" >"$work/command.body"
cmp -s "$work/panel.body" "$work/command.body" || fail "the panel's file differs from the command's: $(diff "$work/panel.body" "$work/command.body" | head -n 5)"
grep -q 'SUMMARY:中秋' "$exported" || fail "the lunar note is not in the file"

# The same menu by the keyboard: Shift+F10 while the grid has the focus (a
# click on the gold strip gives it), and its "记事小本" shows the memo pad.
window_origin "$(window_wait "$ALMANAC_WINDOW_TITLE")"
registry_has 'HKCU\SOFTWARE\Orvane\Kelvadar' MemoShow &&
    wine reg query 'HKCU\SOFTWARE\Orvane\Kelvadar' /v MemoShow 2>/dev/null | grep -q 'REG_SZ[[:space:]]*1' &&
    fail "the memo pad shows before the menu asked for it"
click_at $((X + 60)) $((Y + 22 + 238 - 10))
xdotool key shift+F10
sleep 1
xdotool key m
for _ in $(seq 25); do
    wine reg query 'HKCU\SOFTWARE\Orvane\Kelvadar' /v MemoShow 2>/dev/null | grep -q 'REG_SZ[[:space:]]*1' && break
    sleep 0.2
done
wine reg query 'HKCU\SOFTWARE\Orvane\Kelvadar' /v MemoShow 2>/dev/null | grep -q 'REG_SZ[[:space:]]*1' ||
    fail "Shift+F10 on the grid and 记事小本 did not show the memo pad"

end_through_prompt
echo "export-notes: passed"
