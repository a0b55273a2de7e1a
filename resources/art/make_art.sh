#!/usr/bin/env bash
# Renders the hand-written SVG sources into the files the resource script embeds:
#   icon-small.svg (16..32 px) + icon.svg (40..256 px) -> ../app.ico
#   background.svg (at twice the 96-DPI client size)     -> ../background.bmp
# Needs rsvg-convert (librsvg2-bin) and ImageMagick's convert (imagemagick). The build does not run
# this script; run it after changing a source and commit the two outputs with it.
set -euo pipefail
cd "$(dirname "$0")"

command -v rsvg-convert >/dev/null || { echo "make_art.sh: rsvg-convert missing (apt-get install librsvg2-bin)" >&2; exit 1; }
IM=/usr/bin/convert
[ -x "$IM" ] || IM=convert

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The small sizes come from their own drawing, set on the pixel grid; a scaled-down large icon goes
# soft at tray size. ImageMagick's own SVG renderer lacks filters and draws gradients poorly, so
# librsvg renders and ImageMagick only packs.
for size in 16 20 24 32; do
    rsvg-convert -w "$size" -h "$size" icon-small.svg -o "$work/icon$size.png"
done
for size in 40 48 64 256; do
    rsvg-convert -w "$size" -h "$size" icon.svg -o "$work/icon$size.png"
done
# 32-bit BGRA in every entry; ImageMagick stores the 256 px entry as PNG.
"$IM" "$work"/icon{16,20,24,32,40,48,64,256}.png -define png:exclude-chunks=date,time \
    -alpha on ../app.ico

# The window's background is opaque, so the picture is flattened onto its own top colour.
rsvg-convert -w 864 -h 754 background.svg -o "$work/background.png"
"$IM" "$work/background.png" -background '#fbfdff' -alpha remove -alpha off \
    -type TrueColor BMP3:../background.bmp

ls -l ../app.ico ../background.bmp
