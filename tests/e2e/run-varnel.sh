#!/usr/bin/env bash
# The real varnel on a private Xvfb server, driven as a user drives it: the window's size and place,
# the key boxes, a count typed in, Generate, Copy with its message box confirmed, the clipboard read
# from outside and compared byte for byte with the list the window holds, the About window opened
# and closed, "Product Document" handed to the desktop's opener, and "Exit" (status 0). A small
# clipboard manager runs meanwhile: the copied list must still be on the clipboard after Varnel has
# ended. Exits 77 (skipped) only when Xvfb is not installed at all.
set -u
varnel=$1
keeper=$2

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
varnel_pid=""
keeper_pid=""
cleanup() {
    [ -n "$varnel_pid" ] && kill "$varnel_pid" 2>/dev/null && wait "$varnel_pid" 2>/dev/null
    [ -n "$keeper_pid" ] && kill "$keeper_pid" 2>/dev/null && wait "$keeper_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    echo "---- varnel output"
    cat "$work/varnel.log" 2>/dev/null
    echo "---- clipboard keeper output"
    cat "$work/keeper.log" 2>/dev/null
    screenshot failure
    exit 1
}

screenshot() {
    if [ -n "${VARNEL_TEST_ARTIFACTS:-}" ] && command -v import >/dev/null 2>&1; then
        mkdir -p "$VARNEL_TEST_ARTIFACTS"
        import -window root "$VARNEL_TEST_ARTIFACTS/e2e-varnel-$1.png" 2>/dev/null || true
    fi
}

# Waits up to $2 tenths of a second for the command $1 to succeed.
wait_until() {
    local condition=$1 tries=$2
    for ((i = 0; i < tries; i++)); do
        eval "$condition" && return 0
        sleep 0.1
    done
    return 1
}

# The id of the visible window whose whole title is $1 (read literally), or nothing.
window_named() {
    local pattern
    pattern=$(printf '%s' "$1" | sed 's/[][\\.^$*+?(){}|]/\\&/g')
    xdotool search --onlyvisible --name "^$pattern\$" 2>/dev/null | head -n 1
}

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
wait_until '[ -s "$work/display" ]' 100 || fail "Xvfb did not report a display"
export DISPLAY=":$(head -n 1 "$work/display")"
unset WAYLAND_DISPLAY SDL_VIDEODRIVER

"$keeper" >"$work/keeper.log" 2>&1 &
keeper_pid=$!
wait_until 'grep -q "^ready" "$work/keeper.log"' 50 || fail "the clipboard manager did not start"

# The desktop's opener, standing in for xdg-open: it records its arguments.
mkdir -p "$work/bin"
cat >"$work/bin/xdg-open" <<EOF
#!/bin/sh
{ echo "\$#"; for a in "\$@"; do echo "\$a"; done; } >>"$work/opened"
EOF
chmod +x "$work/bin/xdg-open"

# Under the leak checker, SDL's D-Bus library keeps a buffer to the end that is not ours to free.
printf 'leak:libdbus-1.so\n' >"$work/lsan.supp"
export LSAN_OPTIONS="suppressions=$work/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
PATH="$work/bin:$PATH" "$varnel" --reproducible >"$work/varnel.log" 2>&1 &
varnel_pid=$!
title="Varnel V1.0 (reproducible)"
wait_until '[ -n "$(window_named "$title")" ]' 100 || fail "the main window did not show"
main=$(window_named "$title")
eval "$(xdotool getwindowgeometry --shell "$main")"
[ "$WIDTH x $HEIGHT" = "482 x 481" ] || fail "the window is $WIDTH x $HEIGHT"
[ "$X,$Y" = "$(((1280 - 482) / 2)),$(((1024 - 481) / 2))" ] || fail "the window is at $X,$Y, not centred"
left=$X
top=$Y
sleep 0.3
screenshot start

# Points of the window, as its layout places them (the skinned panel lies at (1, 0)).
click_at() {
    xdotool mousemove $((left + $1)) $((top + $2)) click 1
    sleep 0.15
}
numbers=(38 142)    # the box of "Numbers": panel + group 1 (8, 73) + group 2 (9, 43) + (12, 16)
uppercase=(38 190)  # "Uppercase letters", 48 below
count=(341 123)     # the number of passwords: panel + group 3 (272, 90) + (48, 24)
copy=(160 460)      # "Copy to clipboard" at (95, 447), 129 x 27
generate=(352 460)  # "Generate password" at (287, 447)

