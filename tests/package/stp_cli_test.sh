#!/usr/bin/env bash
# stp pack -> verify -> list -> extract end to end, plus refusals and reproducibility.
# Arguments: the command that runs stp (a program, or a runner followed by the program).
set -uo pipefail
stp=("$@")
work=${STP_BINARY_DIR:-/tmp}/pkg-scratch/stp_cli
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
run() { "${stp[@]}" "$@" >out.txt 2>err.txt; local rc=$?; tr -d '\r' <out.txt >out.lf; tr -d '\r' <err.txt >err.lf; return $rc; }
expect_rc() { # expected-rc description args...
    local want=$1 what=$2; shift 2
    run "$@"; local rc=$?
    [ "$rc" -eq "$want" ] || fail "$what: exit $rc, expected $want ($(cat err.lf))"
}

mkdir -p src/app/sub src/system/drivers
printf 'Readme of the demo product.\n' >src/app/readme.txt
python3 -c 'import random, sys; sys.stdout.buffer.write(random.Random(1).randbytes(300000))' >src/app/sub/noise.bin
yes 'compressible line of text' | head -c 2000000 >src/app/sub/text.log
printf 'comma' >'src/app/a,b.txt'
: >src/app/empty.dat
printf 'system library' >src/system/helper.dll
printf 'driver' >src/system/drivers/d.sys

expect_rc 0 "pack" pack src -o pkg.stp
expect_rc 0 "pack again" pack src -o pkg2.stp --threads 1
cmp -s pkg.stp pkg2.stp || fail "two packs of the same source differ"
expect_rc 0 "pack with another cipher" pack src -o pkg3.stp --cipher twofish --hash md5
cmp -s pkg.stp pkg3.stp && fail "cipher choice made no difference"
[ "$(tail -c 3 pkg.stp | od -An -tx1 | tr -d ' \n')" = "0a1402" ] || fail "trailer bytes"

expect_rc 0 "verify" verify pkg.stp
grep -q "sound, 7 files" out.lf || fail "verify output: $(cat out.lf)"
expect_rc 0 "verify other cipher" verify pkg3.stp

expect_rc 0 "list" list pkg.stp
grep -q 'a,b.txt' out.lf || fail "list lacks a,b.txt"
grep -q '^\$System\$drivers\\ *d.sys' out.lf || fail "list lacks the system driver row"
grep -q '^7 files, stored .* unpacked 2300053 (2.2 MB)' out.lf || fail "list totals: $(tail -1 out.lf)"
expect_rc 0 "list --tsv" list pkg.stp --tsv
[ "$(wc -l <out.lf)" -eq 7 ] || fail "tsv rows"

expect_rc 0 "extract" extract pkg.stp dest --system-dir sys --progress-lines
[ "$(tail -1 out.lf)" = "progress 100" ] || fail "last progress line: $(tail -1 out.lf)"
[ "$(grep -c '^progress ' out.lf)" -eq 7 ] || fail "progress lines: $(cat out.lf)"
diff -r src/app dest >/dev/null || fail "extracted app files differ"
diff -r src/system sys >/dev/null || fail "extracted system files differ"
# System files already present are kept.
printf 'newer' >sys/helper.dll
expect_rc 0 "extract again" extract pkg.stp dest --system-dir sys
[ "$(cat sys/helper.dll)" = newer ] || fail "an existing system file was replaced"
[ ! -s out.lf ] || fail "progress shown although stdout is no terminal"

# Refusals leave nothing behind.
mkdir -p empty/app
expect_rc 1 "pack of an empty source" pack empty -o none.stp
[ ! -e none.stp ] && [ ! -e none.stp.part ] || fail "a failed pack left output"
expect_rc 2 "pack without output" pack src
expect_rc 2 "unknown cipher" pack src -o none.stp --cipher rot13
grep -q "unknown cipher" err.lf || fail "unknown cipher message"
expect_rc 2 "extract without dest" extract pkg.stp

# The first bytes lost: trailer and table intact, every entry shifted.
tail -c +101 pkg.stp >cut.stp
expect_rc 1 "verify of a cut package" verify cut.stp
grep -q 'cut.stp' err.lf || fail "verify message names no package: $(cat err.lf)"
expect_rc 1 "extract of a cut package" extract cut.stp cutdest --system-dir sys
[ "$(wc -l <err.lf)" -eq 1 ] && grep -q 'cut.stp' err.lf || fail "extract message: $(cat err.lf)"
cp pkg.stp flipped.stp
printf '\x00' | dd of=flipped.stp bs=1 seek=40 conv=notrunc 2>/dev/null
expect_rc 1 "verify of a damaged stream" verify flipped.stp
grep -q 'flipped.stp: row [0-9]* of the file table: damaged entry' err.lf || fail "damaged stream message: $(cat err.lf)"

expect_rc 0 "help" --help
for c in pack list extract verify; do grep -q "^  $c " out.lf || fail "help lacks $c"; done
expect_rc 0 "pack help" pack --help
grep -q '^usage: stp pack SRC_DIR' out.lf || fail "pack usage"

[ "$failures" -eq 0 ] && echo "stp_cli: all passed" && rm -rf "$work"
exit $(( failures > 0 ))
