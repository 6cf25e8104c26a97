# shellcheck shell=sh
# Sourced by the scripts that show the calendar on a display of their own
# (tools/start-calendar.sh, tests/e2e/desktop.sh): an Xvfb display with a
# window manager, openbox. Without a window manager focus and keys never
# reach Wine's windows.

# virtual_display_start FOLDER: starts both and exports DISPLAY; Xvfb names
# its display in FOLDER/display. Returns 1 when Xvfb or openbox did not come
# up within ten seconds. virtual_display_stop ends what it started.
virtual_display_start() {
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$1/display" 2>/dev/null &
    xvfb_pid=$!
    for _ in $(seq 100); do [ -s "$1/display" ] && break; sleep 0.1; done
    [ -s "$1/display" ] || return 1
    DISPLAY=":$(cat "$1/display")"
    export DISPLAY
    openbox >/dev/null 2>&1 &
    openbox_pid=$!
    # openbox names itself on the root window once it manages the screen.
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
        sleep 0.1
    done
    return 1
}

virtual_display_stop() {
    kill ${openbox_pid:+"$openbox_pid"} ${xvfb_pid:+"$xvfb_pid"} 2>/dev/null || true
}
