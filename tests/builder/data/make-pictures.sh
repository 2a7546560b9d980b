#!/bin/sh
# How the test pictures beside this script were made (ImageMagick 6); run it to remake them.
set -e
cd "$(dirname "$0")"
convert -size 160x308 gradient:red-blue -quality 70 left.jpg
convert -size 160x308 gradient:green-yellow -interlace JPEG -quality 70 left-progressive.jpg
convert -size 308x160 xc:red left-wide.jpg
convert -size 160x308 xc:red left.png
convert -size 32x32 gradient:blue-white -type TrueColor BMP3:header.bmp
convert -size 32x32 xc:blue -type TrueColor BMP:header-v5.bmp
convert -size 32x32 xc:"rgba(0,0,255,0.5)" BMP:header-32bit.bmp
convert -size 32x32 xc:blue -type Palette BMP3:header-palette.bmp
convert -size 64x64 xc:blue -type TrueColor BMP3:header-64.bmp
convert -size 64x64 xc:green -define icon:auto-resize=32,16 app.ico
convert -size 64x64 xc:green -define icon:auto-resize=48,32,16 app-three.ico
convert -size 64x64 xc:green -define icon:auto-resize=32 app-32only.ico
