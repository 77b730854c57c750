#!/usr/bin/env bash
# A skinned window (MacOS, with a menu bar) at VARNEL_SCALE=2 on a 2560 × 2048 screen: the X
# window is 964 × 962, its menu opens and is chosen from by clicks at device pixels, dragging the
# title bar moves it by the pointer's way, a double click maximises it over the whole screen, and
# its close button ends the program cleanly. Exits 77 (skipped) only without Xvfb.
set -u
probe=$1
# shellcheck source=e2e-lib.sh
. "$(dirname "$0")/e2e-lib.sh"
require_tools xdotool
start_xvfb 2560x2048x24

VARNEL_SCALE=2 start_probe "$probe"
ready=$(wait_for '^ready ' 100) || fail "the probe did not show its window"
read -r _ left top width height <<<"$ready"
[ "$left $top $width $height" = "100 100 482 481" ] || fail "the toolkit placed the window at $left $top $width $height"
read -r _ cx cy <<<"$(wait_for '^caption ' 10)"
read -r _ fx fy <<<"$(wait_for '^filebutton ' 10)"
read -r _ bx by <<<"$(wait_for '^closebutton ' 10)"
expect_geometry "Varnel frame probe" "200 200 964 962"
sleep 0.3
screenshot e2e-scaled-frame-probe-shown

# The File button at its device pixels opens the menu; its item at device pixels is chosen.
xdotool mousemove "$(device 2 "$fx")" "$(device 2 "$fy")" click 1
wait_for '^opened File$' 50 >/dev/null || fail "a click on File at device pixels did not open its menu"
sleep 0.3
screenshot e2e-scaled-frame-probe-menu
# "Say hello" is the first item, right below the button: 10 logical pixels below its bottom.
xdotool mousemove "$(device 2 $((fx + 20)))" "$(device 2 $((fy + 20)))" click 1
wait_for '^chose hello$' 50 >/dev/null || fail "a click on the open menu's first item did not choose it"

# The title bar dragged by 120 × 80 device pixels: the window follows by exactly that much.
sleep 0.6
xdotool mousemove $((2 * cx)) $((2 * cy))
sleep 0.2
xdotool mousedown 1
sleep 0.2
xdotool mousemove $((2 * cx + 60)) $((2 * cy + 40))
sleep 0.2
xdotool mousemove $((2 * cx + 120)) $((2 * cy + 80))
sleep 0.2
xdotool mouseup 1
wait_for "^bounds $((left + 60)) $((top + 40)) 482 481 normal$" 50 >/dev/null ||
    fail "the drag did not move the window by (60, 40) logical pixels"
expect_geometry "Varnel frame probe" "$((2 * left + 120)) $((2 * top + 80)) 964 962"
left=$((left + 60))
top=$((top + 40))
cx=$((cx + 60))
cy=$((cy + 40))
bx=$((bx + 60))
by=$((by + 40))

# Maximised, the window covers the logical work area: the whole device screen.
sleep 0.6
xdotool mousemove $((2 * cx)) $((2 * cy)) click --repeat 2 --delay 80 1
wait_for '^bounds 0 0 1280 1024 maximized$' 50 >/dev/null || fail "the double click did not maximise"
expect_geometry "Varnel frame probe" "0 0 2560 2048"
sleep 0.6
xdotool mousemove 400 20 click --repeat 2 --delay 80 1
wait_for "^bounds $left $top 482 481 normal$" 50 2 >/dev/null || fail "the second double click did not restore"
expect_geometry "Varnel frame probe" "$((2 * left)) $((2 * top)) 964 962"

sleep 0.6
xdotool mousemove "$(device 2 "$bx")" "$(device 2 "$by")" click 1
wait_for '^closed$' 50 >/dev/null || fail "the close button at device pixels did not close the window"
wait_ended 50 || fail "the program did not end after its window closed"
[ "$ended_status" -eq 0 ] || fail "the program ended with status $ended_status"

echo "PASS: a skinned window at scale 2: its menu, title-bar drag, maximising and close button work at device pixels"
exit 0
