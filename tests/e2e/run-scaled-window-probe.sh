#!/usr/bin/env bash
# A plain toolkit window at VARNEL_SCALE=2 on a 2560 × 2048 screen: the X window is twice the
# logical size at twice the place, clicks at device pixels reach their logical pixel, the caption
# drag follows the pointer, a popup sees a press outside itself, and a window region cuts whole
# 2 × 2 blocks from the X window's corners. Exits 77 (skipped) only without Xvfb.
set -u
probe=$1
# shellcheck source=e2e-lib.sh
. "$(dirname "$0")/e2e-lib.sh"
require_tools xdotool import
start_xvfb 2560x2048x24

VARNEL_SCALE=2 start_probe "$probe"
ready=$(wait_for '^ready ' 100) || fail "the probe did not show its window"
read -r _ left top width height <<<"$ready"
[ "$left $top $width $height" = "100 100 400 300" ] || fail "the toolkit placed the window at $left $top $width $height"
expect_geometry "Varnel window probe" "200 200 800 600"

# Both device pixels of a logical pixel reach it.
xdotool mousemove "$(device 2 $((left + 100)))" "$(device 2 $((top + 100)))" click 1
wait_for '^click 100 100$' 50 >/dev/null || fail "a click at the last device pixel of client (100, 100) went elsewhere"
xdotool mousemove $((2 * (left + 101))) $((2 * (top + 100))) click 1
wait_for '^click 101 100$' 50 >/dev/null || fail "a click at the first device pixel of client (101, 100) went elsewhere"

# The caption drag: 60 × 40 device pixels move the window 30 × 20 logical ones, which the X
# window shows as the same 60 × 40.
xdotool mousemove $((2 * (left + 200))) $((2 * (top + 10)))
sleep 0.2
xdotool mousedown 1
sleep 0.2
xdotool mousemove $((2 * (left + 200) + 30)) $((2 * (top + 10) + 20))
sleep 0.2
xdotool mousemove $((2 * (left + 200) + 60)) $((2 * (top + 10) + 40))
sleep 0.2
xdotool mouseup 1
moved=$(wait_for '^moved ' 50) || fail "the drag did not end"
[ "$moved" = "moved $((left + 30)) $((top + 20))" ] || fail "after the drag: $moved"
left=$((left + 30))
top=$((top + 20))
expect_geometry "Varnel window probe" "$((2 * left)) $((2 * top)) 800 600"

# A menu-like popup opens at its logical place; a press outside it, anywhere on the big screen,
# reaches it through the pointer grab at the logical point.
xdotool type --delay 30 "p"
popup=$(wait_for '^popup ' 50) || fail "the popup did not open"
[ "$popup" = "popup $((left + 50)) $((top + 60))" ] || fail "popup at the wrong place: $popup"
sleep 0.3
popup_pixel=$(pixel $((2 * (left + 50) + 239)) $((2 * (top + 60) + 159)))
[ "$popup_pixel" = "#FFD700" ] || fail "the popup's last device pixel shows $popup_pixel"
xdotool mousemove 2401 2001 click 1
wait_for '^popup-outside 1200 1000$' 50 >/dev/null || fail "the popup did not see the press at device (2401, 2001)"

# The region's cut-away corner shows the root window in every device pixel of its block; the
# caption is there.
root_pixel=$(pixel 5 2040)
xdotool type --delay 30 "r"
wait_for '^shaped$' 50 >/dev/null || fail "the window did not take its region"
sleep 0.3
screenshot e2e-scaled-window-probe
for p in "0 0" "1 1" "1 0" "799 0" "0 599" "799 599"; do
    read -r dx dy <<<"$p"
    corner=$(pixel $((2 * left + dx)) $((2 * top + dy)))
    [ "$corner" = "$root_pixel" ] || fail "the cut-away corner shows $corner at device ($dx, $dy), not the root window's $root_pixel"
done
caption=$(pixel $((2 * left + 400)) $((2 * top + 1)))
[ "$caption" = "#1F3A6E" ] || fail "the caption's top edge shows $caption"

echo "PASS: a window at scale 2 is twice its size and place; clicks, the caption drag, a popup and a region follow the scale"
exit 0
