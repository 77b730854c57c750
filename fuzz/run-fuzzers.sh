#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer,
# coverage on all project code) and runs each for the given number of seconds (default 60).
#
#   fuzz/run-fuzzers.sh [SECONDS] [TARGET...]      (make fuzz SECONDS_EACH=N FUZZ_TARGETS="bmp icon")
#
# Each target starts from its committed seeds and regressions plus what earlier runs on this
# machine found (kept in build-fuzz/corpus/TARGET), so coverage builds up from run to run. Per
# target it prints the runs, the edges covered at the end and any finding; findings are kept in
# build-fuzz/findings/TARGET, libFuzzer's whole output in build-fuzz/logs/TARGET.log. The exit
# status is 1 when any target found something or could not run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
build=${FUZZ_BUILD:-build-fuzz}
jobs=${JOBS:-2}

# shellcheck disable=SC2086 # CMAKE_ARGS holds several arguments on purpose
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVARNEL_BUILD_FUZZ=ON -DVARNEL_SANITIZE=ON -DVARNEL_BUILD_TESTS=OFF -DVARNEL_BUILD_BENCH=OFF \
    ${CMAKE_ARGS:-} >/dev/null
cmake --build "$build" -j "$jobs" --target fuzzers

if [ $# -gt 0 ]; then
    targets=("$@")
else
    targets=()
    for driver in fuzz/*/fuzz_*.cpp; do
        targets+=("$(basename "$(dirname "$driver")")")
    done
fi

mkdir -p "$build/logs"
status=0
summary=()
for name in "${targets[@]}"; do
    binary=$build/fuzz/fuzz_$name
    if [ ! -x "$binary" ]; then
        echo "fuzz_$name: no such target" >&2
        status=1
        continue
    fi
    corpus=$build/corpus/$name
    findings=$build/findings/$name
    log=$build/logs/$name.log
    mkdir -p "$corpus" "$findings"
    for seeds in "fuzz/$name/corpus" "fuzz/$name/regressions"; do
        if [ -d "$seeds" ]; then
            cp -n "$seeds"/* "$corpus"/ 2>/dev/null || true
        fi
    done
    # The program's own window layouts seed the layout targets (as in their replay tests).
    if [ "$name" = layout ] || [ "$name" = menulayout ]; then
        cp -n app/*.lfm skin/*/*.lfm "$corpus"/ 2>/dev/null || true
    fi
    echo "== fuzz_$name for ${seconds}s"
    result=0
    "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$findings/" "$corpus" >"$log" 2>&1 || result=$?

    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    # A target that fails on its seeds stops before it reports any coverage.
    edges=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' "$log" | tail -n 1)
    written=$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log")
    line="$name: ${runs:-?} runs, ${edges:-?} edges"
    if [ "$result" -ne 0 ] || [ -n "$written" ]; then
        status=1
        line="$line, FINDING (exit status $result)"
        echo "$line"
        grep -E '^(==[0-9]+==ERROR|SUMMARY:|.*runtime error:|ALARM:|==[0-9]+== ERROR: libFuzzer)' "$log" | head -n 5 || true
        for file in $written; do
            echo "   input: $file"
        done
        echo "   log: $log"
    else
        line="$line, no finding"
        echo "$line"
    fi
    summary+=("$line")
done

echo
echo "== summary (${seconds}s each)"
printf '%s\n' "${summary[@]}"
exit $status
