#!/bin/sh
# The shared notes folder's soak, for as long as asked: two programs in two
# Wine prefixes and a third writer that replaces files as a careful sync
# client does add new words at random to days, weekday reminders and the
# memo; at the end it counts the edits made, the words found in the notes
# folder (notes, memo, copies kept beside them) and the words lost, and
# keeps the folder of a run that lost any in build/soak. Needs the Windows
# build (command 2 of the README makes it).
#   tools/soak-shared-folder.sh [MINUTES]   (default 10)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=wine-arch.sh
. "$root/tools/wine-arch.sh"
minutes=${1:-10}
build="$root/build/$ALMANAC_WINDOWS_PRESET"
if [ ! -x "$build/app/almanac.exe" ]; then
    echo "soak: no $build/app/almanac.exe: build the Windows preset first" >&2
    exit 2
fi
title=$(sed -n 's/^#define ALMANAC_WINDOW_TITLE "\(.*\)"$/\1/p' "$build/generated/resources/Version.h")
name=$(sed -n 's/^set(ALMANAC_DISPLAY_NAME "\(.*\)")$/\1/p' "$root/CMakeLists.txt")
if [ -z "$title" ] || [ -z "$name" ]; then
    echo "soak: the title or the name of the program was not found" >&2
    exit 2
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/almanac-soak.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM
"$root/tools/wine-prefix.sh" create-for-tests "$work/prefix" >/dev/null
mkdir -p "$root/build/soak"
ALMANAC_WINDOW_TITLE=$title ALMANAC_DISPLAY_NAME=$name ALMANAC_E2E_SHOTS="$root/build/soak" \
    sh "$root/tests/e2e/shared-soak.sh" "$build/app/almanac.exe" "$work/prefix.pristine" $((minutes * 60)) with-writer
