#!/bin/sh
# Starts the calendar. Until the desktop window exists this builds almanac-cli
# and shows this month's page, its solar terms and today's lunar date.
set -eu
cd "$(dirname "$0")/.."
tools/install-deps.sh

cmake --preset native >/dev/null
cmake --build --preset native --target almanac-cli >/dev/null
cli=build/native/cli/almanac-cli

year=$(date +%Y)
month=$(date +%-m)
today=$(date +%F)
if [ "$year" -lt 1900 ] || [ "$year" -gt 2059 ]; then
    echo "today ($today) lies outside the calendar's range 1900-2059" >&2
    exit 1
fi

"$cli" month "$year" "$month"
echo
echo "Solar terms of $(date +%Y-%m):"
"$cli" terms "$year" | awk -F '\t' -v m="$month" '$1 == m { printf "  %s  day %s, %02d:%02d\n", $6, $3, $4, $5 }'
echo "Today, $today:"
"$cli" days "$today" "$today" | awk -F '\t' '{
    printf "  lunar year %s, %smonth %s, day %s (a %s-day month)%s\n",
        $3, ($6 == 1 ? "leap " : ""), $4, $5, $7, ($8 != "" ? ", " $8 : "") }'
