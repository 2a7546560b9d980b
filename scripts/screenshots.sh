#!/usr/bin/env bash
# Takes PNG screenshots of the wizard's four pages, in English and in Chinese, into
# docs/screenshots/: the demo product's Setup.exe runs under Wine on a virtual X server
# (Xvfb), in a Wine virtual desktop so that Wine draws the window frames, and the
# wizard-driver steps through the pages (installing the demo to reach the last one).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
"$root/scripts/setup.sh"
out=$root/build/screenshots
shots=$root/docs/screenshots

# shellcheck source=scripts/wizard-lib.sh
. "$root/scripts/wizard-lib.sh"
STP_LOG=screenshots build_demo_setup "$out"

display=:${STP_XVFB_DISPLAY:-77}
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo -display "$display" >/dev/null 2>&1 && break; sleep 0.1; done

# A prefix per language, with the fonts of wizard_fonts and a virtual desktop of 800x600 in
# which Wine draws the window frames (and the desktop shortcut, away from the centred window).
make_prefix() { # lang
    export WINEPREFIX=$out/wineprefix-$1
    rm -rf "$WINEPREFIX" "$WINEPREFIX.lock"
    STP_WINE_DISPLAY=1 "$root/scripts/wine-prefix.sh" "$WINEPREFIX"
    wizard_fonts
    WINEDEBUG=-all wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null
    WINEDEBUG=-all wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 800x600 /f >/dev/null
    wineserver -w
}

shot() { # file name
    sleep 1 # let the page paint
    local left top width height
    read -r left top width height < <(drv rect "$STP_CAPTION")
    import -display "$display" -window root -crop "${width}x${height}+${left}+${top}" +repage "$shots/$1"
    echo "screenshots: $shots/$1 (${width}x${height})"
}

mkdir -p "$shots"
for lang in en zh; do
    make_prefix "$lang"
    wizard_texts "$STP_PRODUCT_INI" "$lang"
    wizard_start "$STP_SETUP_EXE"
    shot "$lang-1-welcome.png"
    wizard_step "$STP_NEXT" "$STP_AGREE"
    shot "$lang-2-licence.png"
    wizard_step "$STP_AGREE" "$STP_INSTALL"
    shot "$lang-3-destination.png"
    wizard_step "$STP_INSTALL" "$STP_FINISH" 600
    shot "$lang-4-completion.png"
    drv check "$STP_CAPTION" "$STP_RUN_BOX" 0
    drv click "$STP_CAPTION" "$STP_FINISH"
    wizard_end
    wineserver -k || true
done
