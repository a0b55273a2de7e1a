#!/usr/bin/env bash
# Draws the program's icon and the main window's background picture with ImageMagick.
# The drawing commands below are the pictures' source. Output: ../app.ico, ../background.bmp.
set -euo pipefail
cd "$(dirname "$0")"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
IM=/usr/bin/convert
[ -x "$IM" ] || IM=convert

# Icon: a blue clock face whose upper arc is broken by a power stroke, drawn at 256 px and scaled down.
$IM -size 256x256 xc:none \
    -fill '#1f5fbf' -stroke none -draw 'circle 128,128 128,10' \
    -fill '#ffffff' -draw 'circle 128,128 128,30' \
    -fill none -stroke '#1f5fbf' -strokewidth 20 -draw 'arc 58,58 198,198 -60,240' \
    -stroke '#e8f0ff' -strokewidth 26 -draw 'line 128,40 128,40' \
    -stroke '#d83b2d' -strokewidth 22 -draw 'line 128,44 128,122' \
    -stroke '#1f5fbf' -strokewidth 12 -draw 'line 128,128 176,160' \
    -fill '#1f5fbf' -stroke none -draw 'circle 128,128 128,114' \
    "$out/icon256.png"
for s in 16 20 24 32 40 48 64; do
    $IM "$out/icon256.png" -resize ${s}x${s} -unsharp 0x0.6 "$out/icon$s.png"
done
$IM "$out/icon16.png" "$out/icon20.png" "$out/icon24.png" "$out/icon32.png" "$out/icon40.png" \
    "$out/icon48.png" "$out/icon64.png" "$out/icon256.png" ../app.ico

# Background: a soft light-blue gradient with a faint clock ring at the lower right, drawn at twice
# the 96-DPI client size so it stays smooth when scaled up.
$IM -size 864x754 gradient:'#f7faff-#d9e6f8' \
    -fill none -stroke '#c9d9f0' -strokewidth 10 -draw 'circle 760,650 760,470' \
    -stroke '#d2e0f3' -strokewidth 6 -draw 'line 760,650 760,540' -draw 'line 760,650 840,690' \
    -type TrueColor BMP3:../background.bmp
