#!/usr/bin/env bash
# Runs every libFuzzer target for SECONDS seconds each (default 60), keeping a corpus per
# target under build/fuzz/corpus/<target>, and prints executions and findings.
#   scripts/fuzz.sh [SECONDS] [target...]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
seconds=${1:-60}
shift || true
build=$root/build/fuzz  # absolute: a target may change its working folder

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DSTP_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
if [ $# -gt 0 ]; then
    targets=("$@")
else
    targets=()
    for src in fuzz/*_fuzz.cpp; do
        targets+=("$(basename "$src" .cpp)")
    done
fi
if ! cmake --build "$build" -j 2 --target "${targets[@]}" >"$build/build.log" 2>&1; then
    grep -E 'error|FAILED' "$build/build.log" | head -20
    echo "fuzz: build failed, log $build/build.log"
    exit 2
fi

status=0
for target in "${targets[@]}"; do
    corpus=$build/corpus/$target
    findings=$build/findings/$target
    mkdir -p "$corpus" "$findings"
    log=$build/$target.log
    echo "fuzz: $target for $seconds s"
    rc=0
    "$build/fuzz/$target" "$corpus" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$findings/" >"$log" 2>&1 || rc=$?
    execs=$(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$' || echo "?")
    found=$(find "$findings" -type f | wc -l)
    echo "fuzz: $target: $execs executions, corpus $(find "$corpus" -type f | wc -l) inputs, $found findings (exit $rc)"
    if [ "$rc" -ne 0 ] || [ "$found" -ne 0 ]; then
        status=1
        grep -E 'ERROR|SUMMARY|table fuzz|==[0-9]+==' "$log" | head -20 || true
        echo "fuzz: findings in $findings, log $log"
    fi
done
exit $status
