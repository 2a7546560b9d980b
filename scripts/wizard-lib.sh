# Shared by demo.sh, screenshots.sh, bench-install.sh and the install tests: running a
# product's Setup.exe under Wine and stepping through its wizard with wizard-driver.
# Source it; it needs WINEPREFIX set and STP_DRIVER naming wizard-driver.exe.

# A [Product] value of a product definition (keys without regard to case, value trimmed).
ini_value() { # ini, key
    sed -n "s/^[[:space:]]*$2[[:space:]]*=[[:space:]]*//Ip" "$1" | head -n 1 | sed 's/[[:space:]\r]*$//'
}

# Sets the texts the wizard shows in one language: lang is en or zh.
wizard_texts() { # product.ini, lang
    local ini=$1
    STP_LANG=$2
    if [ "$STP_LANG" = zh ]; then
        STP_LOCALE=zh_CN.UTF-8
        STP_NAME=$(ini_value "$ini" NameCn)
        STP_CAPTION="安装向导 - $STP_NAME"
        STP_NEXT="下一步" STP_AGREE="我同意" STP_INSTALL="安 装" STP_FINISH="完 成"
        STP_RUN_BOX="立即运行软件" STP_DESKTOP_BOX="创建桌面快捷方式"
        STP_PRODUCT_TITLE=$(ini_value "$ini" TitleCn)
    else
        STP_LOCALE=en_US.UTF-8
        STP_NAME=$(ini_value "$ini" NameEn)
        STP_CAPTION="Setup - $STP_NAME"
        STP_NEXT="&Next >" STP_AGREE="I &Agree" STP_INSTALL="&Install" STP_FINISH="&Finish"
        STP_RUN_BOX="Launch $STP_NAME" STP_DESKTOP_BOX="Create a desktop icon"
        STP_PRODUCT_TITLE=$(ini_value "$ini" TitleEn)
    fi
    STP_EXE_NAME=$(ini_value "$ini" ExeName)
}

# Wine in the language of the run.
wine_lang() {
    LANG=$STP_LOCALE LC_ALL=$STP_LOCALE WINEDEBUG=-all wine "$@"
}

# Wine's console programs (reg, uninstaller) write in the system code page when their
# output is a pipe; this shows it as UTF-8.
wine_out() {
    if [ "$STP_LANG" = zh ]; then
        wine_lang "$@" 2>/dev/null | iconv -f GBK -t UTF-8 | tr -d '\r'
    else
        wine_lang "$@" 2>/dev/null | tr -d '\r'
    fi
}

drv() {
    wine_lang "$STP_DRIVER" "$@"
}

# Fonts for a prefix that shows windows: Wine's own Tahoma and Marlett (the caption
# buttons' glyphs), which this Wine does not find by itself. Chinese: WenQuanYi Zen Hei (its
# "Sharp" face, crisp at 12 pixels) stands in for 宋体, the font the wizard names for its four
# Chinese labels. Chinese text in Tahoma is drawn the way Windows draws it, through the font
# linked to Tahoma, SimSun; that one stands in as Droid Sans Fallback, which stays legible
# at Tahoma's 11 pixels where WenQuanYi Zen Hei loses strokes under Wine.
wizard_fonts() {
    local face
    for face in marlett tahoma tahomabd; do
        cp "/usr/share/wine/fonts/$face.ttf" "$WINEPREFIX/drive_c/windows/Fonts/"
    done
    local replacements='HKCU\Software\Wine\Fonts\Replacements'
    WINEDEBUG=-all wine reg add "$replacements" /v 宋体 /d 'WenQuanYi Zen Hei Sharp' /f >/dev/null
    WINEDEBUG=-all wine reg add "$replacements" /v SimSun /d 'Droid Sans Fallback' /f >/dev/null
}

# The visible texts of the wizard window, one control a line.
wizard_page_texts() {
    drv controls "$STP_CAPTION" | cut -f4 | sed '/^$/d'
}

# The destination folder proposed on page 3 (the edit box's text).
wizard_destination() {
    drv controls "$STP_CAPTION" | awk -F'\t' 'tolower($1) == "edit" { print $4; exit }'
}

# Starts Setup.exe in the background; STP_SETUP_PID is the Wine launcher's process.
wizard_start() { # Setup.exe
    wine_lang "$1" &
    STP_SETUP_PID=$!
    drv wait "$STP_CAPTION" 120 || { echo "wizard: no window titled $STP_CAPTION" >&2; return 1; }
}

# Clicks `caption` and waits until `next_caption` shows (the next page).
wizard_step() { # caption, next_caption, seconds
    drv click "$STP_CAPTION" "$1"
    drv wait-control "$STP_CAPTION" "$2" "${3:-60}" || { echo "wizard: '$2' did not appear" >&2; return 1; }
}

# Waits for the wizard to close and its process to end.
wizard_end() {
    drv gone "$STP_CAPTION" 60
    wait "$STP_SETUP_PID" 2>/dev/null || true
}

# The uninstall entry of the product as `reg query` shows it.
# Empty when there is none.
uninstall_entry() {
    local entry
    entry=$(wine_out reg query "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$STP_NAME") || true
    case $entry in
    *HKEY_LOCAL_MACHINE*) echo "$entry" ;;
    esac
}

# A Windows path as a path of this machine.
unix_path() {
    WINEDEBUG=-all winepath -u "$1" 2>/dev/null | tr -d '\r'
}

# The current user's desktop folder (Windows path).
desktop_folder() {
    wine_out reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' /v Desktop |
        sed -n 's/^ *Desktop *REG_SZ *//p'
}

# Builds the packer natively, the stub, DemoPad and the driver for Windows, and the demo's
# Setup.exe into $1. Sets STP_PRODUCT_INI (the staged demo product), STP_SETUP_EXE,
# STP_DRIVER and STP_TOOL (the native stp). Build folders: build/native and build/win, or
# $STP_NATIVE_BUILD and $STP_WIN_BUILD.
build_demo_setup() { # output folder
    local root out=$1 jobs native win
    root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
    native=${STP_NATIVE_BUILD:-$root/build/native}
    win=${STP_WIN_BUILD:-$root/build/win}
    jobs=$(nproc)
    echo "${STP_LOG:-setup}: building the packer natively ($native)"
    cmake -S "$root" -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$native" --target stp -j "$jobs" >/dev/null
    STP_TOOL=$native/tools/stp/stp
    echo "${STP_LOG:-setup}: building the wizard, DemoPad and the window driver for Windows ($win)"
    local toolchain=()
    [ -f "$win/CMakeCache.txt" ] || toolchain=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake")
    cmake -S "$root" -B "$win" -G Ninja "${toolchain[@]}" -DCMAKE_BUILD_TYPE=Release \
        -DSTP_HOST_STP="$STP_TOOL" >/dev/null
    cmake --build "$win" --target Setup-stub demo_product wizard-driver -j "$jobs" >/dev/null
    STP_PRODUCT_INI=$win/examples/demo/product.ini
    STP_DRIVER=$win/tests/app/wizard-driver.exe
    STP_STUB=$win/app/Setup-stub.exe
    STP_SETUP_EXE=$out/Setup.exe
    mkdir -p "$out"
    echo "${STP_LOG:-setup}: building $STP_SETUP_EXE from $STP_PRODUCT_INI"
    "$STP_TOOL" build "$STP_PRODUCT_INI" -o "$STP_SETUP_EXE" --stub "$STP_STUB"
}
