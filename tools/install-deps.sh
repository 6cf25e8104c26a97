#!/bin/sh
# Installs, on Debian 12 as root, whatever the builds and tests need and the
# machine lacks; does nothing when everything is there.
set -eu

packages="
    cmake ninja-build g++ pkg-config python3 git
    googletest libgtest-dev libbenchmark-dev liberfa-dev
    g++-mingw-w64-i686 mingw-w64-i686-dev binutils-mingw-w64-i686
    wine wine32:i386 wine64
    xvfb xauth openbox xdotool x11-utils imagemagick
    fonts-wqy-zenhei fonts-liberation
"

missing=""
for package in $packages; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed'; then
        missing="$missing $package"
    fi
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" != 0 ]; then
    echo "install-deps: these Debian packages are missing:$missing" >&2
    echo "install-deps: run as root (or install them) and try again" >&2
    exit 1
fi

echo "install-deps: installing$missing"
case " $(dpkg --print-foreign-architectures | tr '\n' ' ') " in
*" i386 "*) ;;
*) dpkg --add-architecture i386 ;;
esac
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
# shellcheck disable=SC2086
apt-get install -y -q --no-install-recommends $missing
