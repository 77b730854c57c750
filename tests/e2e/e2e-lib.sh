# shellcheck shell=bash
# Shared by the end-to-end scripts (sourced, not run): a private Xvfb server of a given size,
# programs started on it with their output logged, waiting for their lines, reading X windows and
# screen pixels, and failing with everything logged so far.
#
# The scripts of scaled windows speak of two kinds of points: logical ones, which the programs
# print, and device ones, which xdotool and the X server use; at scale N a logical point x covers
# device pixels N*x to N*x + N - 1.

work=$(mktemp -d)
xvfb_pid=""
probe_pid=""
probe_log="$work/probe.log"

cleanup() {
    stop_probe
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    echo "---- program output"
    cat "$probe_log" 2>/dev/null
    echo "---- Xvfb output"
    tail -n 20 "$work/xvfb.log" 2>/dev/null
    exit 1
}

# require_tools TOOL...: exits 77 (skipped) only when Xvfb is not installed at all; the other tools
# are part of the test set-up (scripts/install-deps.sh test).
require_tools() {
    if ! command -v Xvfb >/dev/null 2>&1; then
        echo "SKIP: Xvfb is not installed, so no end-to-end window test can run"
        exit 77
    fi
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null 2>&1 || fail "$tool is not installed (scripts/install-deps.sh test installs it)"
    done
}

# start_xvfb WxHxD: Xvfb picks a free display itself and writes its number when it is ready. It
# keeps its state between clients (-noreset), as a desktop's server does: root window properties
# such as the resource database stay when the client that set them goes.
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp -noreset 3>"$work/display" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    local i
    for ((i = 0; i < 100; i++)); do
        [ -s "$work/display" ] && break
        kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start"
        sleep 0.1
    done
    [ -s "$work/display" ] || fail "Xvfb did not report a display"
    DISPLAY=":$(head -n 1 "$work/display")"
    export DISPLAY
    unset WAYLAND_DISPLAY SDL_VIDEODRIVER VARNEL_SCALE GDK_SCALE QT_SCALE_FACTOR
    # Under the leak checker, SDL's D-Bus library keeps a buffer to the end that is not ours to free.
    printf 'leak:libdbus-1.so\n' >"$work/lsan.supp"
    export LSAN_OPTIONS="suppressions=$work/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
}

# start_probe COMMAND...: runs it in the background, its output (both streams) in $probe_log.
start_probe() {
    : >"$probe_log"
    "$@" >"$probe_log" 2>&1 &
    probe_pid=$!
}

stop_probe() {
    if [ -n "$probe_pid" ]; then
        kill "$probe_pid" 2>/dev/null && wait "$probe_pid" 2>/dev/null
        probe_pid=""
    fi
}

# wait_for PATTERN TENTHS [NTH]: waits up to TENTHS tenths of a second for the NTH (default:
# first) line of the program's output matching PATTERN; prints it.
wait_for() {
    local pattern=$1 tries=$2 nth=${3:-1} line i
    for ((i = 0; i < tries; i++)); do
        line=$(grep -E "$pattern" "$probe_log" 2>/dev/null | sed -n "${nth}p")
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

# wait_ended TENTHS: waits for the program to end by itself; its exit status in $ended_status.
wait_ended() {
    local i
    for ((i = 0; i < $1; i++)); do
        kill -0 "$probe_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$probe_pid" 2>/dev/null && return 1
    wait "$probe_pid"
    # shellcheck disable=SC2034 # read by the scripts
    ended_status=$?
    probe_pid=""
    return 0
}

# x_geometry TITLE: "X Y W H" of the mapped X window with exactly that name, in device pixels.
x_geometry() {
    # Every variable the geometry sets stays here.
    # shellcheck disable=SC2034
    local id X Y WIDTH HEIGHT WINDOW SCREEN name
    # xdotool takes a regular expression: the title's own characters are escaped.
    # shellcheck disable=SC2016 # a sed expression, not a shell one
    name=$(printf '%s' "$1" | sed 's/[][\.*^$()+?{}|]/\\&/g')
    id=$(xdotool search --onlyvisible --name "^$name\$" 2>/dev/null | head -n 1)
    [ -n "$id" ] || return 1
    eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null)"
    echo "$X $Y $WIDTH $HEIGHT"
}

# await_window TITLE: waits up to 10 seconds for the program's window of that exact title to be
# mapped and puts its "X Y W H" into $shown; fails when the program ends first or the window never
# shows.
# shellcheck disable=SC2034 # $shown is read by the scripts
await_window() {
    local i
    shown=""
    for ((i = 0; i < 100; i++)); do
        shown=$(x_geometry "$1") && return 0
        kill -0 "$probe_pid" 2>/dev/null || fail "the program ended before it showed \"$1\""
        sleep 0.1
    done
    fail "the program did not show \"$1\""
}

# expect_geometry TITLE "X Y W H": waits a moment for the X server to show what the toolkit did.
expect_geometry() {
    local i geometry=""
    for ((i = 0; i < 30; i++)); do
        geometry=$(x_geometry "$1")
        [ "$geometry" = "$2" ] && return 0
        sleep 0.1
    done
    fail "the X window \"$1\" is at $geometry (x y w h), not $2"
}

# pixel X Y: the screen's colour at a device point, as #RRGGBB.
pixel() {
    import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | grep -o '#[0-9A-Fa-f]\{6\}' | head -n 1
}

# device N X: the last device pixel of logical coordinate X at scale N (a point that maps back by
# rounding the wrong way lands in the next logical pixel).
device() {
    echo $(($1 * $2 + $1 - 1))
}

screenshot() {
    if [ -n "${VARNEL_TEST_ARTIFACTS:-}" ] && command -v import >/dev/null 2>&1; then
        mkdir -p "$VARNEL_TEST_ARTIFACTS"
        import -window root "$VARNEL_TEST_ARTIFACTS/$1.png" 2>/dev/null || true
    fi
}