click_at "${numbers[@]}"
click_at "${uppercase[@]}"
# The count: rub out what the box holds and type over it.
click_at "${count[@]}"
xdotool key End BackSpace BackSpace BackSpace
xdotool type --delay 20 "25"
sleep 0.1
click_at "${generate[@]}"
sleep 0.3
screenshot generated

# Copy: the message box says so; Enter answers its focused OK button.
click_at "${copy[@]}"
wait_until '[ -n "$(window_named Congratulation)" ]' 50 || fail "no message box after Copy"
screenshot copied
xdotool key Return
wait_until '[ -z "$(window_named Congratulation)" ]' 50 || fail "Enter did not close the message box"

# What the window holds: the same request from the same reproducible sequence, its lines joined by
# CR LF as the list in the window is.
"$varnel" generate --reproducible --digits --upper -n 25 -l 10 2>/dev/null |
    sed 's/$/\r/' | head -c -2 >"$work/expected"
[ "$(wc -l <"$work/expected")" -eq 24 ] || fail "the command line did not give 25 lines"
timeout 10 xclip -o -selection clipboard >"$work/clipboard" 2>"$work/xclip.log" ||
    fail "xclip could not read the clipboard: $(cat "$work/xclip.log")"
if ! cmp -s "$work/expected" "$work/clipboard"; then
    echo "expected:"; od -c "$work/expected" | head -n 8
    echo "clipboard:"; od -c "$work/clipboard" | head -n 8
    fail "the clipboard does not hold the list byte for byte"
fi

# Help, About: the About window shows over the main one; its close button hides it again.
xdotool key --window "$main" alt+h
sleep 0.3
screenshot help-menu
xdotool key a
wait_until '[ -n "$(window_named About)" ]' 50 || fail "Help, About did not open the About window"
about=$(window_named About)
eval "$(xdotool getwindowgeometry --shell "$about")"
[ "$WIDTH x $HEIGHT" = "324 x 190" ] || fail "the About window is $WIDTH x $HEIGHT"
[ "$X,$Y" = "$((left + (482 - 324) / 2)),$((top + (481 - 190) / 2))" ] ||
    fail "the About window is at $X,$Y, not centred on the main window"
sleep 0.3
screenshot about
xdotool mousemove $((X + WIDTH - 14)) $((Y + 12)) click 1
wait_until '[ -z "$(window_named About)" ]' 50 || fail "the About window's close button did not close it"
kill -0 "$varnel_pid" 2>/dev/null || fail "closing About ended the program"

# Help, Product Document: the desktop's opener gets the help page's absolute path, alone.
sleep 0.2
xdotool key --window "$main" alt+h
sleep 0.3
xdotool key p
wait_until '[ -s "$work/opened" ]' 50 || fail "Product Document started no opener"
page="$(cd "$(dirname "$varnel")" && pwd)/varnel.html"
[ "$(cat "$work/opened")" = "$(printf '1\n%s' "$page")" ] ||
    fail "the opener got: $(tr '\n' ' ' <"$work/opened")"

# File, Exit ends the program with status 0, after the clipboard manager took the list over.
sleep 0.2
xdotool key --window "$main" alt+f
sleep 0.3
screenshot file-menu
xdotool key Return
wait_until '! kill -0 "$varnel_pid" 2>/dev/null' 50 || fail "File, Exit did not end the program"
wait "$varnel_pid"
status=$?
varnel_pid=""
[ "$status" -eq 0 ] || fail "varnel ended with status $status"
grep -q "^saved $(wc -c <"$work/expected")\$" "$work/keeper.log" ||
    fail "the clipboard manager was not handed the list"
timeout 10 xclip -o -selection clipboard >"$work/kept" 2>"$work/xclip.log" ||
    fail "after Varnel ended the clipboard is empty: $(cat "$work/xclip.log")"
cmp -s "$work/expected" "$work/kept" || fail "the clipboard manager does not hold the list byte for byte"

echo "PASS: the window's size and place, key boxes, count, Generate, Copy and the clipboard byte for byte, About, Product Document, Exit, and the list kept after the end"
exit 0
