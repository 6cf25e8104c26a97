#!/bin/sh
# The installer and its uninstaller as a Windows user meets them, run
# silently (/S) in a fresh Wine prefix on a virtual display:
# - an installation puts the program, the read-me, the uninstaller, the
#   Start-menu shortcut and the entry in the list of installed programs in
#   place, under %LOCALAPPDATA%\Programs;
# - the installed program starts and makes its notes folder;
# - a second installation ends the running calendar and upgrades in place;
# - the uninstaller ends the running calendar and removes what was installed
#   and the autostart value, and leaves the notes, the memo and the settings;
# - an installation elsewhere (/D) is upgraded there, and an autostart value
#   that names another copy of the program, still there, stays.
#   installer.sh SETUP_EXE ALMANAC_EXE VERSION PRISTINE_PREFIX
set -eu
# shellcheck source-path=SCRIPTDIR source=../e2e/desktop.sh
. "$(dirname "$0")/../e2e/desktop.sh"
setup=$1
exe=$2
version=$3
desktop_start "$4"
# One Wine server for the whole test: a program started just as an idle
# server shuts down can fail to reach it.
wineserver -p

user=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 ! -name Public -printf '%f\n' | head -n 1)
profile="$WINEPREFIX/drive_c/users/$user"
place="$profile/AppData/Local/Programs/Kelvadar"
win_place="C:\\users\\$user\\AppData\\Local\\Programs\\Kelvadar"
shortcut="$profile/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Kelvadar 农历桌面日历.lnk"
notes="$profile/Documents/我的记事"
entry='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kelvadar'
run='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
settings='HKCU\Software\Orvane\Kelvadar'

# registry_value KEY NAME: the value's data, nothing when it is missing.
registry_value() {
    wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}

# registry_export KEY: the key as regedit writes it, in UTF-8 ("wine reg
# query" prints what its code page lacks, Chinese included, as "?").
registry_export() {
    wine reg export "$1" "$work/export.reg" /y >/dev/null 2>&1 || return 0
    iconv -f UTF-16 -t UTF-8 "$work/export.reg" | tr -d '\r'
}

expect_value() { # KEY NAME DATA
    got=$(registry_value "$1" "$2")
    [ "$got" = "$3" ] || fail "$1 $2 is '$got', expected '$3'"
}

install_silently() { # [/D=FOLDER]
    wine "$setup" /S "$@" || fail "the installer failed with status $?"
}

# uninstall WINDOWS_FOLDER: as the list of installed programs runs it. The
# uninstaller copies itself out of the folder and goes on from there, so
# this waits for the entry to go, the last thing it removes.
uninstall() {
    wine "$1\\uninstall.exe" /S || fail "the uninstaller failed with status $?"
    for _ in $(seq 150); do
        wine reg query "$entry" >/dev/null 2>&1 || return 0
        sleep 0.2
    done
    fail "the uninstaller left the entry in the list of installed programs"
}

expect_installed() { # FOLDER WINDOWS_FOLDER
    cmp -s "$1/almanac.exe" "$exe" || fail "no almanac.exe as built in $1"
    grep -q "Kelvadar 农历桌面日历 $version" "$1/README.txt" || fail "no read-me of $version in $1"
    [ -f "$1/uninstall.exe" ] || fail "no uninstaller in $1"
    [ "$(find "$1" -type f | wc -l)" = 3 ] || fail "$1 holds $(ls -A "$1")"
    [ -f "$shortcut" ] || fail "no Start-menu shortcut"
    grep -a -q -F "$2\\almanac.exe" "$shortcut" || fail "the shortcut does not lead to $2\\almanac.exe"
    registry_export "$entry" | grep -qxF '"DisplayName"="Kelvadar 农历桌面日历"' || fail "no DisplayName in the entry"
    expect_value "$entry" DisplayVersion "$version"
    expect_value "$entry" Publisher Orvane
    expect_value "$entry" DisplayIcon "$2\\almanac.exe"
    expect_value "$entry" InstallLocation "$2"
    expect_value "$entry" UninstallString "\"$2\\uninstall.exe\""
    expect_value "$entry" QuietUninstallString "\"$2\\uninstall.exe\" /S"
    size_kb=$(registry_value "$entry" EstimatedSize)
    [ -n "$size_kb" ] || fail "no EstimatedSize in the entry"
    [ "$((size_kb))" -ge "$(($(wc -c <"$exe") / 1024))" ] || fail "EstimatedSize is $size_kb KB, less than the program"
}

