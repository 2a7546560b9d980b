#!/usr/bin/env bash
# Installation speed: a generated product of about 300 MiB in about 200 files, installed
# under Wine once by its real Setup.exe (driven through the wizard) and once by an NSIS
# installer of the same files (zlib, silent), in the same run and the same Wine prefix.
# Prints both times and their ratio.
#   STP_BENCH_MIB=300 STP_BENCH_FILES=200 scripts/bench-install.sh
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
"$root/scripts/setup.sh"
out=$root/build/bench-install
mib=${STP_BENCH_MIB:-300}
count=${STP_BENCH_FILES:-200}

# shellcheck source=scripts/wizard-lib.sh
. "$root/scripts/wizard-lib.sh"
STP_LOG=bench build_demo_setup "$out/demo" >/dev/null

# The product: the demo's definition and pictures, and generated files. A third of the
# bytes are random (incompressible), the rest text-like, as real programs' files are.
product=$out/product
rm -rf "$product"
mkdir -p "$product"
cp -r "$(dirname "$STP_PRODUCT_INI")/pictures" "$product/"
sed 's/^\(RequiredSpace\).*$/\1 = '"$mib"' MB/' "$STP_PRODUCT_INI" >"$product/product.ini"
python3 - "$product/files/app" "$mib" "$count" <<'PY'
import os, random, sys
folder, mib, count = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
rng = random.Random(20240601)
total = mib * 1024 * 1024
weights = [rng.uniform(0.2, 1.8) for _ in range(count)]
scale = total / sum(weights)
words = [bytes(rng.choice(b"abcdefghijklmnopqrstuvwxyz") for _ in range(rng.randint(2, 9))) for _ in range(4000)]
for i, w in enumerate(weights):
    size = int(w * scale)
    sub = os.path.join(folder, f"part{i % 8}")
    os.makedirs(sub, exist_ok=True)
    with open(os.path.join(sub, f"file{i:03}.dat"), "wb") as f:
        if i % 3 == 0:
            f.write(rng.randbytes(size))
        else:
            chunk = b" ".join(rng.choice(words) for _ in range(20000)) + b"\n"
            data = (chunk * (size // len(chunk) + 1))[:size]
            f.write(data)
PY
cp "$(dirname "$STP_PRODUCT_INI")/files/app/DemoPad.exe" "$product/files/app/"
echo "bench: product of $(du -sm "$product/files" | cut -f1) MiB in $(find "$product/files" -type f | wc -l) files"

echo "bench: building Setup.exe"
"$STP_TOOL" build "$product/product.ini" -o "$out/Setup.exe" --stub "$STP_STUB" >/dev/null

echo "bench: building the NSIS installer (zlib, 64-bit like Setup.exe)"
win_files=$(cd "$product/files/app" && pwd)
cat >"$out/bench.nsi" <<NSI
Target amd64-unicode
SetCompressor zlib
Name "Bench"
OutFile "$out/nsis-setup.exe"
RequestExecutionLevel admin
InstallDir "C:\\nsis-bench"
Section
  SetOutPath "\$INSTDIR"
  File /r "$win_files/*"
SectionEnd
NSI
makensis -V1 "$out/bench.nsi"

export WINEPREFIX=$out/wineprefix STP_DRIVER
rm -rf "$WINEPREFIX" "$WINEPREFIX.lock"
"$root/scripts/wine-prefix.sh" "$WINEPREFIX"
wizard_texts "$product/product.ini" en

now() { date +%s.%N; }

# Setup.exe: timed from the Install click until the completion page shows.
wizard_start "$out/Setup.exe"
wizard_step "$STP_NEXT" "$STP_AGREE"
wizard_step "$STP_AGREE" "$STP_INSTALL"
drv set-edit "$STP_CAPTION" 'C:\stp-bench'
sync
start=$(now)
wizard_step "$STP_INSTALL" "$STP_FINISH" 3600
stp_time=$(echo "$(now) - $start" | bc)
drv check "$STP_CAPTION" "$STP_RUN_BOX" 0
drv click "$STP_CAPTION" "$STP_FINISH"
wizard_end
installed=$(du -sm "$WINEPREFIX/drive_c/stp-bench" | cut -f1)

# NSIS: timed from start to exit of the silent installer.
sync
start=$(now)
WINEDEBUG=-all wine "$out/nsis-setup.exe" /S
wineserver -w
nsis_time=$(echo "$(now) - $start" | bc)
nsis_installed=$(du -sm "$WINEPREFIX/drive_c/nsis-bench" | cut -f1)
# What starting and ending a Windows program costs here, part of the NSIS figure only.
start=$(now)
WINEDEBUG=-all wine "$STP_DRIVER" gone "no such window" 0 || true
wine_start=$(echo "$(now) - $start" | bc)
wineserver -k || true

printf 'bench: Setup.exe installed %s MiB in %.2f s (Install click to completion page)\n' "$installed" "$stp_time"
printf 'bench: NSIS      installed %s MiB in %.2f s (start to exit, silent)\n' "$nsis_installed" "$nsis_time"
printf 'bench: (starting and ending a program under this Wine: %.2f s)\n' "$wine_start"
printf 'bench: ratio Setup.exe / NSIS = %.2f\n' "$(echo "$stp_time / $nsis_time" | bc -l)"
