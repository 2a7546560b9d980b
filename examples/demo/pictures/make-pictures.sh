#!/usr/bin/env bash
# Redraws the demo product's pictures with ImageMagick (and icotool for the icon). The
# results are checked in; run this only to change them.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
latin=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
cjk=/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# A sheet of paper with ruled lines and a pencil: the program's emblem, at any size.
emblem() { # size, output
    local s=$1 out=$2
    convert -size 64x64 xc:none \
        -fill '#f7f3e8' -stroke '#3a4a5c' -strokewidth 3 -draw 'roundrectangle 10,4 50,60 4,4' \
        -stroke '#7fa6c9' -strokewidth 2 \
        -draw 'line 17,18 43,18' -draw 'line 17,28 43,28' -draw 'line 17,38 43,38' -draw 'line 17,48 34,48' \
        -stroke '#5b3a1a' -strokewidth 1 -fill '#f2b134' -draw 'polygon 40,50 58,20 63,24 45,54' \
        -fill '#3a2a1a' -draw 'polygon 40,50 45,54 38,57' \
        -resize "${s}x${s}" "$out"
}

# The left-hand picture: a dusk gradient with soft circles, the emblem and two lines of text.
left() { # output, font, title, subtitle
    local out=$1 font=$2 title=$3 subtitle=$4
    emblem 72 "$tmp/emblem72.png"
    convert -size 160x308 gradient:'#16324f-#2a9d8f' \
        -fill '#ffffff22' -stroke none -draw 'circle 130,40 130,110' -draw 'circle 20,270 20,330' \
        -fill '#ffffff14' -draw 'circle 150,230 150,260' \
        "$tmp/emblem72.png" -geometry +44+70 -composite \
        -font "$font" -fill white -gravity north -pointsize 20 -annotate +0+160 "$title" \
        -font "$font" -fill '#d8f3ee' -pointsize 13 -annotate +0+192 "$subtitle" \
        -fill '#ffffff88' -draw 'rectangle 40,220 120,221' \
        -quality 90 "$out"
}
left left-en.jpg "$latin" "DemoPad" "Setup Wizard"
left left-cn.jpg "$cjk" "演示记事本" "安装向导"

# Header picture: 32x32 at 24 bits; the bottom-left pixel is the background, which the
# wizard draws transparent.
emblem 30 "$tmp/emblem30.png"
convert -size 32x32 xc:'#fffbe6' "$tmp/emblem30.png" -geometry +1+1 -composite \
    -alpha off -type TrueColor BMP3:header.bmp

# The program's icon: 32x32 and 16x16, both at 24 bits.
for s in 32 16; do
    emblem "$s" "$tmp/e$s.png"
    convert -size "${s}x${s}" xc:'#fffbe6' "$tmp/e$s.png" -composite -alpha off "$tmp/i$s.png"
done
icotool -c -o app.ico -b 24 "$tmp/i32.png" -b 24 "$tmp/i16.png"
