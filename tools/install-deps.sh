#!/bin/sh
# Installs, on Debian 12 as root, whatever the builds and tests need and the
# machine lacks; does nothing when everything is there. Besides Debian's
# packages, that is Google Benchmark's source for the Windows build.
set -eu

packages="
    cmake ninja-build g++ pkg-config python3 git shellcheck
    clang libclang-rt-14-dev
    googletest libgtest-dev libbenchmark-dev liberfa-dev
    g++-mingw-w64-i686 mingw-w64-i686-dev binutils-mingw-w64-i686
    g++-mingw-w64-x86-64 mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
    wine wine32:i386 wine64
    nsis
    xvfb xauth openbox xdotool x11-utils imagemagick
    fonts-arphic-uming fonts-arphic-ukai fonts-arphic-gbsn00lp fonts-arphic-gkai00mp fonts-wqy-zenhei fonts-roboto-unhinted fonts-liberation
"

missing=""
for package in $packages; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed'; then
        missing="$missing $package"
    fi
done
benchmark_source_missing=false
[ -f /usr/local/src/google-benchmark/CMakeLists.txt ] || benchmark_source_missing=true
[ -z "$missing" ] && ! $benchmark_source_missing && exit 0

if [ "$(id -u)" != 0 ]; then
    echo "install-deps: missing:${missing:-} $($benchmark_source_missing && echo "Google Benchmark's source")" >&2
    echo "install-deps: run this as root to install them" >&2
    exit 1
fi

if [ -z "$missing" ]; then
    exec "$(dirname "$0")/fetch-benchmark-source.sh"
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
"$(dirname "$0")/fetch-benchmark-source.sh"
