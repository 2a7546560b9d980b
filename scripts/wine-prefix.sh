#!/usr/bin/env bash
# Creates a headless Wine prefix at $1 once (no display needed: null graphics driver).
# Safe to call from parallel tests: creation is serialised by a lock beside the prefix.
set -euo pipefail
prefix=$1
mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
if [ ! -f "$prefix/.stp-ready" ]; then
    echo "wine-prefix: creating $prefix" >&2
    export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    wineboot -i >/dev/null 2>&1
    if [ "${STP_WINE_DISPLAY:-}" != 1 ]; then
        wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
    fi
    wineserver -w
    # Wine links Desktop, Documents and the like to the host's home folder; make them real
    # folders of the prefix so shortcuts and files made by tests stay inside it.
    for link in "$prefix"/drive_c/users/*/*; do
        if [ -L "$link" ]; then rm -f "$link" && mkdir -p "$link"; fi
    done
    touch "$prefix/.stp-ready"
fi
