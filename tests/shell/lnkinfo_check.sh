#!/usr/bin/env bash
# Has the Windows test program write a shortcut through the shell link object, then reads
# it with lnkinfo and compares target and working folder.
set -euo pipefail
wine_run=$1 test_exe=$2 out=$3 lnkinfo=$4
rm -rf "$out"
mkdir -p "$out"
STP_SHELL_LNK_OUT=$out "$wine_run" "$test_exe" --gtest_filter=ShortcutTest.ExportForIndependentReader
link="$out/Tool 2.5.lnk"
[ -f "$link" ] || { echo "no shortcut written"; exit 1; }
target=$(sed -n 1p "$out/expected.txt")
folder=$(sed -n 2p "$out/expected.txt")
info=$("$lnkinfo" "$link")
echo "$info"
field() { # the value of one "name : value" line
    printf '%s\n' "$info" | sed -n "s/^[[:space:]]*$1[[:space:]]*: //p" | head -1
}
status=0
[ "$(field 'Local path')" = "$target" ] || { echo "local path differs: want $target"; status=1; }
[ "$(field 'Working directory')" = "$folder" ] || { echo "working directory differs: want $folder"; status=1; }
[ "$(field 'Command line arguments')" = "-x" ] || { echo "arguments differ: want -x"; status=1; }
exit $status
