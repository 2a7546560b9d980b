#!/usr/bin/env bash
# Package benchmarks; prints figures, asserts nothing.
#   1. stp extract against a minimal zlib program writing the same files (target <= 1.10x)
#   2. stp pack against single-threaded zlib level 9 of the same files (ratio near 1/cores)
#   3. peak memory of stp extract on a package holding one 1 GiB file (/usr/bin/time -v)
# The data (about 512 MiB in about 200 files of mixed compressibility, and the 1 GiB file)
# is generated under build/pkg-bench/data and deleted afterwards.
#   scripts/bench-package.sh [--no-memory | --memory-only]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
build=build/pkg-bench
data=$build/data
memory=1 timing=1
[ "${1:-}" = --no-memory ] && memory=0
[ "${1:-}" = --memory-only ] && timing=0
trap 'rm -rf "$data"' EXIT

echo "bench: building stp and the baselines"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target stp -j 2 >/dev/null
stp=$build/tools/stp/stp
c++ -O2 -std=c++20 bench/inflate_baseline.cpp -lz -o "$build/inflate_baseline"
c++ -O2 -std=c++20 bench/deflate_baseline.cpp -lz -o "$build/deflate_baseline"

if [ $timing = 1 ]; then
echo "bench: generating data"
rm -rf "$data" && mkdir -p "$data/src/app" "$data/src/system"
python3 - "$data/src" <<'PY'
import os, random, sys
root = sys.argv[1]
rng = random.Random(2024)
words = [("w%d" % i).encode() for i in range(4000)]
total, target, i = 0, 512 * 1024 * 1024, 0
while total < target:
    size = rng.randint(512 * 1024, 4 * 1024 * 1024)
    kind = i % 3
    if kind == 0:    # noise: already compressed media
        blob = rng.randbytes(size)
    elif kind == 1:  # text: words and numbers
        parts, n = [], 0
        while n < size:
            line = b" ".join(rng.choice(words) for _ in range(12)) + b" %d\n" % rng.randint(0, 10**6)
            parts.append(line)
            n += len(line)
        blob = b"".join(parts)[:size]
    else:            # binary with structure: noise and runs
        parts, n = [], 0
        while n < size:
            chunk = rng.randbytes(rng.randint(16, 256)) if rng.random() < 0.5 else bytes([rng.randint(0, 3)]) * rng.randint(16, 512)
            parts.append(chunk)
            n += len(chunk)
        blob = b"".join(parts)[:size]
    folder = os.path.join(root, "system" if i % 50 == 7 else "app", "d%02d" % (i % 9))
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "f%03d.bin" % i), "wb") as f:
        f.write(blob)
    total += size
    i += 1
print("bench: %d files, %.0f MiB" % (i, total / 2**20))
PY

seconds() { /usr/bin/time -f %e "$@" 2>&1 >/dev/null | tail -1; }
best() { # best of two runs of a command, after a cleanup command
    local clean=$1; shift
    local a b
    eval "$clean"; a=$(seconds "$@")
    eval "$clean"; b=$(seconds "$@")
    python3 -c "print(min($a, $b))"
}

echo "bench: pack ($(nproc) cores)"
find "$data/src" -type f | LC_ALL=C sort >"$data/files.txt"
t_base=$(best "rm -f $data/base.z" "$build/deflate_baseline" "$data/files.txt" "$data/base.z")
t_pack=$(best "rm -f $data/pkg.stp" "$stp" pack "$data/src" -o "$data/pkg.stp")
python3 - "$t_pack" "$t_base" "$(stat -c %s "$data/pkg.stp")" "$(stat -c %s "$data/base.z")" <<'PY'
import sys
p, b, ps, bs = float(sys.argv[1]), float(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
print("  stp pack        %7.2f s  %d bytes" % (p, ps))
print("  zlib -9, 1 core %7.2f s  %d bytes" % (b, bs))
print("  time ratio %.3f, size ratio %.4f" % (p / b, ps / bs))
PY

echo "bench: extract"
"$stp" list "$data/pkg.stp" --tsv >"$data/rows.tsv"
t_ext=$(best "rm -rf $data/dest $data/sys" "$stp" extract "$data/pkg.stp" "$data/dest" --system-dir "$data/sys")
diff -r "$data/src/app" "$data/dest" >/dev/null && diff -r "$data/src/system" "$data/sys" >/dev/null ||
    echo "  WARNING: stp extract wrote other files"
t_inf=$(best "rm -rf $data/dest $data/sys" "$build/inflate_baseline" "$data/pkg.stp" "$data/rows.tsv" "$data/dest" "$data/sys")
python3 - "$t_ext" "$t_inf" <<'PY'
import sys
e, b = float(sys.argv[1]), float(sys.argv[2])
print("  stp extract     %7.2f s" % e)
print("  zlib baseline   %7.2f s" % b)
print("  ratio %.3f (target <= 1.10)" % (e / b))
PY
rm -rf "$data/dest" "$data/sys" "$data/base.z"
fi

if [ $memory = 1 ]; then
    echo "bench: peak memory extracting a 1 GiB file"
    rm -rf "$data/src" "$data/pkg.stp" && mkdir -p "$data/big/app"
    python3 - "$data/big/app/one-gib.bin" <<'PY'
import random, sys
rng = random.Random(7)
with open(sys.argv[1], "wb") as f:
    for i in range(1024):  # 1 MiB pieces: half noise, half text
        line = b"a line of text %d\n" % i
        f.write(rng.randbytes(1 << 20) if i % 2 else (line * ((1 << 20) // len(line) + 1))[: 1 << 20])
PY
    /usr/bin/time -f "  stp pack: %M KiB peak, %e s" "$stp" pack "$data/big" -o "$data/big.stp" >/dev/null
    /usr/bin/time -f "  stp extract: %M KiB peak (maximum resident set), %e s" "$stp" extract "$data/big.stp" "$data/bigdest" >/dev/null
    cmp -s "$data/big/app/one-gib.bin" "$data/bigdest/one-gib.bin" || echo "  WARNING: the 1 GiB file differs"
fi
