#!/usr/bin/env bash
# Redraws MainIcon.ico, the icon every build of the wizard carries before a product's own
# icon is added: a plain program window. 16x16 at 24 bits, 32x32 at 32 bits (with alpha).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
window=(-fill '#ffffff' -stroke '#1f3b73' -strokewidth 2 -draw 'rectangle 3,5 60,58'
        -fill '#2f5faf' -stroke none -draw 'rectangle 4,6 59,16'
        -fill '#e8e8e8' -draw 'rectangle 50,8 56,14'
        -fill '#9fb4d8' -draw 'rectangle 10,24 52,28' -draw 'rectangle 10,34 44,38' -draw 'rectangle 10,44 48,48')
convert -size 64x64 xc:none "${window[@]}" -resize 32x32 "$tmp/m32.png"
convert -size 64x64 xc:'#c0c0c0' "${window[@]}" -resize 16x16 -alpha off "$tmp/m16.png"
icotool -c -o MainIcon.ico -b 24 "$tmp/m16.png" -b 32 "$tmp/m32.png"
