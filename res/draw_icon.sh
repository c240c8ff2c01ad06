#!/usr/bin/env bash
# Draws the program's icon, a small monitor showing lime text lines on black
# (like the editor pages), and writes qor.ico with seven sizes and depths.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
convert -size 256x256 xc:none \
    -fill '#2b4f8c' -draw 'roundrectangle 96,196 160,226 6,6' \
    -fill '#1d3766' -draw 'roundrectangle 60,214 196,240 10,10' \
    -fill '#c9ced6' -stroke '#5a6270' -strokewidth 6 -draw 'roundrectangle 14,20 242,200 18,18' \
    -fill black -stroke none -draw 'rectangle 34,40 222,180' \
    -fill '#00ff00' -draw 'rectangle 50,58 150,72' -draw 'rectangle 50,88 196,102' \
    -draw 'rectangle 50,118 120,132' -draw 'rectangle 50,148 170,162' \
    "$tmp/big.png"
for s in 48 32 16; do convert "$tmp/big.png" -resize ${s}x${s} "$tmp/$s.png"; done
# 32-bit colour with alpha at 48, 32, 16 and 256; 8-bit palette at 48, 32, 16.
for s in 48 32 16; do convert "$tmp/$s.png" -background '#c0c0c0' -flatten -colors 256 -type Palette "PNG8:$tmp/p$s.png"; done
convert "$tmp/48.png" "$tmp/32.png" "$tmp/16.png" "$tmp/p48.png" "$tmp/p32.png" "$tmp/p16.png" \
    "$tmp/big.png" qor.ico
