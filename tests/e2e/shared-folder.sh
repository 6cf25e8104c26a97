#!/bin/sh
# The notes folder shared with another computer and a sync service, as the
# real almanac.exe meets it: a holiday file with a line of blanks (full-width,
# space, full-width), another computer's temporary files fresh and old,
# earlier versions' leftovers fresh and old, and a sync service's copies.
# The program starts, a note is written by hand, and the save removes only
# what is old; the other computer's fresh file and the copies stay as they were.
#   shared-folder.sh ALMANAC_EXE PRISTINE_PREFIX
set -eu
# shellcheck source=desktop.sh
. "$(dirname "$0")/desktop.sh"
exe=$1
desktop_start "$2"

docs=$(find "$WINEPREFIX/drive_c/users" -mindepth 2 -maxdepth 2 -name Documents -type d ! -path '*/Public/*' | head -n 1)
[ -n "$docs" ] || fail "no documents folder in the prefix"
notes="$docs/我的记事"
mkdir -p "$notes/日历" "$notes/备忘"
printf '　 　\n2030-01-01 休 元旦\n' | iconv -f UTF-8 -t GB18030 >"$notes/节假日安排.txt"

day=15
month_file=$(date +%Y%m)
first_weekday=$(date -d "$(date +%Y-%m)-01" +%w)
column=$(((first_weekday + day - 1) % 7))
row=$(((first_weekday + day - 1) / 7))

# name, age ("" for fresh), whether the save removes it
cat >"$work/beside" <<LIST
$month_file.new.0badf00d.4242.1||stays
$month_file.new.0badf00d.4243.1|2 days ago|goes
$month_file.new|1 hour ago|stays
$month_file.new.4244.1||stays
$month_file.new.4245.1|3 days ago|goes
$month_file (1)|5 days ago|stays
$month_file-办公室电脑||stays
$month_file.conflict|2 days ago|stays
LIST
while IFS='|' read -r name age _; do
    echo "other computer's $name" >"$notes/日历/$name"
    [ -z "$age" ] || touch -d "$age" "$notes/日历/$name"
done <"$work/beside"

program_start "$exe"
window_origin "$(window_wait "$ALMANAC_WINDOW_TITLE")"
sleep 1
program_running || fail "the program ended at start-up (the holiday file's line of blanks)"

CX=$((X + 52 * column))
CY=$((Y + 22 + 21 + 33 * row))
click_at $((CX + 25)) $((CY + 12))
dialog=$(window_wait "输入记事 - $ALMANAC_WINDOW_TITLE")
eval "$(xdotool getwindowgeometry --shell "$dialog")"
at_units() { xdotool mousemove --window "$dialog" $(($1 * WIDTH / 258)) $(($2 * HEIGHT / 130)) click 1; }
at_units 100 50
xdotool type --delay 50 'shared'
at_units 229 14
for _ in $(seq 50); do xdotool search --onlyvisible --name '^输入记事' >/dev/null 2>&1 || break; sleep 0.2; done

printf 'd\000\017\000\006\000\000\000\000\000shared' >"$work/expected"
cmp -s "$notes/日历/$month_file" "$work/expected" || fail "the note file holds $(od -An -c "$notes/日历/$month_file" | tr -s ' ')"
while IFS='|' read -r name _ fate; do
    if [ "$fate" = goes ]; then
        [ ! -e "$notes/日历/$name" ] || fail "'$name' is old and still there"
    else
        [ "$(cat "$notes/日历/$name" 2>/dev/null)" = "other computer's $name" ] || fail "'$name' was removed or changed"
    fi
done <"$work/beside"
leftovers=$(find "$notes/日历" -name "$month_file.new.*" ! -name '*.0badf00d.*' ! -name "$month_file.new.424?.1" | wc -l)
[ "$leftovers" -eq 0 ] || fail "the save left $leftovers temporary files"

window_origin "$(window_wait "$ALMANAC_WINDOW_TITLE")"
end_through_prompt
echo "shared-folder: passed"
