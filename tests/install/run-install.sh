#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks that the desktop finds everything: the two
# programs, the help page under the share folder (where the installed varnel looks for it), the
# application-menu entry naming the program and its icon, and the icon at every size.
set -u
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

fail() {
    echo "FAIL: $*"
    exit 1
}

cmake --install "$build" --prefix "$prefix" >"$prefix.log" 2>&1 || fail "cmake --install failed: $(cat "$prefix.log")"
rm -f "$prefix.log"
for program in varnel varnel-theme; do
    [ -x "$prefix/bin/$program" ] || fail "bin/$program is not installed"
done
cmp -s "$prefix/share/varnel/varnel.html" "$(dirname "$0")/../../app/varnel.html" ||
    fail "share/varnel/varnel.html is not the help page"
entry="$prefix/share/applications/varnel.desktop"
[ -f "$entry" ] || fail "no desktop entry"
for line in "Type=Application" "Name=Varnel" "Exec=varnel" "Icon=varnel" "Terminal=false"; do
    grep -qx "$line" "$entry" || fail "the desktop entry lacks $line"
done
for size in 16 32 48 64 128 256; do
    icon="$prefix/share/icons/hicolor/${size}x${size}/apps/varnel.png"
    [ -f "$icon" ] || fail "no ${size}x${size} icon"
    # The PNG's width, big-endian at byte 16.
    width=$(od -An -tu1 -j16 -N4 "$icon" | awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4 }')
    [ "$width" -eq "$size" ] || fail "the ${size}x${size} icon is $width wide"
done
"$prefix/bin/varnel" --help | grep -q "varnel generate" || fail "the installed varnel does not run"
echo "PASS: programs, help page, desktop entry and icons installed"
