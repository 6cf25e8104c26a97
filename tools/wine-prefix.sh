#!/bin/sh
# Creates or removes a Wine prefix for the Windows build (32-bit, or 64-bit
# where the kernel runs no 32-bit programs: tools/wine-arch.sh).
#
#   tools/wine-prefix.sh create PREFIX   a fresh prefix (an old one is removed)
#   tools/wine-prefix.sh ensure PREFIX   creates the prefix unless it exists
#   tools/wine-prefix.sh create-for-tests PREFIX
#                                        a fresh prefix and a pristine copy of
#                                        it beside it (PREFIX.pristine)
#   tools/wine-prefix.sh remove PREFIX   stops its Wine server and deletes it
#
# The prefix gets the font replacements of tools/wine-fonts.reg, so that the
# faces the calendar names render with Debian's fonts, and shows its windows
# on $DISPLAY when there is one, headless (Wine's null driver) otherwise.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
# shellcheck source=wine-arch.sh
. "$here/wine-arch.sh"
usage="usage: wine-prefix.sh create|ensure|create-for-tests|remove PREFIX"
action=${1:?$usage}
prefix=${2:?$usage}
export WINEPREFIX="$prefix" WINEDEBUG=-all

stop_server() {
    if [ -d "$prefix" ]; then
        wineserver -k 2>/dev/null || true
        wineserver -w 2>/dev/null || true
    fi
}

for_tests=false
if [ "$action" = ensure ]; then
    [ -f "$prefix/almanac-fonts.reg" ] && exit 0
    action=create
elif [ "$action" = create-for-tests ]; then
    for_tests=true
    action=create
fi

case "$action" in
create)
    stop_server
    rm -rf "$prefix" "$prefix.pristine"
    mkdir -p "$(dirname "$prefix")"
    # No Mono or Gecko: nothing here needs them, and asking for them stalls.
    # No menu entries in the home folder either.
    export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
    if [ "$for_tests" = true ]; then
        # A test prefix gets folders of its own for Documents and the like,
        # not links into a home folder (where the calendar's notes would land).
        empty_home=$(mktemp -d)
        (unset DISPLAY; HOME="$empty_home" wineboot --init >/dev/null 2>&1)
        rm -rf "$empty_home"
        for folder in "$prefix"/drive_c/users/*/*; do
            if [ -L "$folder" ]; then rm "$folder" && mkdir "$folder"; fi
        done
    else
        wineboot --init >/dev/null 2>&1
    fi
    # regedit reads UTF-16 with a byte-order mark, whatever the host's locale.
    fonts_reg="$prefix/almanac-fonts.reg"
    { printf '\377\376'; sed 's/$/\r/' "$here/wine-fonts.reg" | iconv -f UTF-8 -t UTF-16LE; } > "$fonts_reg"
    wine regedit /S "$fonts_reg" >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d x11,null /f >/dev/null 2>&1
    wineserver -w
    if [ "$for_tests" = true ]; then
        # A pristine copy, for tests that run in a private prefix of their own.
        cp -a "$prefix" "$prefix.pristine"
    fi
    echo "Wine prefix ready: $prefix"
    ;;
remove)
    stop_server
    rm -rf "$prefix" "$prefix.pristine"
    ;;
*)
    echo "$usage" >&2
    exit 2
    ;;
esac
