#!/bin/sh
# Checks every shell script of the repository, each *.sh file, the Wine
# shims in tools/wine64 and the CI's entry points in .ci: it parses under sh and under bash, and shellcheck
# (settings in .shellcheckrc) finds nothing. The native test run runs it.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
if ! command -v shellcheck >/dev/null; then
    echo "check-scripts: shellcheck is missing (tools/install-deps.sh installs it)" >&2
    exit 1
fi

list=$(mktemp)
trap 'rm -f "$list"' EXIT
{
    find "$root" \( -path "$root/build" -o -name .git \) -prune -o -type f -name '*.sh' -print
    find "$root/tools/wine64" "$root/.ci" -type f
} | sort >"$list"

failed=0
count=0
while IFS= read -r script; do
    count=$((count + 1))
    sh -n "$script" || failed=1
    bash -n "$script" || failed=1
    shellcheck "$script" || failed=1
done <"$list"

if [ "$failed" != 0 ]; then
    echo "check-scripts: some of the $count scripts fail" >&2
    exit 1
fi
echo "check-scripts: $count scripts pass"
