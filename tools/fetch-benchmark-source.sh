#!/bin/sh
# Unpacks Google Benchmark's source, from Debian's source package, into
# /usr/local/src/google-benchmark for the Windows build's benchmarks (Debian
# ships the library for Linux only). Needs root; does nothing when it is there.
set -eu
target=/usr/local/src/google-benchmark
[ -f "$target/CMakeLists.txt" ] && exit 0

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A private source list, so the machine's own apt configuration is untouched.
printf 'deb-src http://deb.debian.org/debian bookworm main\n' > "$work/sources.list"
mkdir -p "$work/lists/partial"
apt_options="-o Dir::Etc::SourceList=$work/sources.list -o Dir::Etc::SourceParts=/dev/null -o Dir::State::Lists=$work/lists -o APT::Sandbox::User=root"
# shellcheck disable=SC2086
apt-get $apt_options update -q >/dev/null
# shellcheck disable=SC2086
(cd "$work" && apt-get $apt_options source --download-only -q benchmark >/dev/null 2>&1)
mkdir -p "$target"
tar -xzf "$work"/benchmark_*.orig.tar.gz -C "$target" --strip-components=1
echo "fetch-benchmark-source: Google Benchmark's source is in $target"
