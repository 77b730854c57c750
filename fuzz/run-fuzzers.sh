#!/usr/bin/env bash
# Builds every fuzz target with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each for the given number of seconds (default 60) over a copy of its seed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVARNEL_BUILD_FUZZ=ON -DVARNEL_SANITIZE=ON -DVARNEL_BUILD_TESTS=OFF -DVARNEL_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz -j 2
status=0
for dir in fuzz/*/; do
    name=$(basename "$dir")
    binary=build-fuzz/fuzz/fuzz_$name
    [ -x "$binary" ] || continue
    work=$(mktemp -d)
    cp -r "$dir/corpus/." "$work/" 2>/dev/null || true
    echo "== fuzz_$name for ${seconds}s"
    if ! "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 "$work"; then
        status=1
    fi
    rm -rf "$work"
done
exit $status
