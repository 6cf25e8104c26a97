# shellcheck shell=sh
# Helpers for driving the real almanac.exe on a virtual display, sourced by
# the end-to-end tests: a private Wine prefix, an Xvfb display with a window
# manager (tools/virtual-display.sh), xdotool for the pointer and the
# keyboard, ImageMagick for screenshots.

# fail MESSAGE: says what went wrong and ends the test; the display as it
# was is kept as failure.png where screenshots are kept.
fail() {
    failed=1
    echo "FAIL: $*" >&8 2>/dev/null || echo "FAIL: $*" >&2
    if [ -n "${DISPLAY:-}" ] && [ -d "${work:-}" ] && [ -d "${ALMANAC_E2E_SHOTS:-}" ]; then
        import -window root "$ALMANAC_E2E_SHOTS/failure.png" 2>/dev/null || true
    fi
    exit 1
}

# The main window's title comes from the build, as the program has it.
: "${ALMANAC_WINDOW_TITLE:?the test run gives the title of the main window}"

root=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=../../tools/wine-arch.sh
. "$root/tools/wine-arch.sh"
# shellcheck source=../../tools/virtual-display.sh
. "$root/tools/virtual-display.sh"

# desktop_start PRISTINE_PREFIX: a copy of the prefix and a display of our own.
# From here on every command is traced into "$work/trace": a script that
# stops without a FAIL line (a command failed under set -e) shows its last
# steps when it ends.
desktop_start() {
    work=$(mktemp -d "${TMPDIR:-/tmp}/almanac-e2e.XXXXXX")
    exec 8>&2 2>"$work/trace"
    set -x
    export WINEPREFIX="$work/prefix" WINEDEBUG=-all
    cp -a "$1/." "$WINEPREFIX/"
    trap desktop_stop EXIT INT TERM
    virtual_display_start "$work" || fail "the virtual display (Xvfb, openbox) did not start"
}

# desktop_stop [STATUS]: ends what desktop_start began (STATUS: how the
# script ends, when the caller's trap ran other commands first).
desktop_stop() {
    status=${1:-$?}
    set +x
    if [ "$status" -ne 0 ] && [ -z "${failed:-}" ]; then
        echo "FAIL: the script stopped (status $status) after these steps:" >&8
        tail -n 25 "$work/trace" >&8
    fi
    exec 2>&8
    wineserver -k 2>/dev/null || true
    virtual_display_stop
    wait 2>/dev/null || true
    rm -rf "$work"
}

# program_start EXE: starts the program in the background.
program_start() {
    (cd "$work" && wine "$1" >/dev/null 2>&1) &
    program_pid=$!
}

program_running() { kill -0 "$program_pid" 2>/dev/null; }

# window_wait NAME: prints the X window id of the first window of that name.
window_wait() {
    for _ in $(seq 150); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1) || true
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.2
    done
    fail "no window named '$1'"
}

# window_origin ID: sets X and Y to the window's top-left corner on the screen.
window_origin() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
}

# screenshot NAME: a screenshot of the display in "$work/NAME.png" (and kept
# in $ALMANAC_E2E_SHOTS when that names a folder); prints the file's path.
screenshot() {
    import -window root "$work/$1.png"
    [ -d "${ALMANAC_E2E_SHOTS:-}" ] && cp "$work/$1.png" "$ALMANAC_E2E_SHOTS/$1.png"
    echo "$work/$1.png"
}

# pixel FILE X Y: "r,g,b".
pixel() {
    convert "$1" -format "%[fx:int(255*p{$2,$3}.r+.5)],%[fx:int(255*p{$2,$3}.g+.5)],%[fx:int(255*p{$2,$3}.b+.5)]" info:
}

expect_pixel() {
    got=$(pixel "$1" "$2" "$3")
    [ "$got" = "$4" ] || fail "pixel ($2, $3) is $got, expected $4 ($5)"
}

# count_colour FILE W H X Y R,G,B: how many pixels of the rectangle have the colour.
count_colour() {
    convert "$1" -crop "${2}x${3}+${4}+${5}" +repage -fill black +opaque "rgb($6)" -fill white -opaque "rgb($6)" \
        -format '%[fx:int(mean*w*h+.5)]' info:
}

click_at() { xdotool mousemove "$1" "$2" click 1; }

# end_through_prompt: "×" on the calendar at (X, Y), then "结束程序" (the
# prompt's first button, which has the focus) with the space bar; the
# program must end.
end_through_prompt() {
    click_at $((X + 343)) $((Y + 10))
    window_wait 提示 >/dev/null
    xdotool key space
    for _ in $(seq 50); do program_running || break; sleep 0.2; done
    program_running && fail "the program did not end"
    return 0
}

# registry_has KEY VALUE: the value exists in the prefix's registry.
registry_has() { wine reg query "$1" /v "$2" >/dev/null 2>&1; }
