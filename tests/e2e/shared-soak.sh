#!/bin/sh
# A soak of the shared notes folder: two programs in two Wine prefixes and
# a third writer (a careful sync client) add words to notes, reminders and
# the memo at random for a while, each word new ("a0001", "b0001",
# "w0001"). The programs are driven as a person drives them: a day's
# dialog (now and then both programs' dialogs of one day at once), a
# weekday's reminder, the memo pad, each word added at the end of the
# text. At the end every word must be somewhere in the notes folder: in a
# note file, the memo or a copy kept beside them.
#
# Without the third writer (as every test run has it) the two programs'
# saves never meet by chance, and a lost word is a fault. With it, a word
# can still go in the moment between a save's last look at the file and
# its rename, which no replacing write can close; tools/soak-shared-folder.sh
# runs it for minutes and counts.
#   shared-soak.sh ALMANAC_EXE PRISTINE_PREFIX [SECONDS [with-writer]]   (60 s, no writer)
set -eu
# shellcheck source=desktop.sh
. "$(dirname "$0")/desktop.sh"
# shellcheck source=two-programs.sh
. "$(dirname "$0")/two-programs.sh"
: "${ALMANAC_DISPLAY_NAME:?the test run gives the name of the program}"
seconds=${3:-60}
with_writer=${4:-}
two_programs_start "$1" "$2"
both_running || fail "a program ended at start-up"

words="$work/words"
: >"$words"
writer=
if [ "$with_writer" = with-writer ]; then
    note_file write-randomly "$shared" "$seconds" "$words" >"$work/writer.log" &
    writer=$!
fi

count_a=0 count_b=0
# next_word a|b: prints the program's next word.
next_word() {
    if [ "$1" = a ]; then count_a=$((count_a + 1)) && word=$(printf 'a%04d' "$count_a"); else
        count_b=$((count_b + 1)) && word=$(printf 'b%04d' "$count_b"); fi
}
# noted WORD WHAT: the word was typed and confirmed.
noted() { echo "$1 $2" >>"$words"; }

# A box a program opened (it kept two texts, or a memo beside the memo)
# is read and closed before the next step.
close_boxes() { box_gone || tell_box_ok; }

random_below() { echo $(($(od -An -N2 -tu2 /dev/urandom) % $1)); }

# The pad saves a second after the typing stops, and says so if it kept
# another writer's memo: the box is closed before anything else is done.
memo_step() {
    next_word "$1"
    type_memo "$1" " $word"
    noted "$word" "memo-$1"
    sleep 1.8
    close_boxes
}

day_step() {
    day=$(($(random_below 28) + 1))
    next_word "$1"
    dialog=$(open_day "$1" "$day")
    type_into_note "$dialog" " $word"
    confirm_dialog "$dialog" 258 130
    noted "$word" "day-$day-$1"
}

both_dialogs_step() {
    day=$(($(random_below 28) + 1))
    dialog_a=$(open_day a "$day")
    next_word a
    type_into_note "$dialog_a" " $word"
    word_a=$word
    xdotool windowmove "$dialog_a" 20 600  # off b's panel
    dialog_b=$(open_day b "$day" "$dialog_a")
    next_word b
    type_into_note "$dialog_b" " $word"
    confirm_dialog "$dialog_a" 258 130
    noted "$word_a" "day-$day-a-both"
    confirm_dialog "$dialog_b" 258 130
    noted "$word" "day-$day-b-both"
}

weekday_step() {
    next_word "$1"
    write_weekday "$1" "$(random_below 7)" " $word"
    close_boxes
    noted "$word" "week-$1"
}

steps=0
deadline=$(($(date +%s) + seconds))
while [ "$(date +%s)" -lt "$deadline" ]; do
    who=$(if [ "$(random_below 2)" = 0 ]; then echo a; else echo b; fi)
    case $(random_below 11) in
        0 | 1 | 2 | 3 | 4) day_step "$who" ;;
        5 | 6) weekday_step "$who" ;;
        7 | 8 | 9) memo_step "$who" ;;
        10) both_dialogs_step ;;
    esac
    steps=$((steps + 1))
    both_running || fail "a program ended after $steps steps"
done
[ -z "$writer" ] || wait "$writer"
sleep 2
close_boxes
screenshot shared-soak >/dev/null

[ -z "$writer" ] || cat "$work/writer.log" >&8
echo "programs: $steps steps, $count_a words by a, $count_b by b" >&8
if ! note_file find-words "$shared" "$words" >&8; then
    # What is needed to find out how: the folder and which word went where.
    [ -d "${ALMANAC_E2E_SHOTS:-}" ] && cp -a "$shared" "$words" "$ALMANAC_E2E_SHOTS/"
    fail "words were lost"
fi
echo "shared-soak: passed" >&8
