#!/usr/bin/env bash
# Drives varnel-theme preview on a private Xvfb server: the window opens in the look asked for at
# the size the headless rendering of the same look gives, its Look menu (Alt+L, then a look's
# access key) turns it into another look and refits it, and File, Exit ends the program with
# status 0. A theme file that does not load opens no window at all. Exits 77 (skipped) only when
# Xvfb is not installed.
set -u
tool=$1
# shellcheck source=e2e-lib.sh
. "$(dirname "$0")/e2e-lib.sh"
require_tools xdotool
start_xvfb 1280x1024x24

# The size the preview of a look has, as its headless rendering reports it: "W H".
rendered_size() {
    "$tool" preview "$1" --png "$work/$1.png" | sed -E 's/^wrote .* \(([0-9]+) x ([0-9]+), .*$/\1 \2/'
}

# Waits up to 5 seconds for the preview window titled $1 to be mapped at $2 ("W H").
expect_size() {
    local i geometry=""
    for ((i = 0; i < 50; i++)); do
        geometry=$(x_geometry "$1") && [ "${geometry#* * }" = "$2" ] && return 0
        kill -0 "$probe_pid" 2>/dev/null || fail "the preview ended while \"$1\" was awaited"
        sleep 0.1
    done
    fail "the window \"$1\" is at $geometry (x y w h), not $2 wide and high"
}

# A damaged theme file: one line on standard error, status 1, and no window.
printf 'not a theme' >"$work/damaged.theme"
"$tool" preview "$work/damaged.theme" >"$probe_log" 2>&1
status=$?
[ "$status" -eq 1 ] || fail "a damaged theme file gave status $status"
[ "$(wc -l <"$probe_log")" -eq 1 ] || fail "a damaged theme file did not give one line"
grep -q '^varnel-theme: Cannot load theme file ' "$probe_log" || fail "unexpected message"
[ -z "$(xdotool search --name 'Varnel theme preview' 2>/dev/null)" ] || fail "a window opened"

deepblue=$(rendered_size DeepBlue)
winxp=$(rendered_size WinXP)
{ [ -n "$deepblue" ] && [ -n "$winxp" ]; } || fail "the headless rendering reported no size"

start_probe "$tool" preview DeepBlue
expect_size "Varnel theme preview: DeepBlue" "$deepblue"
sleep 0.5
screenshot e2e-theme-preview-deepblue

xdotool key alt+l
sleep 0.4
xdotool key w
expect_size "Varnel theme preview: WinXP" "$winxp"
sleep 0.5
screenshot e2e-theme-preview-winxp

xdotool key alt+f
sleep 0.4
xdotool key x
wait_ended 50 || fail "File, Exit did not end the preview"
[ "$ended_status" -eq 0 ] || fail "the preview ended with status $ended_status"
echo "PASS: the preview opened at its rendered size, changed look from its menu and ended by File, Exit"
exit 0