calendar_start() { # WINDOWS_PATH
    program_start "$1"
    window_wait "$ALMANAC_WINDOW_TITLE" >/dev/null
}

calendar_ended() {
    for _ in $(seq 50); do program_running || return 0; sleep 0.2; done
    fail "$1 left the calendar running"
}

# A fresh installation, and the installed program's first start.
install_silently
expect_installed "$place" "$win_place"
[ ! -e "$notes" ] || fail "the installer made the notes folder"
calendar_start "$win_place\\almanac.exe"
notes_folder_made() { [ -d "$notes/日历" ] && [ -d "$notes/备忘" ]; }
for _ in $(seq 50); do notes_folder_made && break; sleep 0.2; done
notes_folder_made || fail "the installed program made no notes folder"
expect_value "$run" Kelvadar "$win_place\\almanac.exe"

# The user's things: a note (one-off, day 15: "meeting at 3"), the memo
# ("买米" in GB18030) and a setting beside those the program wrote.
printf 'd\000\017\000\014\000\000\000\000\000meeting at 3' >"$notes/日历/$(date +%Y%m)"
printf '\302\362\303\327' >"$notes/备忘/default"
wine reg add "$settings" /v PosX /d 40 /f >/dev/null 2>&1

# An upgrade over the running calendar of an older installation.
printf 'old read-me\r\n' >"$place/README.txt"
wine reg add "$entry" /v DisplayVersion /d 2.0 /f >/dev/null 2>&1
install_silently
calendar_ended "the upgrade"
expect_installed "$place" "$win_place"
expect_value "$run" Kelvadar "$win_place\\almanac.exe"

# The uninstaller, with the calendar running.
calendar_start "$win_place\\almanac.exe"
cp -a "$notes" "$work/notes-before"
wine reg query "$settings" >"$work/settings-before" 2>&1
grep -q PosX "$work/settings-before" || fail "no settings to keep"
uninstall "$win_place"
calendar_ended "the uninstaller"
[ ! -e "$place" ] || fail "the uninstaller left $place: $(ls -A "$place")"
[ ! -e "$shortcut" ] || fail "the uninstaller left the Start-menu shortcut"
registry_has "$run" Kelvadar && fail "the uninstaller left the autostart value"
diff -r "$work/notes-before" "$notes" >&2 || fail "the uninstaller changed the notes folder"
wine reg query "$settings" 2>&1 | cmp -s - "$work/settings-before" || fail "the uninstaller changed the settings"

# Elsewhere: the upgrade finds the installation there. An autostart value
# that names a copy still on the disk is that copy's and stays.
elsewhere="$WINEPREFIX/drive_c/Calendar/Kelvadar"
win_elsewhere='C:\Calendar\Kelvadar'
install_silently "/D=$win_elsewhere"
expect_installed "$elsewhere" "$win_elsewhere"
install_silently
expect_installed "$elsewhere" "$win_elsewhere"
[ ! -e "$place" ] || fail "the upgrade went to the default folder, not over the installation"
mkdir -p "$WINEPREFIX/drive_c/portable"
cp "$exe" "$WINEPREFIX/drive_c/portable/almanac.exe"
wine reg add "$run" /v Kelvadar /d 'C:\portable\almanac.exe' /f >/dev/null 2>&1
uninstall "$win_elsewhere"
[ ! -e "$elsewhere" ] || fail "the uninstaller left $elsewhere"
expect_value "$run" Kelvadar 'C:\portable\almanac.exe'
echo "packaging.installer: passed"
