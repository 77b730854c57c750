#!/usr/bin/env bash
# The real varnel on a private Xvfb server, driven as a user drives it: the window's size and place,
# the key boxes, a count typed in, Generate, Copy with its message box confirmed, the clipboard read
# from outside and compared byte for byte with the list the window holds, the About window opened
# and closed, "Product Document" handed to the desktop's opener, and "Exit" (status 0). A small
# clipboard manager runs meanwhile: the copied list must still be on the clipboard after Varnel has
# ended; a list too long for the clipboard is refused with a warning. Exits 77 (skipped) only when
# Xvfb is not installed at all.
set -u
varnel=$1
keeper=$2

# shellcheck source=e2e-lib.sh
. "$(dirname "$0")/e2e-lib.sh"
require_tools xdotool xclip

# The clipboard manager runs beside the program and is stopped with it.
keeper_pid=""
keeper_log="$work/keeper.log"
end_keeper() {
    [ -n "$keeper_pid" ] && kill "$keeper_pid" 2>/dev/null && wait "$keeper_pid" 2>/dev/null
    cleanup
}
trap end_keeper EXIT
fail_with_keeper() {
    echo "---- clipboard keeper output"
    cat "$keeper_log" 2>/dev/null
    screenshot e2e-varnel-failure
    fail "$@"
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

start_xvfb 1280x1024x24

"$keeper" >"$keeper_log" 2>&1 &
keeper_pid=$!
wait_until 'grep -q "^ready" "$keeper_log"' 50 || fail_with_keeper "the clipboard manager did not start"

# The desktop's opener, standing in for xdg-open: it records its arguments.
mkdir -p "$work/bin"
cat >"$work/bin/xdg-open" <<EOF
#!/bin/sh
{ echo "\$#"; for a in "\$@"; do echo "\$a"; done; } >>"$work/opened"
EOF
chmod +x "$work/bin/xdg-open"

PATH="$work/bin:$PATH" start_probe "$varnel" --reproducible
varnel_pid=$probe_pid
title="Varnel V1.0 (reproducible)"
wait_until '[ -n "$(window_named "$title")" ]' 100 || fail_with_keeper "the main window did not show"
main=$(window_named "$title")
eval "$(xdotool getwindowgeometry --shell "$main")"
[ "$WIDTH x $HEIGHT" = "482 x 481" ] || fail_with_keeper "the window is $WIDTH x $HEIGHT"
[ "$X,$Y" = "$(((1280 - 482) / 2)),$(((1024 - 481) / 2))" ] || fail_with_keeper "the window is at $X,$Y, not centred"
left=$X
top=$Y
# The program's icon for the desktop's task bar and window switcher.
if command -v xprop >/dev/null 2>&1; then
    xprop -id "$main" _NET_WM_ICON | grep -q 'Icon (32 x 32)' ||
        fail_with_keeper "the window carries no 32 x 32 icon"
fi
sleep 0.3
screenshot e2e-varnel-start

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
screenshot e2e-varnel-generated

# Copy: the message box says so; Enter answers its focused OK button.
click_at "${copy[@]}"
wait_until '[ -n "$(window_named Congratulation)" ]' 50 || fail_with_keeper "no message box after Copy"
screenshot e2e-varnel-copied
xdotool key Return
wait_until '[ -z "$(window_named Congratulation)" ]' 50 || fail_with_keeper "Enter did not close the message box"

# What the window holds: the same request from the same reproducible sequence, its lines joined by
# CR LF as the list in the window is.
"$varnel" generate --reproducible --digits --upper -n 25 -l 10 2>/dev/null |
    sed 's/$/\r/' | head -c -2 >"$work/expected"
[ "$(wc -l <"$work/expected")" -eq 24 ] || fail_with_keeper "the command line did not give 25 lines"
timeout 10 xclip -o -selection clipboard >"$work/clipboard" 2>"$work/xclip.log" ||
    fail_with_keeper "xclip could not read the clipboard: $(cat "$work/xclip.log")"
if ! cmp -s "$work/expected" "$work/clipboard"; then
    echo "expected:"; od -c "$work/expected" | head -n 8
    echo "clipboard:"; od -c "$work/clipboard" | head -n 8
    fail_with_keeper "the clipboard does not hold the list byte for byte"
fi

# A list longer than the X server takes in one piece cannot reach the clipboard: the window says
# so instead of claiming success, and the clipboard keeps the list copied before.
length=(341 249)    # the length of each password: panel + group 4 (272, 216) + (48, 24)
click_at "${count[@]}"
xdotool key End BackSpace BackSpace BackSpace
xdotool type --delay 20 "1100000"
click_at "${length[@]}"
xdotool key End BackSpace BackSpace BackSpace
xdotool type --delay 20 "16"
click_at "${generate[@]}"
sleep 0.5
click_at "${copy[@]}"
wait_until '[ -n "$(window_named Failed)" ]' 50 || fail_with_keeper "copying a list too long for the clipboard did not say it failed"
screenshot e2e-varnel-copy-refused
xdotool key Return
wait_until '[ -z "$(window_named Failed)" ]' 50 || fail_with_keeper "Enter did not close the warning"
timeout 10 xclip -o -selection clipboard >"$work/clipboard" 2>"$work/xclip.log" ||
    fail_with_keeper "xclip could not read the clipboard: $(cat "$work/xclip.log")"
cmp -s "$work/expected" "$work/clipboard" || fail_with_keeper "the refused copy changed the clipboard"

# Help, About: the About window shows over the main one; its close button hides it again.
xdotool key --window "$main" alt+h
sleep 0.3
screenshot e2e-varnel-help-menu
xdotool key a
wait_until '[ -n "$(window_named About)" ]' 50 || fail_with_keeper "Help, About did not open the About window"
about=$(window_named About)
eval "$(xdotool getwindowgeometry --shell "$about")"
[ "$WIDTH x $HEIGHT" = "324 x 190" ] || fail_with_keeper "the About window is $WIDTH x $HEIGHT"
[ "$X,$Y" = "$((left + (482 - 324) / 2)),$((top + (481 - 190) / 2))" ] ||
    fail_with_keeper "the About window is at $X,$Y, not centred on the main window"
sleep 0.3
screenshot e2e-varnel-about
xdotool mousemove $((X + WIDTH - 14)) $((Y + 12)) click 1
wait_until '[ -z "$(window_named About)" ]' 50 || fail_with_keeper "the About window's close button did not close it"
kill -0 "$varnel_pid" 2>/dev/null || fail_with_keeper "closing About ended the program"

# Help, Product Document: the desktop's opener gets the help page's absolute path, alone.
sleep 0.2
xdotool key --window "$main" alt+h
sleep 0.3
xdotool key p
wait_until '[ -s "$work/opened" ]' 50 || fail_with_keeper "Product Document started no opener"
page="$(cd "$(dirname "$varnel")" && pwd)/varnel.html"
[ "$(cat "$work/opened")" = "$(printf '1\n%s' "$page")" ] ||
    fail_with_keeper "the opener got: $(tr '\n' ' ' <"$work/opened")"

# File, Exit ends the program with status 0, after the clipboard manager took the list over.
sleep 0.2
xdotool key --window "$main" alt+f
sleep 0.3
screenshot e2e-varnel-file-menu
xdotool key Return
wait_ended 50 || fail_with_keeper "File, Exit did not end the program"
[ "$ended_status" -eq 0 ] || fail_with_keeper "varnel ended with status $ended_status"
grep -q "^saved $(wc -c <"$work/expected")\$" "$keeper_log" ||
    fail_with_keeper "the clipboard manager was not handed the list"
timeout 10 xclip -o -selection clipboard >"$work/kept" 2>"$work/xclip.log" ||
    fail_with_keeper "after Varnel ended the clipboard is empty: $(cat "$work/xclip.log")"
cmp -s "$work/expected" "$work/kept" || fail_with_keeper "the clipboard manager does not hold the list byte for byte"

echo "PASS: the window's size and place, key boxes, count, Generate, Copy and the clipboard byte for byte, About, Product Document, Exit, and the list kept after the end"
exit 0
