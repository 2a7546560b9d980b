#!/usr/bin/env bash
# Runs the size-text probe in a Wine prefix of its own whose user locale writes decimals
# with a comma. The prefix is a hard-linked copy of the build's prefix (registry files
# copied, since Wine rewrites them), so the shared prefix never sees the comma.
set -euo pipefail
wine_run=$1 probe=$2 build=$3
shared=$build/wineprefix
"$(dirname "$wine_run")/wine-prefix.sh" "$shared"
own=$build/tests/shell/wineprefix-comma
rm -rf "$own"
exec 9>"$shared.lock"
flock 9
cp -al "$shared" "$own"
flock -u 9
rm -f "$own"/*.reg
cp "$shared"/*.reg "$own"/
export WINEPREFIX=$own WINEDEBUG=-all
wine reg add 'HKCU\Control Panel\International' /v sDecimal /d , /f >/dev/null
got=$(wine "$probe" | tr -d '\r')
wineserver -k || true
rm -rf "$own"
echo "size texts: $got"
[ "$got" = "1,2 MB|1,2 GB|2 KB" ]
