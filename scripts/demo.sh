#!/usr/bin/env bash
# The main job on the bundled demo product: builds the packer `stp` (natively) and the wizard
# and DemoPad (for Windows), builds the demo product's Setup.exe and runs it under Wine.
# With a display ($DISPLAY set) you step through the wizard yourself; without one, the
# wizard-driver clicks through its pages. Either way the script ends by showing what was
# installed: the files, the uninstall entry and the desktop shortcut.
#   STP_DEMO_LANG=zh scripts/demo.sh      the Chinese wizard (default: en)
#   STP_DEMO_HEADLESS=1 scripts/demo.sh   drive the wizard even when a display is there
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
"$root/scripts/setup.sh"
lang=${STP_DEMO_LANG:-en}
out=$root/build/demo

# shellcheck source=scripts/wizard-lib.sh
. "$root/scripts/wizard-lib.sh"
STP_LOG=demo build_demo_setup "$out"
export STP_DRIVER
wizard_texts "$STP_PRODUCT_INI" "$lang"

if [ -n "${DISPLAY:-}" ] && [ "${STP_DEMO_HEADLESS:-}" != 1 ]; then
    export WINEPREFIX=$out/wineprefix-display
    if [ ! -f "$WINEPREFIX/.stp-ready" ]; then
        STP_WINE_DISPLAY=1 "$root/scripts/wine-prefix.sh" "$WINEPREFIX"
        wizard_fonts
    fi
    echo "demo: opening the wizard on $DISPLAY (Wine prefix $WINEPREFIX); step through it"
    wine_lang "$STP_SETUP_EXE" || true
    wineserver -w
else
    export WINEPREFIX=$out/wineprefix
    rm -rf "$WINEPREFIX" "$WINEPREFIX.lock"
    "$root/scripts/wine-prefix.sh" "$WINEPREFIX"
    echo "demo: no display; the wizard-driver steps through the wizard (Wine prefix $WINEPREFIX)"
    wizard_start "$STP_SETUP_EXE"
    echo "--- page 1, welcome"
    wizard_page_texts | sed 's/^/    /'
    wizard_step "$STP_NEXT" "$STP_AGREE"
    echo "--- page 2, licence"
    wizard_page_texts | sed 's/^/    /' | cut -c1-110
    wizard_step "$STP_AGREE" "$STP_INSTALL"
    echo "--- page 3, destination"
    wizard_page_texts | sed 's/^/    /'
    wizard_step "$STP_INSTALL" "$STP_FINISH" 600
    echo "--- page 4, completion"
    wizard_page_texts | sed 's/^/    /'
    echo "demo: Finish with \"$STP_RUN_BOX\" ticked"
    drv check "$STP_CAPTION" "$STP_RUN_BOX" 1
    drv click "$STP_CAPTION" "$STP_FINISH"
    wizard_end
    if drv wait "$STP_PRODUCT_TITLE" 60; then
        echo "demo: the installed program is running: window \"$STP_PRODUCT_TITLE\"; closing it"
        drv close "$STP_PRODUCT_TITLE"
    else
        echo "demo: the installed program did not start"
    fi
    wineserver -w
fi

echo
echo "=== What was installed"
entry=$(uninstall_entry || true)
if [ -z "$entry" ]; then
    echo "no uninstall entry for $STP_NAME: nothing was installed"
    # Cancelling the wizard is a person's choice; the driven run must install.
    [ -n "${DISPLAY:-}" ] && [ "${STP_DEMO_HEADLESS:-}" != 1 ] && exit 0
    exit 1
fi
echo "--- uninstall entry"
echo "$entry" | sed '/^$/d;s/^/    /'
icon=$(echo "$entry" | sed -n 's/^ *DisplayIcon *REG_SZ *//p')
folder=$(unix_path "${icon%\\*}")
echo "--- files in ${icon%\\*} ($folder)"
if [ -n "$folder" ] && [ -d "$folder" ]; then
    (cd "$folder" && find . -type f -printf '%P\t%s bytes\n' | sort | sed 's/^/    /')
else
    echo "    (the folder is missing)"
fi
echo "--- files in the system folder"
for f in "$(dirname "$STP_PRODUCT_INI")"/files/system/*; do
    [ -e "$f" ] || continue
    name=$(basename "$f")
    if [ -f "$WINEPREFIX/drive_c/windows/system32/$name" ]; then
        echo "    C:\\windows\\system32\\$name	$(stat -c %s "$WINEPREFIX/drive_c/windows/system32/$name") bytes"
    else
        echo "    C:\\windows\\system32\\$name missing"
    fi
done
echo "--- the list of installed programs (wine uninstaller --list)"
wine_out uninstaller --list | sed 's/^/    /'
desktop=$(desktop_folder)
lnk="$(unix_path "$desktop")/$STP_NAME.lnk"
echo "--- desktop shortcut $desktop\\$STP_NAME.lnk"
if [ -f "$lnk" ]; then
    lnkinfo "$lnk" | grep -E 'Local path|Working directory' | sed 's/^[[:space:]]*/    /'
else
    echo "    (none)"
fi
