#!/usr/bin/env bash
# Drives the window probe on a private Xvfb server: click, type, drag by the caption strip, and
# read back what Ctrl+C put on the clipboard, byte for byte. Exits 77 (skipped) only when Xvfb is
# not installed at all.
set -u
probe=$1

if ! command -v Xvfb >/dev/null 2>&1; then
    echo "SKIP: Xvfb is not installed, so no end-to-end window test can run"
    exit 77
fi
for tool in xdotool xclip; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "FAIL: $tool is not installed (scripts/install-deps.sh test installs it)"
        exit 1
    fi
done

work=$(mktemp -d)
xvfb_pid=""
probe_pid=""
cleanup() {
    [ -n "$probe_pid" ] && kill "$probe_pid" 2>/dev/null && wait "$probe_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    echo "---- probe output"
    cat "$work/probe.log" 2>/dev/null
    echo "---- Xvfb output"
    tail -n 20 "$work/xvfb.log" 2>/dev/null
    exit 1
}

# Waits up to $2 tenths of a second for a line of the probe's output matching $1; prints it.
wait_for() {
    local pattern=$1 tries=$2 line
    for ((i = 0; i < tries; i++)); do
        line=$(grep -E "$pattern" "$work/probe.log" 2>/dev/null | tail -n 1)
        if [ -n "$line" ]; then
            echo "$line"
            return 0
        fi
        if [ -n "$probe_pid" ] && ! kill -0 "$probe_pid" 2>/dev/null; then
            return 1
        fi
        sleep 0.1
    done
    return 1
}

# Xvfb chooses a free display itself and writes its number when it is ready for clients.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for ((i = 0; i < 100; i++)); do
    [ -s "$work/display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start"
    sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not report a display"
export DISPLAY=":$(head -n 1 "$work/display")"
unset WAYLAND_DISPLAY SDL_VIDEODRIVER

"$probe" >"$work/probe.log" 2>&1 &
probe_pid=$!
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
