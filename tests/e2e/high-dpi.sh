#!/bin/sh
# The real almanac.exe at 144 dpi, on a virtual display: the panel is
# 545 × 420, its parts are drawn at their scaled places, and clicks at the
# scaled places of "下月", "上月" and "×" work.
#   high-dpi.sh ALMANAC_EXE PRISTINE_PREFIX
set -eu
# shellcheck source=desktop.sh
. "$(dirname "$0")/desktop.sh"
exe=$1
desktop_start "$2"
for key in 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' 'HKCU\Control Panel\Desktop'; do
    wine reg add "$key" /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
done
wineserver -w

program_start "$exe"
calendar=$(window_wait "$ALMANAC_WINDOW_TITLE")
window_origin "$calendar"
if [ "$WIDTH" != 545 ] || [ "$HEIGHT" != 420 ]; then fail "the panel is $WIDTH × $HEIGHT, not 545 × 420"; fi
xdotool mousemove $((X + 5)) $((Y + 405))  # off the grid
sleep 3  # past the second tick
shot=$(screenshot high-dpi-today)

# The design's places times 1.5, to the nearest pixel.
grid=$((Y + 33))
expect_pixel "$shot" $((X + 480)) $((Y + 18)) 50,80,90 "the top strip"
expect_pixel "$shot" $((X + 68)) $((grid + 15)) 72,61,139 "the weekday header"
expect_pixel "$shot" $((X + 77)) $((grid + 150)) 0,0,0 "the line between cells"
expect_pixel "$shot" $((X + 76)) $((grid + 150)) 245,245,230 "a cell left of the line"
expect_pixel "$shot" $((X + 78)) $((grid + 150)) 245,245,230 "a cell right of the line"
expect_pixel "$shot" $((X + 540)) $((grid + 354)) 255,215,0 "the gold strip"
[ "$(count_colour "$shot" 45 25 $((X + 285)) $((Y + 5)) 189,183,107)" -gt 30 ] || fail "上月 is not where it belongs"
ring=$(count_colour "$shot" 545 357 "$X" "$grid" 0,255,255)
[ "$ring" -gt 150 ] || fail "today is not ringed ($ring pixels of the today colour)"

click_at $((X + 369)) $((Y + 16))  # 下月
sleep 1
shot=$(screenshot high-dpi-next-month)
[ "$(count_colour "$shot" 545 300 "$X" $((grid + 32)) 0,255,255)" = 0 ] || fail "下月 did not turn the page"
click_at $((X + 307)) $((Y + 16))  # 上月
sleep 1
shot=$(screenshot high-dpi-back)
[ "$(count_colour "$shot" 545 357 "$X" "$grid" 0,255,255)" -gt 150 ] || fail "上月 did not turn the page back"

# "×" at its scaled place opens the prompt, which ends the program.
click_at $((X + 515)) $((Y + 15))
window_wait 提示 >/dev/null
screenshot high-dpi-prompt >/dev/null
xdotool key space
for _ in $(seq 50); do program_running || break; sleep 0.2; done
program_running && fail "the program did not end"
echo "high-dpi: passed"
