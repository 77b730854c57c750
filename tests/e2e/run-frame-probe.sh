#!/usr/bin/env bash
# Drives a real skinned window (MacOS) on a private Xvfb server: moved by dragging its title bar,
# maximised and restored by double-clicking it, its menu opened from the menu bar and with
# Alt+letter, and closed with its close button; the program must then end cleanly. Exits 77
# (skipped) only when Xvfb is not installed at all.
set -u
probe=$1

# shellcheck source=e2e-lib.sh
. "$(dirname "$0")/e2e-lib.sh"
require_tools xdotool
start_xvfb 1280x1024x24

start_probe "$probe"
ready=$(wait_for '^ready ' 100) || fail "the probe did not show its window"
read -r _ left top width height <<<"$ready"
[ "$left $top $width $height" = "100 100 482 481" ] || fail "window at $left $top $width $height"
read -r _ cx cy <<<"$(wait_for '^caption ' 10)"
read -r _ fx fy <<<"$(wait_for '^filebutton ' 10)"
read -r _ bx by <<<"$(wait_for '^closebutton ' 10)"
sleep 0.3
screenshot e2e-frame-probe-shown

# Dragging the title bar moves the window by the pointer's way, without a jump.
xdotool mousemove "$cx" "$cy"
sleep 0.2
xdotool mousedown 1
sleep 0.2
xdotool mousemove $((cx + 30)) $((cy + 20))
sleep 0.2
xdotool mousemove $((cx + 60)) $((cy + 40))
sleep 0.2
xdotool mouseup 1
wait_for "^bounds $((left + 60)) $((top + 40)) 482 481 normal$" 50 >/dev/null ||
    fail "the drag did not move the window by (60, 40)"
if grep -E '^bounds ' "$work/probe.log" | grep -v -E "^bounds $((left + 30)) $((top + 20)) |^bounds $((left + 60)) $((top + 40)) " >/dev/null; then
    fail "the window went elsewhere on its way: $(grep -E '^bounds ' "$work/probe.log" | tr '\n' ';')"
fi
left=$((left + 60))
top=$((top + 40))
cx=$((cx + 60))
cy=$((cy + 40))
fx=$((fx + 60))
fy=$((fy + 40))
bx=$((bx + 60))
by=$((by + 40))
# The X server may show the move a moment after the toolkit made it.
for ((i = 0; i < 20; i++)); do
    geometry=$(xdotool search --name "Varnel frame probe" getwindowgeometry 2>/dev/null | grep Position)
    case "$geometry" in
    *"$left,$top"*) break ;;
    esac
    sleep 0.1
done
case "$geometry" in
*"$left,$top"*) ;;
*) fail "the X window is not where the toolkit put it: $geometry" ;;
esac

# A double click on the title bar maximises (a bare X server's work area is the screen), another
# restores.
sleep 0.6
xdotool mousemove "$cx" "$cy" click --repeat 2 --delay 80 1
wait_for '^bounds 0 0 1280 1024 maximized$' 50 >/dev/null || fail "the double click did not maximise"
sleep 0.3
screenshot e2e-frame-probe-maximized
sleep 0.6
xdotool mousemove 200 10 click --repeat 2 --delay 80 1
wait_for "^bounds $left $top 482 481 normal$" 50 2 >/dev/null || fail "the second double click did not restore"

# The menu drops down from the menu bar; its access key chooses an item.
sleep 0.6
xdotool mousemove "$fx" "$fy" click 1
wait_for '^opened File$' 50 >/dev/null || fail "a click on File did not open its menu"
sleep 0.3
screenshot e2e-frame-probe-menu
xdotool key h
wait_for '^chose hello$' 50 >/dev/null || fail "the open menu did not take its access key"

# Alt with the access key of the bar opens that menu from the keyboard, once.
sleep 0.3
xdotool key alt+f
wait_for '^opened File$' 50 2 >/dev/null || fail "Alt+F did not open the File menu"
sleep 0.2
xdotool key h
wait_for '^chose hello$' 50 2 >/dev/null || fail "the menu opened with Alt+F did not take its access key"
[ "$(grep -c '^opened File$' "$work/probe.log")" -eq 2 ] || fail "Alt+F opened the File menu more than once"
sleep 0.3
xdotool key alt+h
sleep 0.2
# The close button is clicked right after the key that chooses from the menu, before the program
# may have closed the menu: the click is not lost. The window closes and the program ends by
# itself, cleanly.
xdotool key a mousemove "$bx" "$by" click 1
wait_for '^chose about$' 50 >/dev/null || fail "Alt+H did not open the Help menu"
[ "$(grep -c '^opened File$' "$work/probe.log")" -eq 2 ] || fail "Alt+H opened the File menu"
wait_for '^closed$' 50 >/dev/null || fail "the close button did not close the window"
for ((i = 0; i < 50; i++)); do
    kill -0 "$probe_pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$probe_pid" 2>/dev/null; then
    fail "the program did not end after its window closed"
fi
wait "$probe_pid"
status=$?
probe_pid=""
[ "$status" -eq 0 ] || fail "the program ended with status $status"

[ -n "${FRAME_PROBE_LOG:-}" ] && cat "$work/probe.log"
echo "PASS: a skinned window dragged, maximised and restored, its menu opened by pointer and keyboard, closed by its close button"
exit 0
