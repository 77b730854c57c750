#!/usr/bin/env bash
# The real program at VARNEL_SCALE=2 on a 2560 × 2048 screen: its main window is 964 × 962 and
# centred; "Generate password" and "Copy to clipboard", clicked at their device pixels, put the
# same ten passwords on the clipboard that 'varnel generate --reproducible' prints; dragging the
# title bar moves the window by the pointer's way; Alt+F4 ends the program cleanly. Exits 77
# (skipped) only without Xvfb.
set -u
varnel=$1
# shellcheck source=e2e-lib.sh
. "$(dirname "$0")/e2e-lib.sh"
require_tools xdotool xclip
start_xvfb 2560x2048x24

# Where the buttons and a point of the caption lie in the main window, in logical pixels from its
# top-left corner (the layout's places, inside the 1-pixel left border of the window).
generate_at="352 460"
copy_at="160 460"
caption_at="201 10"
title="Varnel V1.0 (reproducible)"

VARNEL_SCALE=2 start_probe "$varnel" --reproducible
await_window "$title"
read -r x y w h <<<"$shown"
[ "$w $h" = "964 962" ] || fail "the main window is $w × $h, not 964 × 962"
# Centred within the one device pixel that a logical position cannot split.
dx=$((2 * x + w - 2560))
dy=$((2 * y + h - 2048))
((dx >= -2 && dx <= 2 && dy >= -2 && dy <= 2)) || fail "the main window at ($x, $y) is not centred on the screen"
sleep 0.5
screenshot e2e-scaled-varnel-shown

# click_at "LX LY": a click at the last device pixel of the window's logical point.
click_at() {
    local lx ly
    read -r lx ly <<<"$1"
    xdotool mousemove $((x + 2 * lx + 1)) $((y + 2 * ly + 1)) click 1
}

click_at "$generate_at"
sleep 0.5
click_at "$copy_at"
for ((i = 0; i < 50; i++)); do
    box=$(x_geometry "Congratulation") && break
    sleep 0.1
done
[ -n "${box:-}" ] || fail "copying did not show the \"Congratulation\" box (was the list empty?)"
read -r _ _ bw bh <<<"$box"
((bw % 2 == 0 && bh % 2 == 0)) || fail "the message box is $bw × $bh device pixels, not whole blocks"
screenshot e2e-scaled-varnel-copied
clipboard=$(timeout 10 xclip -o -selection clipboard 2>"$work/xclip.log" | tr -d '\r') ||
    fail "xclip could not read the clipboard: $(cat "$work/xclip.log")"
expected=$("$varnel" generate --reproducible) || fail "varnel generate --reproducible failed"
[ "$(wc -l <<<"$expected")" -eq 10 ] || fail "the command line printed $(wc -l <<<"$expected") lines"
if [ "$clipboard" != "$expected" ]; then
    echo "clipboard:"
    echo "$clipboard"
    echo "expected:"
    echo "$expected"
    fail "the clipboard does not hold the generated list"
fi
xdotool key Return
for ((i = 0; i < 50; i++)); do
    x_geometry "Congratulation" >/dev/null || break
    sleep 0.1
done
x_geometry "Congratulation" >/dev/null && fail "Enter did not close the message box"

# The title bar dragged by 120 × 80 device pixels, in two steps.
read -r cx cy <<<"$caption_at"
sleep 0.3
xdotool mousemove $((x + 2 * cx)) $((y + 2 * cy))
sleep 0.2
xdotool mousedown 1
sleep 0.2
xdotool mousemove $((x + 2 * cx + 60)) $((y + 2 * cy + 40))
sleep 0.2
xdotool mousemove $((x + 2 * cx + 120)) $((y + 2 * cy + 80))
sleep 0.2
xdotool mouseup 1
expect_geometry "$title" "$((x + 120)) $((y + 80)) 964 962"
screenshot e2e-scaled-varnel-moved

xdotool key alt+F4
wait_ended 50 || fail "Alt+F4 did not end the program"
[ "$ended_status" -eq 0 ] || fail "varnel ended with status $ended_status"

echo "PASS: varnel at scale 2: 964 × 962 and centred, generating and copying by clicks at device pixels, the title-bar drag, Alt+F4"
exit 0
