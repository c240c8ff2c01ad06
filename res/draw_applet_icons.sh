#!/usr/bin/env bash
# Draws the 31 pictures of the CONTROL PANEL list (16 x 16 each) and writes
# them side by side as applets.bmp, 24-bit, magenta where transparent.
# Picture n is the one for image index n of the launch table.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# A spare picture for the indexes no item uses: a grey cog.
spare="-fill #808080 -stroke #404040 -draw 'circle 8,8 8,2' -fill #c0c0c0 -draw 'circle 8,8 8,5'
 -stroke none -fill #404040 -draw 'rectangle 7,0 9,2' -draw 'rectangle 7,14 9,15' -draw 'rectangle 0,7 2,9'
 -draw 'rectangle 14,7 15,9'"
monitor() {  # a monitor whose screen gets the draw commands in $1
    echo "-fill #c0c0c0 -stroke #404040 -draw 'rectangle 1,1 14,11' -stroke none $1
 -fill #808080 -draw 'rectangle 6,12 9,13' -fill #404040 -draw 'rectangle 3,14 12,15'"
}
declare -a icon
icon[0]="-fill #d8a860 -stroke #6b4a1a -draw 'rectangle 2,6 13,14' -fill #f0c880 -draw 'polygon 2,6 5,2 16,2 13,6'
 -stroke none -fill #2050c0 -draw 'rectangle 6,9 9,11'"                                   # Software: a package
