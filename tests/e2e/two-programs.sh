# shellcheck shell=sh
# shellcheck disable=SC2154  # root and work: desktop.sh, sourced first
# Two computers sharing one notes folder, as a sync service makes them: two
# Wine prefixes (two wineservers, two registries), each with its own
# almanac.exe, whose documents folders hold the same 我的记事. Program "a"
# sits at the left of the display with its memo pad under it, "b" at the
# right. Sourced by the end-to-end test and the soak; desktop.sh first.

# note_file ARGS: tests/e2e/note_file.py, which reads and writes the files
# as another writer does.
note_file() { python3 "$root/tests/e2e/note_file.py" "$@"; }

# Where each program stands (registry settings): panel and memo pad.
panel_y=20 memo_y=330
panel_x() { if [ "$1" = a ]; then echo 20; else echo 440; fi; }

# two_programs_start EXE PRISTINE_PREFIX: both running; sets $shared (the
# notes folder) and $month_file (this month's note file).
two_programs_start() {
    exe=$1
    desktop_start "$2"
    prefix_a=$WINEPREFIX
    prefix_b="$work/prefix-b"
    mkdir -p "$prefix_b"
    cp -a "$2/." "$prefix_b/"
    trap 'status=$?; WINEPREFIX=$prefix_b wineserver -k 2>/dev/null || true; desktop_stop $status' EXIT INT TERM
    shared="$work/shared/我的记事"
    mkdir -p "$shared/日历" "$shared/备忘"
    month_file="$shared/日历/$(date +%Y%m)"
    for which in a b; do
        if [ "$which" = a ]; then prefix=$prefix_a; else prefix=$prefix_b; fi
        x=$(panel_x "$which")
        docs=$(find "$prefix/drive_c/users" -mindepth 2 -maxdepth 2 -name Documents ! -path '*/Public/*' | head -n 1)
        [ -d "$docs" ] || fail "no documents folder in prefix $which"
        ln -s "$shared" "$docs/我的记事"
        printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Orvane\\Kelvadar]\n"PosX"="%s"\n"PosY"="%s"\n"MemoShow"="1"\n"MemoX"="%s"\n"MemoY"="%s"\n' \
            "$x" "$panel_y" "$x" "$memo_y" >"$work/settings-$which.reg"
        WINEPREFIX=$prefix wine reg import "$work/settings-$which.reg" >/dev/null 2>&1 ||
            fail "the settings of program $which could not be written"
        (cd "$work" && WINEPREFIX=$prefix wine "$exe" >/dev/null 2>&1) &
        if [ "$which" = a ]; then pid_a=$!; else pid_b=$!; fi
    done
    for _ in $(seq 150); do
        [ "$(xdotool search --onlyvisible --name "^$ALMANAC_WINDOW_TITLE\$" 2>/dev/null | wc -l)" -ge 2 ] && break
        sleep 0.2
    done
    panel a
    panel b
    sleep 2  # past the second tick (embedding, today's pop-up)
}

both_running() { kill -0 "$pid_a" 2>/dev/null && kill -0 "$pid_b" 2>/dev/null; }

# panel a|b: X and Y of that program's panel.
panel() {
    for id in $(xdotool search --onlyvisible --name "^$ALMANAC_WINDOW_TITLE\$" 2>/dev/null); do
        # A window may go between the search and this (the panel goes into
        # the desktop at the second tick).
        geometry=$(xdotool getwindowgeometry --shell "$id" 2>/dev/null) || continue
        eval "$geometry"
        if [ "$1" = a ] && [ "$X" -lt 400 ]; then return 0; fi
        if [ "$1" = b ] && [ "$X" -ge 400 ]; then return 0; fi
    done
    fail "no panel of program $1"
}

# cell DAY: CX, CY, the top-left of the day's cell on the panel at X, Y.
cell() {
    first_weekday=$(date -d "$(date +%Y-%m)-01" +%w)
    CX=$((X + 52 * ((first_weekday + $1 - 1) % 7)))
    CY=$((Y + 22 + 21 + 33 * ((first_weekday + $1 - 1) / 7)))
}

