#!/usr/bin/env bash
# `stp build` against makensis (zlib, the default non-solid mode) on the same product:
# about 512 MiB in about 200 files of mixed compressibility. Prints both times (the better
# of two runs each), their ratio and both installer sizes; asserts nothing. The data lives under build/bench-build and is
# deleted afterwards.
#   scripts/bench-build.sh
# STP_BENCH_STP and STP_BENCH_STUB name a native stp and a Setup-stub.exe to use; without
# them both are built (build/native and build/win, as scripts/demo.sh does).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
work=$root/build/bench-build
trap 'rm -rf "$work/product" "$work/out"' EXIT

stp=${STP_BENCH_STP:-}
stub=${STP_BENCH_STUB:-}
if [ -z "$stp" ]; then
    echo "bench: building stp (build/native)"
    cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build build/native --target stp -j 2 >/dev/null
    stp=$root/build/native/tools/stp/stp
fi
if [ -z "$stub" ]; then
    echo "bench: building the wizard stub (build/win)"
    cmake -S . -B build/win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build build/win --target Setup-stub -j 2 >/dev/null
    stub=$root/build/win/app/Setup-stub.exe
fi
command -v makensis >/dev/null || { echo "bench: makensis missing (scripts/setup.sh installs nsis)" >&2; exit 1; }

echo "bench: generating the product"
rm -rf "$work/product" "$work/out"
mkdir -p "$work/product/files" "$work/out"
cp -r examples/demo/pictures "$work/product/pictures"
python3 - "$work/product/files" <<'PY'
import os, random, sys
top = sys.argv[1]
rng = random.Random(512)
vocabulary = [bytes(rng.choice(b"etaoinshrdlucmfwyp") for _ in range(rng.randint(2, 9))) for _ in range(3000)]
def noise(n):       # pictures, archives: incompressible
    return rng.randbytes(n)
def prose(n):       # documents and sources: very compressible
    out, size = [], 0
    while size < n:
        line = b" ".join(rng.choices(vocabulary, k=rng.randint(5, 14))) + b".\r\n"
        out.append(line)
        size += len(line)
    return b"".join(out)[:n]
def program(n):     # executables: tables, code and zero padding
    out, size = [], 0
    while size < n:
        r = rng.random()
        piece = rng.randbytes(rng.randint(32, 512)) if r < 0.45 else (
            bytes(rng.randint(64, 2048)) if r < 0.7 else bytes(rng.choices(range(16), k=rng.randint(64, 1024))))
        out.append(piece)
        size += len(piece)
    return b"".join(out)[:n]
kinds = [noise, prose, program]
total, count = 0, 0
while total < 512 * 2**20:
    size = rng.randint(256 * 1024, int(4.9 * 2**20))
    folder = os.path.join(top, "system" if count % 40 == 5 else "app", "part%d" % (count % 6))
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "file%03d.dat" % count), "wb") as f:
        f.write(kinds[count % 3](size))
    total += size
    count += 1
print("bench: %d files, %.1f MiB" % (count, total / 2**20))
PY
cat > "$work/product/product.ini" <<'INI'
[Product]
WindowClass = TfrmBench
TitleEn = BenchPad
TitleCn = 基准
NameEn = Corvane BenchPad
NameCn = 基准
Freeware = -1
ExeName = BenchPad
Version = 1.0
[Pictures]
ImageLeftCn = pictures/left-cn.jpg
ImageLeftEn = pictures/left-en.jpg
ImageIcon = pictures/header.bmp
AppIcon = pictures/app.ico
[Files]
Source = files
INI
cat > "$work/product/bench.nsi" <<NSI
Unicode true
SetCompressor zlib
OutFile "$work/out/nsis-setup.exe"
Name "Corvane BenchPad"
InstallDir "\$PROGRAMFILES64\\Corvane Soft\\BenchPad"
RequestExecutionLevel admin
Page directory
Page instfiles
Section
  SetOutPath "\$INSTDIR"
  File /r "$work/product/files/app/*"
  SetOutPath "\$SYSDIR"
  File /r "$work/product/files/system/*"
SectionEnd
NSI

# Both read the files from the page cache.
cat "$work/product/files"/*/*/* >/dev/null

seconds() { # command...: runs it quietly twice, prints the better wall-clock seconds
    local start end best=
    for _ in 1 2; do
        start=$(date +%s.%N)
        "$@" >/dev/null
        end=$(date +%s.%N)
        best=$(awk -v a="$start" -v b="$end" -v best="$best" \
            'BEGIN { t = b - a; if (best != "" && best < t) t = best; printf "%.2f", t }')
    done
    echo "$best"
}
ratio() { awk -v a="$1" -v b="$2" -v f="$3" 'BEGIN { printf f, a / b }'; }
size_of() { stat -c %s "$1"; }

echo "bench: stp build (one thread per core, $(nproc) cores)"
t_stp=$(seconds "$stp" build "$work/product/product.ini" -o "$work/out/Setup.exe" --stub "$stub")
echo "bench: stp build --threads 1"
t_stp1=$(seconds "$stp" build "$work/product/product.ini" -o "$work/out/Setup-1.exe" --stub "$stub" --threads 1)
echo "bench: stp pack alone (what stp build adds is the difference)"
t_pack=$(seconds "$stp" pack "$work/product/files" -o "$work/out/package.stp")
echo "bench: makensis (SetCompressor zlib)"
t_nsis=$(seconds makensis -V1 "$work/product/bench.nsi")
cmp -s "$work/out/Setup.exe" "$work/out/Setup-1.exe" && same=yes || same=no

printf '\n%-34s %10s %14s\n' "" "seconds" "bytes"
printf '%-34s %10s %14s\n' "stp build (threads: one per core)" "$t_stp" "$(size_of "$work/out/Setup.exe")"
printf '%-34s %10s %14s\n' "stp build --threads 1" "$t_stp1" "$(size_of "$work/out/Setup-1.exe")"
printf '%-34s %10s %14s\n' "stp pack (the package alone)" "$t_pack" "$(size_of "$work/out/package.stp")"
printf '%-34s %10s %14s\n' "makensis, zlib" "$t_nsis" "$(size_of "$work/out/nsis-setup.exe")"
printf 'time ratio stp/makensis: %s (one per core), %s (one thread)\n' \
    "$(ratio "$t_stp" "$t_nsis" %.2f)" "$(ratio "$t_stp1" "$t_nsis" %.2f)"
printf 'size ratio stp/makensis: %s\n' "$(ratio "$(size_of "$work/out/Setup.exe")" "$(size_of "$work/out/nsis-setup.exe")" %.3f)"
echo "the two stp builds are byte-identical: $same"
