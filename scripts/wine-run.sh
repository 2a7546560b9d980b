#!/usr/bin/env bash
# Runs a Windows program under Wine in the private prefix of the build folder it lives in
# (or $WINEPREFIX when set), creating that prefix headless on first use. A user's own
# ~/.wine is never touched.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
exe=$1
if [ -z "${WINEPREFIX:-}" ]; then
    dir=$(cd "$(dirname "$exe")" && pwd)
    # The build folder is the nearest parent holding CMakeCache.txt.
    while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
    [ "$dir" = / ] && dir=$(cd "$(dirname "$exe")" && pwd)
    export WINEPREFIX="$dir/wineprefix"
fi
"$here/wine-prefix.sh" "$WINEPREFIX" >&2
export WINEDEBUG=${WINEDEBUG:--all}
# No host menu or desktop entries for shortcuts made inside the prefix.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}winemenubuilder.exe=d"
exec wine "$@"
