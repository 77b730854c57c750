#!/usr/bin/env bash
# Drives the window probe on a private Xvfb server: click, type, drag by the caption strip, and
# read back what Ctrl+C put on the clipboard, byte for byte. Exits 77 (skipped) only when Xvfb is
# not installed at all.
set -u
probe=$1

# shellcheck source=e2e-lib.sh
. "$(dirname "$0")/e2e-lib.sh"
require_tools xdotool xclip
start_xvfb 1280x1024x24

start_probe "$probe"
ready=$(wait_for '^ready ' 100) || fail "the probe did not show its window"
read -r _ left top width height <<<"$ready"
[ "$left $top $width $height" = "100 100 400 300" ] || fail "window at $left $top $width $height"

# A click in the body, at client (100, 100).
xdotool mousemove $((left + 100)) $((top + 100)) click 1
wait_for '^click 100 100$' 50 >/dev/null || fail "the click did not arrive at client (100, 100)"

# Typing goes to the window under the pointer, which the toolkit activated on the click.
xdotool type --delay 30 "hello"
xdotool key Return
wait_for '^typed hello$' 50 >/dev/null || fail "the typed text did not arrive"

# Dragging the caption strip moves the window by the same distance.
xdotool mousemove $((left + 200)) $((top + 10))
sleep 0.2
xdotool mousedown 1
sleep 0.2
xdotool mousemove $((left + 230)) $((top + 30))
sleep 0.2
xdotool mousemove $((left + 260)) $((top + 50))
sleep 0.2
xdotool mouseup 1
moved=$(wait_for '^moved ' 50) || fail "the drag did not end"
[ "$moved" = "moved $((left + 60)) $((top + 40))" ] || fail "after the drag: $moved"
geometry=$(xdotool search --name "Varnel window probe" getwindowgeometry 2>/dev/null | grep Position)
case "$geometry" in
*"$((left + 60)),$((top + 40))"*) ;;
*) fail "the X window is not where the toolkit put it: $geometry" ;;
esac

if [ -n "${VARNEL_TEST_ARTIFACTS:-}" ] && command -v import >/dev/null 2>&1; then
    mkdir -p "$VARNEL_TEST_ARTIFACTS"
    import -window root "$VARNEL_TEST_ARTIFACTS/e2e-window-probe.png" 2>/dev/null || true
fi

# Ctrl+C puts three CR LF lines on the clipboard; xclip reads them from the running probe.
xdotool mousemove $((left + 160)) $((top + 140))
xdotool key ctrl+c
wait_for '^copied 1$' 50 >/dev/null || fail "Ctrl+C did not copy"
printf 'Varnel\r\nsecond line\r\nhello\r\n' >"$work/expected"
timeout 10 xclip -o -selection clipboard >"$work/clipboard" 2>"$work/xclip.log" || fail "xclip could not read the clipboard: $(cat "$work/xclip.log")"
if ! cmp -s "$work/expected" "$work/clipboard"; then
    echo "expected:"; od -c "$work/expected"
    echo "clipboard:"; od -c "$work/clipboard"
    fail "the clipboard does not hold the copied bytes"
fi

# A menu-like popup: the keyboard stays with the main window, and a press outside the popup
# reaches it through the capture.
left=$((left + 60))
top=$((top + 40))
xdotool type --delay 30 "p"
popup=$(wait_for '^popup ' 50) || fail "the popup did not open"
[ "$popup" = "popup $((left + 50)) $((top + 60))" ] || fail "popup at the wrong place: $popup"
sleep 0.2
xdotool type --delay 30 "k"
wait_for '^popup-key k$' 50 >/dev/null || fail "typing with the popup open did not reach the main window"
xdotool mousemove 900 800 click 1
wait_for '^popup-outside 900 800$' 50 >/dev/null || fail "the popup did not see the press outside itself"

# A window region shapes the X window: its corner shows the root window, its caption is there.
pixel() {
    import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | grep -o '#[0-9A-Fa-f]\{6\}' | head -n 1
}
if command -v import >/dev/null 2>&1; then
    root_pixel=$(pixel 5 1000)
    xdotool type --delay 30 "r"
    wait_for '^shaped$' 50 >/dev/null || fail "the window did not take its region"
    sleep 0.3
    corner=$(pixel "$left" "$top")
    caption=$(pixel $((left + 200)) $((top + 10)))
    [ "$corner" = "$root_pixel" ] || fail "the cut-away corner shows $corner, not the root window's $root_pixel"
    [ "$caption" = "#1F3A6E" ] || fail "the caption shows $caption"
else
    echo "note: ImageMagick's import is missing; the window shape is not checked"
fi

echo "PASS: click, typing, caption drag, clipboard, a popup and a window shape through a real SDL window"
exit 0