icon[1]=$(monitor "-fill #000080 -draw 'rectangle 3,3 12,9' -fill white -draw 'rectangle 4,4 8,4' -draw 'rectangle 4,6 10,6'")
icon[2]=$(monitor "-fill #ff0000 -draw 'rectangle 3,3 5,9' -fill #00c000 -draw 'rectangle 6,3 8,9'
 -fill #0000ff -draw 'rectangle 9,3 12,9'")                                               # Display
icon[3]=$spare
icon[4]="-fill #f0d060 -stroke #806000 -draw 'rectangle 1,4 14,14' -draw 'rectangle 1,2 6,4' -stroke none
 -fill #2050c0 -draw 'rectangle 4,7 6,9' -fill #c02020 -draw 'rectangle 9,7 11,9'
 -fill #00a000 -draw 'rectangle 4,11 6,12' -fill #8000a0 -draw 'rectangle 9,11 11,12'"    # Control Panel folder
icon[5]="-fill #404040 -stroke black -draw 'polygon 1,6 4,6 8,2 8,14 4,10 1,10' -stroke #2050c0 -fill none
 -draw 'arc 6,4 12,12 -60,60' -draw 'arc 6,1 15,15 -60,60'"                                # Sounds: a speaker
icon[6]=$spare; icon[7]=$spare; icon[8]=$spare; icon[9]=$spare
icon[10]="-fill #c02020 -stroke #600000 -draw 'roundrectangle 1,3 14,6 1,1' -draw 'rectangle 3,6 12,13'
 -stroke none -fill white -draw 'rectangle 5,8 6,8' -draw 'rectangle 9,8 10,8' -draw 'rectangle 5,10 6,10'
 -draw 'rectangle 9,10 10,10'"                                                            # DialUp: a telephone
icon[11]="-fill white -stroke #000080 -draw 'circle 7,8 7,1' -stroke black -draw 'line 7,8 7,3' -draw 'line 7,8 11,8'
 -stroke none -fill #c02020 -draw 'point 7,8'"                                            # Date/Time: a clock
icon[12]="-fill white -stroke #404040 -draw 'rectangle 1,3 14,12' -fill none -draw 'line 1,3 7,8' -draw 'line 14,3 8,8'"  # E-Mail
icon[13]="-fill #ffe000 -stroke #806000 -draw 'polygon 9,0 2,9 7,9 5,15 13,6 8,6 11,0'"  # Energy: a bolt
icon[14]="-fill #f0d060 -stroke #806000 -draw 'rectangle 1,4 14,14' -draw 'rectangle 1,2 6,4' -stroke none
 -fill #000080 -draw 'polygon 4,13 7,5 9,5 12,13 10,13 9,10 7,10 6,13' -fill #f0d060 -draw 'rectangle 7,8 8,8'"  # Fonts
icon[15]="-fill #2060e0 -stroke #000060 -draw 'circle 8,8 8,1' -stroke none -fill #20a020
 -draw 'polygon 4,4 8,3 7,7 4,8' -draw 'polygon 9,9 12,8 12,12 9,13' -stroke #a0c0ff -fill none
 -draw 'line 1,8 15,8'"                                                                   # Internet: a globe
icon[16]="-fill #c0c0c0 -stroke #404040 -draw 'rectangle 0,1 6,6' -draw 'rectangle 9,9 15,14' -stroke none
 -fill #000080 -draw 'rectangle 1,2 5,5' -draw 'rectangle 10,10 14,13' -stroke black -draw 'line 3,7 3,11'
 -draw 'line 3,11 8,11'"                                                                  # Network: two computers
icon[17]=$spare
icon[18]="-stroke #404040 -draw 'line 2,1 2,15' -stroke none -fill #c02020 -draw 'rectangle 3,2 14,4'
 -fill white -draw 'rectangle 3,5 14,6' -fill #2050c0 -draw 'rectangle 3,7 14,9'"       # Regional: a flag
icon[19]=$spare
icon[20]="-fill white -stroke #404040 -draw 'rectangle 4,1 11,6' -fill #c0c0c0 -draw 'rectangle 1,6 14,12'
 -fill white -draw 'rectangle 4,10 11,15' -stroke none -fill #00c000 -draw 'point 12,8'"  # Printers
icon[21]="-fill #c0c0c0 -stroke #404040 -draw 'rectangle 0,6 15,11' -stroke none -fill #00e000
 -draw 'rectangle 2,8 3,9' -fill #ff2020 -draw 'rectangle 5,8 6,9' -fill #ffe000 -draw 'rectangle 8,8 9,9'
 -stroke #404040 -draw 'line 12,6 12,1'"                                                 # Modems
icon[22]="-fill #e0c040 -stroke #604000 -draw 'rectangle 2,3 13,13' -draw 'ellipse 8,13 6,2 0,180'
 -fill #f0e080 -draw 'ellipse 8,3 6,2 0,360' -stroke #604000 -fill none -draw 'arc 2,6 13,10 0,180'"  # ODBC: a database
icon[23]="-fill #404040 -stroke black -draw 'rectangle 2,11 13,14' -stroke #404040 -draw 'line 7,11 7,4'
 -draw 'line 8,11 8,4' -stroke #800000 -fill #ff2020 -draw 'circle 7,3 7,1'"            # Game Controller: a joystick
icon[24]="-fill white -stroke #404040 -draw 'roundrectangle 4,4 11,15 3,3' -draw 'line 4,8 11,8' -draw 'line 7,4 7,8'
 -fill none -draw 'line 7,4 7,1'"                                                         # Mouse
icon[25]="-fill #2050c0 -stroke #000060 -draw 'circle 8,8 8,1' -stroke none -fill white -draw 'circle 8,4 8,3'
 -draw 'rectangle 7,6 8,11' -draw 'rectangle 4,7 11,7' -draw 'rectangle 5,12 6,13' -draw 'rectangle 9,12 10,13'"  # Accessibility
icon[26]="-fill #d0d0d0 -stroke #404040 -draw 'rectangle 0,4 15,12' -stroke none -fill #606060
 -draw 'rectangle 2,6 3,6' -draw 'rectangle 5,6 6,6' -draw 'rectangle 8,6 9,6' -draw 'rectangle 11,6 13,6'
 -draw 'rectangle 2,8 4,8' -draw 'rectangle 6,8 7,8' -draw 'rectangle 9,8 10,8' -draw 'rectangle 12,8 13,8'
 -draw 'rectangle 4,10 11,10'"                                                            # Keyboard
icon[27]="-fill #008040 -stroke #004020 -draw 'rectangle 0,3 11,11' -stroke none -fill #ffd000
 -draw 'rectangle 1,12 2,13' -draw 'rectangle 4,12 5,13' -draw 'rectangle 7,12 8,13' -fill black
 -draw 'rectangle 3,5 7,8' -fill #ffe000 -stroke #806000 -draw 'rectangle 11,0 13,6' -draw 'rectangle 9,2 15,4'
 -stroke none -draw 'rectangle 12,1 12,5' -draw 'rectangle 10,3 14,3'"                   # Add New Hardware: a card and a plus
icon[28]=$spare
icon[29]="-fill #806040 -stroke #402000 -draw 'rectangle 0,1 15,14' -stroke none -fill #80c0ff -draw 'rectangle 2,3 13,12'
 -fill #20a020 -draw 'polygon 2,12 6,7 9,10 11,8 13,10 13,12' -fill #ffe000 -draw 'circle 11,5 11,4'"  # Background: a picture
icon[30]=$spare

files=()
for n in $(seq 0 30); do
    args=${icon[$n]//$'\n'/ }
    # eval splits the quoted draw commands; a colour's "#" must not start a comment.
    eval "convert -size 16x16 xc:magenta +antialias -strokewidth 1 ${args//#/\\#} -alpha off \"$tmp/$n.png\""
    files+=("$tmp/$n.png")
done
convert "${files[@]}" +append -alpha off -type TrueColor BMP3:applets.bmp