# dialog_other_than TITLE ID: waits for a window of that title other than
# ID (another program's dialog of the same name) and prints it.
dialog_other_than() {
    for _ in $(seq 100); do
        for id in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null); do
            [ "$id" != "$2" ] && echo "$id" && return 0
        done
        sleep 0.1
    done
    fail "no window '$1' (other than $2)"
}

# in_dialog ID UNITS_W UNITS_H UX UY: clicks the dialog at dialog units.
in_dialog() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xdotool mousemove --window "$1" $(($4 * WIDTH / $2)) $(($5 * HEIGHT / $3)) click 1
}

closed() { ! xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }

# wait_closed ID
wait_closed() {
    for _ in $(seq 50); do closed "$1" && return 0; sleep 0.1; done
    fail "window $1 stayed open"
}

# open_day a|b DAY: opens that program's dialog of the day; prints its id.
open_day() {
    panel "$1"
    cell "$2"
    click_at $((CX + 25)) $((CY + 12))
    dialog_other_than "输入记事 - $ALMANAC_WINDOW_TITLE" "${3:-none}"
}

# note_dialog_ok ID: 确定 in a note dialog.
note_dialog_ok() {
    in_dialog "$1" 258 130 229 14
    wait_closed "$1"
}

# type_into_note ID TEXT: the caret is at the end of the day's note.
type_into_note() {
    in_dialog "$1" 258 130 100 50
    xdotool key ctrl+End
    xdotool type --delay 30 "$2"
}

# write_weekday a|b WEEKDAY TEXT: the weekday's reminder gets TEXT added.
write_weekday() {
    panel "$1"
    click_at $((X + 52 * $2 + 25)) $((Y + 22 + 10))
    dialog=$(window_wait 每周提示)
    in_dialog "$dialog" 258 45 100 30
    xdotool key End
    xdotool type --delay 30 "$3"
    confirm_dialog "$dialog" 258 45
}

# confirm_dialog ID UNITS_W UNITS_H: 确定 in a note dialog; when it first
# says that it kept another writer's text too, that box is closed.
confirm_dialog() {
    in_dialog "$1" "$2" "$3" 229 14
    for _ in $(seq 30); do
        closed "$1" && return 0
        box_gone || tell_box_ok
        sleep 0.1
    done
    wait_closed "$1"
}

# type_memo a|b TEXT: clicks into that program's memo pad, at the end.
type_memo() {
    click_at $(($(panel_x "$1") + 110)) $((memo_y + 100))
    xdotool key ctrl+End
    xdotool type --delay 30 "$2"
}

# tell_box_ok: waits for the program's message box and presses Return on
# it (it has the keyboard when it opens; Wine may give its X window anew
# as it activates, so the keys go to the focus, not to a window id).
tell_box_ok() {
    window_wait "$ALMANAC_DISPLAY_NAME" >/dev/null
    for _ in 1 2 3 4 5; do
        sleep 0.3
        box=$(xdotool search --onlyvisible --name "^$ALMANAC_DISPLAY_NAME\$" 2>/dev/null | head -n 1) || true
        [ -n "$box" ] || return 0
        xdotool windowactivate --sync "$box" 2>/dev/null || true
        xdotool key Return
        until_true 2 box_gone && return 0
    done
    fail "the message box stayed"
}
box_gone() { ! xdotool search --onlyvisible --name "^$ALMANAC_DISPLAY_NAME\$" >/dev/null 2>&1; }

# until_true SECONDS COMMAND...: runs COMMAND every 0.2 s until it succeeds.
until_true() {
    limit=$(($1 * 5))
    shift
    for _ in $(seq "$limit"); do "$@" && return 0; sleep 0.2; done
    return 1
}

slot_is() { [ "$(note_file get "$month_file" "$1")" = "$2" ]; }
memo_is() { [ "$(note_file text "$shared/备忘/default")" = "$1" ]; }

# marked_one_off a|b DAY: the day's cell on that panel has the one-off
# note colour.
marked_one_off() {
    panel "$1"
    cell "$2"
    shot=$(screenshot "marked-$1-$2")
    [ "$(count_colour "$shot" 40 20 $((CX + 5)) $((CY + 8)) 135,206,250)" -gt 200 ]
}
