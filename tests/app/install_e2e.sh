#!/usr/bin/env bash
# Installs the demo product with its real Setup.exe under Wine, in English and in Chinese,
# driving the wizard through its pages, and checks what the installation left behind.
#   install_e2e.sh SETUP.exe WIZARD-DRIVER.exe PRODUCT_FOLDER WORK_FOLDER
# Runs in its own Wine prefix below WORK_FOLDER, so its windows meet no other test's.
set -uo pipefail
setup=$1 driver=$2 product=$3 work=$4
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# shellcheck source=scripts/wizard-lib.sh
. "$root/scripts/wizard-lib.sh"
export STP_DRIVER=$driver WINEPREFIX=$work/wineprefix
ini=$product/product.ini

passed=0 failed=0
check() { # what, expected, actual
    if [ "$2" == "$3" ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        printf 'FAIL: %s\n  expected: %s\n  actual:   %s\n' "$1" "$2" "$3"
    fi
}
fatal() {
    echo "FATAL: $*"
    wineserver -k 2>/dev/null
    exit 1
}

rm -rf "$work"
mkdir -p "$work"
"$root/scripts/wine-prefix.sh" "$WINEPREFIX" || fatal "no Wine prefix"
system32=$WINEPREFIX/drive_c/windows/system32

# The values of the product's uninstall key, one "name<TAB>data" a line.
uninstall_values() {
    uninstall_entry | sed -n 's/^ \{4\}\([A-Za-z]*\) \{4\}REG_SZ \{4\}\(.*\)$/\1\t\2/p'
}
value_of() { # name
    uninstall_values | awk -F'\t' -v n="$1" '$1 == n { print $2 }'
}

# One installation: lang, destination to type (empty: keep the proposal), expected proposal,
# tick "run at finish" (0/1). Leaves DEST set to the folder installed into.
install() {
    local lang=$1 typed=$2 proposal=$3 run=$4
    wizard_texts "$ini" "$lang"
    echo "--- $lang: installing"
    wizard_start "$setup" || fatal "$lang: the wizard did not open"
    wizard_step "$STP_NEXT" "$STP_AGREE" || fatal "$lang: no licence page"
    wizard_step "$STP_AGREE" "$STP_INSTALL" || fatal "$lang: no destination page"
    check "$lang: proposed destination" "$proposal" "$(wizard_destination)"
    if [ -n "$typed" ]; then
        drv set-edit "$STP_CAPTION" "$typed"
    fi
    DEST=$(wizard_destination)
    drv check "$STP_CAPTION" "$STP_DESKTOP_BOX" 1
    wizard_step "$STP_INSTALL" "$STP_FINISH" 600 || fatal "$lang: the install did not reach the last page"
    drv check "$STP_CAPTION" "$STP_RUN_BOX" "$run"
    drv click "$STP_CAPTION" "$STP_FINISH"
    wizard_end
}

# What one installation into DEST must have left.
verify_install() { # lang
    local lang=$1 folder
    folder=$(unix_path "$DEST")
    [ -d "$folder" ] || fatal "$lang: $DEST was not created"
    local expected actual
    expected=$(cd "$product/files/app" && find . -type f | sort)
    actual=$(cd "$folder" && find . -type f | sort)
    check "$lang: installed file list" "$expected" "$actual"
    while read -r f; do
        cmp -s "$product/files/app/$f" "$folder/$f"
        check "$lang: $f equals the product's" 0 $?
    done <<<"$expected"
    check "$lang: no Setup.stp left" no "$([ -e "$folder/Setup.stp" ] && echo yes || echo no)"

    local exe="$DEST\\$STP_EXE_NAME.exe" publisher home
    if [ "$lang" = zh ]; then
        publisher="岚川软件工作室" home=$(ini_value "$ini" HomePageCn)
    else
        publisher="Corvane Software" home=$(ini_value "$ini" HomePageEn)
    fi
    check "$lang: uninstall values" "DisplayIcon DisplayName DisplayVersion Publisher URLInfoAbout UninstallString" \
        "$(uninstall_values | cut -f1 | sort | tr '\n' ' ' | sed 's/ $//')"
    check "$lang: DisplayIcon" "$exe" "$(value_of DisplayIcon)"
    check "$lang: DisplayName" "$STP_NAME" "$(value_of DisplayName)"
    check "$lang: DisplayVersion" "$(ini_value "$ini" Version)" "$(value_of DisplayVersion)"
    check "$lang: Publisher" "$publisher" "$(value_of Publisher)"
    check "$lang: URLInfoAbout" "$home" "$(value_of URLInfoAbout)"
    # Quoted by the wizard, so that Windows does not split the path at a blank.
    check "$lang: UninstallString" "\"$DEST\\Uninst.exe\"" "$(value_of UninstallString)"
    check "$lang: listed by wine uninstaller" 1 "$(wine_out uninstaller --list | grep -cF "|||$STP_NAME")"

    local lnk
    lnk="$(unix_path "$(desktop_folder)")/$STP_NAME.lnk"
    check "$lang: desktop shortcut exists" yes "$([ -f "$lnk" ] && echo yes || echo no)"
    local info
    info=$(lnkinfo "$lnk" 2>/dev/null)
    check "$lang: shortcut target" "$exe" "$(echo "$info" | sed -n 's/^[[:space:]]*Local path[[:space:]]*: //p' | head -n 1)"
    check "$lang: shortcut working folder" "$DEST\\" \
        "$(echo "$info" | sed -n 's/^[[:space:]]*Working directory[[:space:]]*: //p' | head -n 1)"
}

# Whether the installed program's window shows within a few seconds; closes it.
program_started() {
    if drv wait "$STP_PRODUCT_TITLE" "${1:-20}"; then
        drv close "$STP_PRODUCT_TITLE"
        drv gone "$STP_PRODUCT_TITLE" 20
        echo yes
    else
        echo no
    fi
}

shared=DemoPadShared.ini
[ -e "$system32/$shared" ] && fatal "$shared already in a fresh prefix"

# 1. English, into a folder of our choosing (with a blank), program not started at Finish.
wizard_texts "$ini" en
install en 'C:\Stp Test\Demo Pad' 'C:\Program Files\Corvane Soft\DemoPad' 0
verify_install en
check "en: system file installed as packed" 0 "$(cmp -s "$product/files/system/$shared" "$system32/$shared"; echo $?)"
check "en: Finish unticked starts nothing" no "$(program_started 5)"

# 2. English again: proposes the first installation's folder; Finish starts the program.
install en '' 'C:\Stp Test\Demo Pad' 1
verify_install en
check "en: Finish ticked starts the program" yes "$(program_started)"

# 3. Chinese: a system file that is already there is kept as it is.
printf 'kept\r\n' >"$system32/$shared"
wizard_texts "$ini" zh
install zh '' 'C:\Program Files\Corvane Soft\DemoPad' 1
verify_install zh
check "zh: Finish ticked starts the program" yes "$(program_started)"
check "zh: existing system file kept" "kept" "$(tr -d '\r' <"$system32/$shared")"

wineserver -k 2>/dev/null
echo "install e2e: $passed checks passed, $failed failed"
[ "$failed" -eq 0 ]
