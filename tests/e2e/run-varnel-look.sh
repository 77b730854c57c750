#!/usr/bin/env bash
# varnel --look and --theme on a private Xvfb server: a theme file that cannot be loaded gives one
# line on standard error, status 2 and no window; the main window opens with the MacOS border its
# layout gives, and with --look WinXP (or a theme file made from WinXP) with the WinXP border; File,
# Exit ends it with status 0. Exits 77 (skipped) only when Xvfb is not installed.
set -u
varnel=$1
theme_tool=$2
# shellcheck source=e2e-lib.sh
. "$(dirname "$0")/e2e-lib.sh"
require_tools xdotool import
start_xvfb 1280x1024x24

# Theme files that cannot be loaded: nothing is shown.
printf 'not a theme' >"$work/damaged.theme"
for file in "$work/damaged.theme" "$work/missing.theme"; do
    "$varnel" --theme "$file" >"$probe_log" 2>&1
    status=$?
    [ "$status" -eq 2 ] || fail "--theme $file gave status $status"
    [ "$(wc -l <"$probe_log")" -eq 1 ] || fail "--theme $file did not give one line"
    grep -q "^varnel: Cannot load theme file \"$file\": " "$probe_log" || fail "unexpected message"
    [ -z "$(xdotool search --name 'Varnel' 2>/dev/null)" ] || fail "--theme $file opened a window"
done

"$theme_tool" export WinXP "$work/xp" >/dev/null || fail "cannot export WinXP"
"$theme_tool" pack "$work/xp" "$work/xp.theme" >/dev/null || fail "cannot pack WinXP"

# Opens varnel with the given options; puts the colour (#RRGGBB) of the window's left border
# halfway down into $colour, then ends the program through File, Exit and checks that it ended
# cleanly.
border_colour() {
    start_probe "$varnel" "$@"
    local x y
    await_window "Varnel V1.0"
    sleep 0.5
    read -r x y _ <<<"$shown"
    colour=$(pixel "$x" $((y + 240)))
    xdotool key alt+f
    sleep 0.4
    xdotool key Return
    wait_ended 50 || fail "File, Exit did not end varnel $*"
    [ "$ended_status" -eq 0 ] || fail "varnel $* ended with status $ended_status"
}

# The border colours of the two looks (FormBorderColor, 0xBBGGRR in the looks' tables).
colour=""
border_colour
[ "$colour" = "#7F7F7F" ] || fail "the layout's MacOS border is $colour"
border_colour --look WinXP
[ "$colour" = "#002CC8" ] || fail "the WinXP border is $colour"
border_colour --theme "$work/xp.theme"
[ "$colour" = "#002CC8" ] || fail "the border from a WinXP theme file is $colour"
echo "PASS: bad theme files show nothing; --look WinXP and a WinXP theme file restyle the window"
exit 0
