#!/usr/bin/env bash
# varnel --look and --theme on a private Xvfb server: a theme file that cannot be loaded gives one
# line on standard error, status 2 and no window; the main window opens with the MacOS border its
# layout gives, and with --look WinXP (or a theme file made from WinXP) with the WinXP border; File,
# Exit ends it with status 0. Exits 77 (skipped) only when Xvfb is not installed.
set -u
varnel=$1
theme_tool=$2

if ! command -v Xvfb >/dev/null 2>&1; then
    echo "SKIP: Xvfb is not installed, so no end-to-end window test can run"
    exit 77
fi
for tool in xdotool import; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "FAIL: $tool is not installed (scripts/install-deps.sh test installs it)"
        exit 1
    fi
done

work=$(mktemp -d)
xvfb_pid=""
varnel_pid=""
cleanup() {
    [ -n "$varnel_pid" ] && kill "$varnel_pid" 2>/dev/null && wait "$varnel_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    echo "---- varnel output"
    cat "$work/varnel.log" 2>/dev/null
    exit 1
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
unset WAYLAND_DISPLAY SDL_VIDEODRIVER VARNEL_BACKEND
printf 'leak:libdbus-1.so\n' >"$work/lsan.supp"
export LSAN_OPTIONS="suppressions=$work/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

# Theme files that cannot be loaded: nothing is shown.
printf 'not a theme' >"$work/damaged.theme"
for file in "$work/damaged.theme" "$work/missing.theme"; do
    "$varnel" --theme "$file" >"$work/varnel.log" 2>&1
    status=$?
    [ "$status" -eq 2 ] || fail "--theme $file gave status $status"
    [ "$(wc -l <"$work/varnel.log")" -eq 1 ] || fail "--theme $file did not give one line"
    grep -q "^varnel: Cannot load theme file \"$file\": " "$work/varnel.log" || fail "unexpected message"
    [ -z "$(xdotool search --name 'Varnel' 2>/dev/null)" ] || fail "--theme $file opened a window"
done

"$theme_tool" export WinXP "$work/xp" >/dev/null || fail "cannot export WinXP"
"$theme_tool" pack "$work/xp" "$work/xp.theme" >/dev/null || fail "cannot pack WinXP"

# Opens varnel with the given options; puts the colour (#RRGGBB) of the window's left border
# halfway down into $colour, then ends the program through File, Exit and checks that it ended
# cleanly. Runs in this shell, so that a failure still stops the program it started.
border_colour() {
    "$varnel" "$@" >"$work/varnel.log" 2>&1 &
    varnel_pid=$!
    local id
    id=$(timeout 5 xdotool search --sync --onlyvisible --name '^Varnel V1.0$' 2>/dev/null | head -n 1)
    [ -n "$id" ] || fail "varnel $* showed no window"
    sleep 0.5
    local x y
    read -r x y < <(xdotool getwindowgeometry "$id" | sed -n -E 's/^ *Position: ([0-9]+),([0-9]+).*$/\1 \2/p')
    colour=$(import -window root -crop "1x1+$x+$((y + 240))" -depth 8 txt:- 2>/dev/null | tail -n 1 |
        grep -o '#[0-9A-F]\{6\}')
    xdotool key alt+f
    sleep 0.4
    xdotool key Return
    for ((i = 0; i < 50; i++)); do
        kill -0 "$varnel_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$varnel_pid" 2>/dev/null && fail "File, Exit did not end varnel $*"
    wait "$varnel_pid"
    local status=$?
    varnel_pid=""
    [ "$status" -eq 0 ] || fail "varnel $* ended with status $status"
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
