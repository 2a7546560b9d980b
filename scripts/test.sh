#!/usr/bin/env bash
# Runs every test: the portable core natively, again under AddressSanitizer and
# UndefinedBehaviorSanitizer, and the Windows build under Wine in a fresh private prefix.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
"$root/scripts/setup.sh"
jobs=$(nproc)
start=$(date +%s)

build() { # name, extra cmake arguments...
    local dir=build/$1; shift
    echo "test: building $dir"
    cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir" -j "$jobs" >/dev/null || cmake --build "$dir" -j 1
}

status=0 passed=0 failed=0
run() { # name, ctest arguments...
    local dir=build/$1; shift
    echo "test: running $dir (log: $dir/ctest.log)"
    local rc=0
    (cd "$dir" && ctest -V -j "$jobs" "$@") >"$dir/ctest.log" 2>&1 || rc=1
    # Failures in full, then the summary line.
    grep -E -A40 '\*\*\*Failed|\*\*\*Exception|\*\*\*Timeout|Not Run' "$dir/ctest.log" | head -400 || true
    grep -E 'tests passed|No tests were found' "$dir/ctest.log" || true
    local total bad
    total=$(sed -n 's/.*tests failed out of \([0-9]*\).*/\1/p' "$dir/ctest.log" | tail -1)
    bad=$(sed -n 's/.* \([0-9]*\) tests failed out of.*/\1/p' "$dir/ctest.log" | tail -1)
    local cases
    cases=$(grep -E '\[  PASSED  \] [0-9]+ tests?\.' "$dir/ctest.log" | awk '{s += $(NF-1)} END {print s + 0}')
    echo "test: $dir: $cases GoogleTest cases passed"
    passed=$((passed + ${total:-0} - ${bad:-0}))
    failed=$((failed + ${bad:-0}))
    [ $rc -eq 0 ] || status=1
}

build native -DCMAKE_BUILD_TYPE=Release
run native
build sanitize -DCMAKE_BUILD_TYPE=Debug -DSTP_SANITIZE=ON
run sanitize
# The native stp builds the demo product's Setup.exe for the start-up and install tests.
build win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
    -DSTP_HOST_STP="$root/build/native/tools/stp/stp"
rm -rf build/win/wineprefix build/win/wineprefix.lock
run win -L wine

echo "test: finished in $(( $(date +%s) - start )) s"
[ $status -eq 0 ] || echo "test: FAILURES (see the logs above)"
echo "test: $passed passed, $failed failed"
exit $status
