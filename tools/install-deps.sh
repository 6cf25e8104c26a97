#!/bin/sh
# Installs, on Debian 12 as root, whatever the builds and tests need and the
# machine lacks; does nothing when everything is there. Besides Debian's
# packages, that is Google Benchmark's source for the Windows build and the
# two npm data sets of the holiday table's generator (tools/holidays, at
# the versions its package-lock.json pins).
set -eu

packages="
    cmake ninja-build g++ pkg-config python3 git shellcheck
    clang libclang-rt-14-dev
    googletest libgtest-dev libbenchmark-dev liberfa-dev
    libical-dev python3-icalendar python3-icu
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
# Node and npm from Debian, unless the machine has them already (from any
# source: Debian's npm conflicts with other builds of nodejs).
if ! command -v node >/dev/null 2>&1 || ! command -v npm >/dev/null 2>&1; then
    missing="$missing nodejs npm"
fi
benchmark_source_missing=false
[ -f /usr/local/src/google-benchmark/CMakeLists.txt ] || benchmark_source_missing=true
holidays=$(cd "$(dirname "$0")/holidays" && pwd)
# Installed when every package of package.json is there at its version.
holiday_sources_missing=true
if command -v node >/dev/null 2>&1 && (cd "$holidays" && node -e '
    const wanted = require("./package.json").dependencies;
    for (const [name, version] of Object.entries(wanted))
        if (require("./node_modules/" + name + "/package.json").version !== version) process.exit(1);
' 2>/dev/null); then
    holiday_sources_missing=false
fi
install_holiday_sources() {
    if $holiday_sources_missing; then
        echo "install-deps: installing the holiday data sets (npm ci in tools/holidays)"
        if ! (cd "$holidays" && npm ci --no-audit --no-fund); then
            echo "install-deps: the holiday data sets could not be installed (npm ci in tools/holidays)" >&2
            exit 1
        fi
    fi
}
[ -z "$missing" ] && ! $benchmark_source_missing && ! $holiday_sources_missing && exit 0

if [ "$(id -u)" != 0 ]; then
    # The holiday data sets go into the repository: no root needed for them.
    if [ -z "$missing" ] && ! $benchmark_source_missing; then
        install_holiday_sources
        exit 0
    fi
    # Everything else needs root: name all of it.
    [ -n "$missing" ] && echo "install-deps: missing Debian packages:$missing" >&2
    $benchmark_source_missing &&
        echo "install-deps: missing Google Benchmark's source (/usr/local/src/google-benchmark)" >&2
    $holiday_sources_missing && echo "install-deps: missing the holiday data sets (npm ci in tools/holidays)" >&2
    echo "install-deps: run this as root to install them" >&2
    exit 1
fi

if [ -z "$missing" ]; then
    install_holiday_sources
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
install_holiday_sources
"$(dirname "$0")/fetch-benchmark-source.sh"
