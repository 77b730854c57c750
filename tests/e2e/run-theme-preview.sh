#!/usr/bin/env bash
# Drives varnel-theme preview on a private Xvfb server: the window opens in the look asked for at
# the size the headless rendering of the same look gives, its Look menu (Alt+L, then a look's
# access key) turns it into another look and refits it, and File, Exit ends the program with
# status 0. A theme file that does not load opens no window at all. Exits 77 (skipped) only when
# Xvfb is not installed.
set -u
tool=$1

if ! command -v Xvfb >/dev/null 2>&1; then
    echo "SKIP: Xvfb is not installed, so no end-to-end window test can run"
    exit 77
fi
if ! command -v xdotool >/dev/null 2>&1; then
    echo "FAIL: xdotool is not installed (scripts/install-deps.sh test installs it)"
    exit 1
fi

work=$(mktemp -d)
xvfb_pid=""
tool_pid=""
cleanup() {
    [ -n "$tool_pid" ] && kill "$tool_pid" 2>/dev/null && wait "$tool_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    echo "---- varnel-theme output"
    cat "$work/tool.log" 2>/dev/null
    exit 1
}

screenshot() {
    if [ -n "${VARNEL_TEST_ARTIFACTS:-}" ] && command -v import >/dev/null 2>&1; then
        mkdir -p "$VARNEL_TEST_ARTIFACTS"
        import -window root "$VARNEL_TEST_ARTIFACTS/e2e-theme-preview-$1.png" 2>/dev/null || true
    fi
}

# The size the preview of a look has, as its headless rendering reports it: "W H".
rendered_size() {
    "$tool" preview "$1" --png "$work/$1.png" | sed -E 's/^wrote .* \(([0-9]+) x ([0-9]+), .*$/\1 \2/'
}

# Waits up to 5 seconds for the preview window titled $1 to be mapped; prints its "W H".
window_size() {
    local id
    id=$(timeout 5 xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
    [ -n "$id" ] || return 1
    xdotool getwindowgeometry "$id" | sed -n -E 's/^ *Geometry: ([0-9]+)x([0-9]+)$/\1 \2/p'
}

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
printf 'leak:libdbus-1.so\n' >"$work/lsan.supp"
export LSAN_OPTIONS="suppressions=$work/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

# A damaged theme file: one line on standard error, status 1, and no window.
printf 'not a theme' >"$work/damaged.theme"
"$tool" preview "$work/damaged.theme" >"$work/tool.log" 2>&1
status=$?
[ "$status" -eq 1 ] || fail "a damaged theme file gave status $status"
[ "$(wc -l <"$work/tool.log")" -eq 1 ] || fail "a damaged theme file did not give one line"
grep -q '^varnel-theme: Cannot load theme file ' "$work/tool.log" || fail "unexpected message"
[ -z "$(xdotool search --name 'Varnel theme preview' 2>/dev/null)" ] || fail "a window opened"

deepblue=$(rendered_size DeepBlue)
winxp=$(rendered_size WinXP)
[ -n "$deepblue" ] && [ -n "$winxp" ] || fail "the headless rendering reported no size"

"$tool" preview DeepBlue >"$work/tool.log" 2>&1 &
tool_pid=$!
size=$(window_size "Varnel theme preview: DeepBlue") || fail "no DeepBlue preview window"
[ "$size" = "$deepblue" ] || fail "the DeepBlue window is $size, its rendering $deepblue"
sleep 0.5
screenshot deepblue

xdotool key alt+l
sleep 0.4
xdotool key w
size=$(window_size "Varnel theme preview: WinXP") || fail "Alt+L, W did not turn the preview into WinXP"
for ((i = 0; i < 20 && "$size" != "$winxp"; i++)); do
    sleep 0.1
    size=$(window_size "Varnel theme preview: WinXP")
done
[ "$size" = "$winxp" ] || fail "the WinXP window is $size, its rendering $winxp"
sleep 0.5
screenshot winxp

xdotool key alt+f
sleep 0.4
xdotool key x
for ((i = 0; i < 50; i++)); do
    kill -0 "$tool_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$tool_pid" 2>/dev/null && fail "File, Exit did not end the preview"
wait "$tool_pid"
status=$?
tool_pid=""
[ "$status" -eq 0 ] || fail "the preview ended with status $status"
echo "PASS: the preview opened at its rendered size, changed look from its menu and ended by File, Exit"
exit 0
