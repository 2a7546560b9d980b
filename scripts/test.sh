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

status=0
run() { # name, ctest arguments...
    local dir=build/$1; shift
    echo "test: running $dir"
    (cd "$dir" && ctest --output-on-failure -j "$jobs" "$@") || status=1
}

build native -DCMAKE_BUILD_TYPE=Release
run native
build sanitize -DCMAKE_BUILD_TYPE=Debug -DSTP_SANITIZE=ON
run sanitize
build win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release
rm -rf build/win/wineprefix build/win/wineprefix.lock
run win -L wine

echo "test: finished in $(( $(date +%s) - start )) s"
[ $status -eq 0 ] && echo "test: all passed" || echo "test: FAILURES"
exit $status
