#!/usr/bin/env bash
# Draws the program's artwork with ImageMagick into src/app/resources/.
# The results are committed; run this again only to change the pictures.
set -euo pipefail
out="$(cd "$(dirname "$0")/../.." && pwd)/src/app/resources"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
font=DejaVu-Sans-Bold
cjk=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc

# The program icon: a bolt on a blue rounded square, drawn large and scaled.
convert -size 256x256 xc:none \
  -fill '#1d5fbf' -draw 'roundrectangle 8,8 247,247 48,48' \
  -fill '#3b86e8' -draw 'roundrectangle 20,20 235,150 40,40' \
  -fill '#ffd23f' -stroke '#8a5a00' -strokewidth 6 \
  -draw 'polygon 150,24 62,142 122,142 96,232 196,104 134,104 176,24' \
  "$tmp/icon256.png"
for s in 16 24 32 48; do convert "$tmp/icon256.png" -resize ${s}x${s} "$tmp/icon$s.png"; done
convert "$tmp/icon16.png" "$tmp/icon24.png" "$tmp/icon32.png" "$tmp/icon48.png" "$tmp/icon256.png" \
  "$out/brevolt.ico"

# Small pictures: drawn at 64 and scaled down for smooth edges, with a frame
# for each small-icon size from 96 to 192 dpi (16, 20, 24, 32), so that
# larger scales do not stretch the 16-pixel one.
small() {  # name, draw arguments...
  local name=$1; shift
  for s in 16 20 24 32; do convert -size 64x64 xc:none "$@" -resize ${s}x${s} "$tmp/$name-$s.png"; done
  convert "$tmp/$name-16.png" "$tmp/$name-20.png" "$tmp/$name-24.png" "$tmp/$name-32.png" "$out/$name.ico"
}
small tab_status -fill '#2e7d32' -draw 'circle 32,36 32,8' -fill white -draw 'circle 32,36 32,16' \
  -stroke '#c62828' -strokewidth 7 -draw 'line 32,36 50,18' -fill '#2e7d32' -stroke none -draw 'circle 32,36 32,30'
small tab_settings -fill '#546e7a' -draw 'circle 32,32 32,4' -fill none -stroke white -strokewidth 6 \
  -draw 'circle 32,32 32,20' -stroke '#546e7a' -strokewidth 12 -draw 'line 32,0 32,64' -draw 'line 0,32 64,32' \
  -fill '#546e7a' -stroke none -draw 'circle 32,32 32,14' -fill white -draw 'circle 32,32 32,24'
small tab_history -fill white -stroke '#37474f' -strokewidth 4 -draw 'rectangle 8,4 56,60' \
  -stroke '#1565c0' -strokewidth 6 -draw 'line 16,18 48,18' -draw 'line 16,32 48,32' -draw 'line 16,46 40,46'
small tab_about -fill '#1565c0' -draw 'circle 32,32 32,2' -fill white -draw 'rectangle 27,26 37,52' \
  -draw 'circle 32,15 32,9'
small history_row -fill '#ffd23f' -stroke '#8a5a00' -strokewidth 4 \
  -draw 'polygon 38,2 10,36 30,36 22,62 54,26 34,26 48,2'
small tool_clear -fill none -stroke '#c62828' -strokewidth 10 -draw 'line 12,12 52,52' -draw 'line 52,12 12,52'
small tool_save -fill '#1565c0' -draw 'roundrectangle 4,4 60,60 6,6' -fill white -draw 'rectangle 14,6 50,26' \
  -fill '#90caf9' -draw 'rectangle 16,38 48,60' -fill '#1565c0' -draw 'rectangle 38,9 46,23'

# The banner at the top of the window (690 x 56), cut at the right by the window.
convert -size 56x690 gradient:'#0d3c84'-'#3b86e8' -rotate 90 \
  \( "$tmp/icon256.png" -resize 44x44 \) -geometry +10+6 -composite \
  -font "$font" -pointsize 26 -fill white -annotate +64+37 'Quillmoor' \
  -font "$cjk" -pointsize 15 -fill '#dbe9ff' -annotate +236+35 '让正在使用的程序跑得更快' \
  -type TrueColor BMP3:"$out/banner.bmp"

# Group pictures (48 x 50) of the settings page and the about picture (53 x 55).
group() {  # name, colour, draw arguments...
  local name=$1 colour=$2; shift 2
  convert -size 192x200 xc:'#f0f0f0' -fill "$colour" -draw 'roundrectangle 8,12 184,192 28,28' \
    -fill white -stroke white "$@" -resize 48x50! -type TrueColor BMP3:"$out/$name.bmp"
}
group group_general '#546e7a' -strokewidth 16 -fill none -draw 'circle 96,102 96,52' \
  -draw 'line 96,30 96,62' -draw 'line 96,142 96,174' -draw 'line 24,102 56,102' -draw 'line 136,102 168,102'
group group_speed '#2e7d32' -draw 'polygon 112,28 52,112 92,112 76,180 144,88 104,88 132,28'
group group_history '#1565c0' -strokewidth 14 -draw 'line 52,60 140,60' -draw 'line 52,102 140,102' \
  -draw 'line 52,144 112,144'
convert -size 212x220 xc:'#f0f0f0' \( "$tmp/icon256.png" -resize 200x200 \) -geometry +6+10 -composite \
  -resize 53x55! -type TrueColor BMP3:"$out/about.bmp"

# The hand pointer over the links (32 x 32, hot spot at the finger tip).
convert -size 32x32 xc:none -fill white -stroke black -strokewidth 1 \
  -draw 'path "M 10,1 L 13,1 L 13,11 L 15,10 L 17,11 L 19,10 L 21,12 L 23,11 L 26,14 L 26,23 L 23,30 L 12,30 L 5,20 L 4,17 L 6,16 L 10,20 Z"' \
  -stroke black -draw 'line 16,12 16,20' -draw 'line 19,12 19,20' -draw 'line 22,13 22,20' \
  ICO:"$tmp/hand.ico"
python3 - "$tmp/hand.ico" "$out/hand.cur" <<'PY'
import struct, sys
data = bytearray(open(sys.argv[1], 'rb').read())
struct.pack_into('<H', data, 2, 2)          # resource type: cursor
struct.pack_into('<HH', data, 10, 11, 1)    # hot spot x, y (in place of planes, bit count)
open(sys.argv[2], 'wb').write(data)
PY
echo "artwork written to $out"
