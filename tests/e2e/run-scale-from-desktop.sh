#!/usr/bin/env bash
# Where the scale comes from on a real display: the desktop's Xft.dpi in the X resource database,
# GDK_SCALE before it, VARNEL_SCALE before everything, and an unusable VARNEL_SCALE passed over
# with one line on standard error. Each run shows the 400 × 300 window probe and reads the size of
# its X window. Exits 77 (skipped) only without Xvfb.
set -u
probe=$1
# shellcheck source=e2e-lib.sh
. "$(dirname "$0")/e2e-lib.sh"
require_tools xdotool xprop
start_xvfb 2560x2048x24

# run_with "X Y W H" [VARIABLE=VALUE...]: the probe's X window under those variables.
run_with() {
    local expected=$1
    shift
    start_probe env "$@" "$probe"
    wait_for '^ready 100 100 400 300$' 100 >/dev/null || fail "the probe did not show its window with $*"
    expect_geometry "Varnel window probe" "$expected"
    stop_probe
}

run_with "100 100 400 300"
xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "$(printf 'Xcursor.size:\t24\nXft.dpi:\t192\n')" ||
    fail "could not set the X resource database"
run_with "200 200 800 600"
run_with "300 300 1200 900" GDK_SCALE=3
run_with "100 100 400 300" VARNEL_SCALE=1 GDK_SCALE=3

run_with "200 200 800 600" VARNEL_SCALE=banana
said=$(grep -c 'VARNEL_SCALE=banana' "$probe_log")
[ "$said" -eq 1 ] || fail "an unusable VARNEL_SCALE was said $said times, not once"
others=$(grep -v -E '^(ready|click|typed|moved|copied|popup)' "$probe_log" | grep -c -v 'VARNEL_SCALE=banana')
[ "$others" -eq 0 ] || fail "more was said on standard error than the one line"

echo "PASS: the scale follows Xft.dpi, GDK_SCALE and VARNEL_SCALE in that order of weight, and an unusable value is said once"
exit 0
