#!/bin/sh
# Two computers share the notes folder through a sync service: two programs
# in two Wine prefixes, one 我的记事, and now and then a third writer that
# replaces files as a sync client does. Both write the same month, the week
# file and the memo; what one writes shows on the other without a click,
# and no text anybody wrote is lost:
# - a's note of day 15 shows on b's panel, and b's dialog opens with it;
# - both dialogs of day 16 open at once: the second OK keeps both texts
#   and says so;
# - a and b write reminders of two weekdays into the one week file;
# - memo: a types, b's pad takes it and b types on, a's pad takes that;
# - b's dialog of day 17 is open while the other writer changes days 17
#   and 18: both stay, and a's panel shows day 18;
# - a's pad holds unsaved typing while the other writer replaces the memo:
#   the other text is kept beside it, a is told where.
#   two-computers.sh ALMANAC_EXE PRISTINE_PREFIX
set -eu
# shellcheck source=desktop.sh
. "$(dirname "$0")/desktop.sh"
# shellcheck source=two-programs.sh
. "$(dirname "$0")/two-programs.sh"
: "${ALMANAC_DISPLAY_NAME:?the test run gives the name of the program}"
two_programs_start "$1" "$2"
both_running || fail "a program ended at start-up"

from_elsewhere=$(printf '\r\n\r\n（同时另一处写下：）\r\n.')
from_elsewhere=${from_elsewhere%.}

# Day 15: a writes; b shows it and adds to it.
dialog=$(open_day a 15)
type_into_note "$dialog" A15
note_dialog_ok "$dialog"
slot_is 15 A15 || fail "day 15 holds '$(note_file get "$month_file" 15)'"
until_true 5 marked_one_off b 15 || fail "b's panel does not mark day 15"
dialog=$(open_day b 15)
type_into_note "$dialog" ' B15'
note_dialog_ok "$dialog"
slot_is 15 'A15 B15' || fail "day 15 holds '$(note_file get "$month_file" 15)' (b's dialog did not open with a's note)"

# Day 16: both dialogs open at once.
dialog_a=$(open_day a 16)
type_into_note "$dialog_a" A16
dialog_b=$(open_day b 16 "$dialog_a")
type_into_note "$dialog_b" B16
note_dialog_ok "$dialog_a"
slot_is 16 A16 || fail "day 16 holds '$(note_file get "$month_file" 16)'"
in_dialog "$dialog_b" 258 130 229 14
tell_box_ok
wait_closed "$dialog_b"
slot_is 16 "B16${from_elsewhere}A16" || fail "day 16 holds '$(note_file get "$month_file" 16)'"

# The week file: a's Monday, b's Tuesday.
write_weekday a 1 A-Mon
write_weekday b 2 B-Tue
if [ "$(note_file get "$shared/日历/week" 1)" != A-Mon ] || [ "$(note_file get "$shared/日历/week" 2)" != B-Tue ]; then
    fail "the week file holds '$(note_file get "$shared/日历/week" 1)' and '$(note_file get "$shared/日历/week" 2)'"
fi

# The memo, in turns.
type_memo a A-memo
until_true 5 memo_is A-memo || fail "a's memo was not saved: '$(note_file text "$shared/备忘/default")'"
sleep 1
type_memo b ' B-memo'
until_true 5 memo_is 'A-memo B-memo' || fail "the memo holds '$(note_file text "$shared/备忘/default")'"
sleep 1
type_memo a ' A2'
until_true 5 memo_is 'A-memo B-memo A2' || fail "the memo holds '$(note_file text "$shared/备忘/default")'"

# Another writer while b's dialog of day 17 is open.
dialog=$(open_day b 17)
type_into_note "$dialog" B17
note_file set "$month_file" 17 W17
note_file set "$month_file" 18 W18
in_dialog "$dialog" 258 130 229 14
tell_box_ok
wait_closed "$dialog"
slot_is 17 "B17${from_elsewhere}W17" || fail "day 17 holds '$(note_file get "$month_file" 17)'"
slot_is 18 W18 || fail "day 18 holds '$(note_file get "$month_file" 18)'"
until_true 5 marked_one_off a 18 || fail "a's panel does not mark day 18"

# Another writer while a's pad holds typing not yet saved.
type_memo a ' A3'
note_file write-text "$shared/备忘/default" W-memo
tell_box_ok
memo_is 'A-memo B-memo A2 A3' || fail "the memo holds '$(note_file text "$shared/备忘/default")'"
kept=$(find "$shared/备忘" -name '另一处的备忘 *.txt')
if [ "$(printf '%s\n' "$kept" | grep -c .)" != 1 ] || [ "$(note_file text "$kept")" != W-memo ]; then
    fail "the other writer's memo was not kept beside it: $(ls "$shared/备忘")"
fi

both_running || fail "a program ended"
screenshot two-computers >/dev/null
echo "two-computers: passed"
