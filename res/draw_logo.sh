#!/usr/bin/env bash
# Draws the maker's logo for the ABOUT page, 225 x 81, and writes logo.jpg:
# "QOR" in white on a blue gradient over a small monitor, "Software" below.
set -euo pipefail
cd "$(dirname "$0")"
convert -size 225x81 gradient:'#1d3766'-'#4f7fcc' \
    -fill '#c9ced6' -stroke '#0d1a33' -strokewidth 2 -draw 'roundrectangle 10,12 62,52 5,5' \
    -fill black -stroke none -draw 'rectangle 16,18 56,46' \
    -fill '#00ff00' -draw 'rectangle 20,23 42,26' -draw 'rectangle 20,30 52,33' -draw 'rectangle 20,37 36,40' \
    -fill '#c9ced6' -draw 'rectangle 30,53 42,58' -draw 'roundrectangle 22,58 50,63 2,2' \
    -font DejaVu-Sans-Bold -pointsize 40 -fill white -annotate +74+47 'QOR' \
    -font DejaVu-Sans -pointsize 15 -fill '#dfe8ff' -annotate +76+68 'Software' \
    -quality 90 -strip logo.jpg
