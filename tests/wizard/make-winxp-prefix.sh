#!/usr/bin/env bash
# Creates the headless Wine prefix $1 reporting Windows XP (64-bit), once.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
prefix=$1
"$here/../../scripts/wine-prefix.sh" "$prefix"
exec 9>"$prefix.lock"
flock 9
if [ ! -f "$prefix/.stp-winxp" ]; then
    WINEPREFIX=$prefix WINEDEBUG=-all winecfg -v winxp64
    WINEPREFIX=$prefix wineserver -w
    touch "$prefix/.stp-winxp"
fi
