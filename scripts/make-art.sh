#!/usr/bin/env bash
# Draws the program's own pictures with ImageMagick: the icon, the default cell skin, the
# default overlay border, the font-type glyphs and the sample wallpapers. The results are
# committed; run this only to change them.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
im=convert
command -v magick >/dev/null && im=magick
prog=$root/res/program
mkdir -p "$prog/Skin Images" "$prog/Overlay Images" "$prog/Images"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Icon: a calendar leaf with a red binding strip and a bold day number.
for s in 16 24 32 48 64 256; do
  r=$(( s / 8 + 1 )); band=$(( s * 3 / 10 )); pad=$(( s / 16 ))
  $im -size ${s}x${s} xc:none \
    -fill '#f4f4f0' -stroke '#5a5a5a' -strokewidth $(( s / 32 + 1 )) \
    -draw "roundrectangle $pad,$pad $(( s - pad - 1 )),$(( s - pad - 1 )) $r,$r" \
    -stroke none -fill '#d23c32' -draw "roundrectangle $pad,$pad $(( s - pad - 1 )),$band $r,$r" \
    -draw "rectangle $pad,$(( band - r )) $(( s - pad - 1 )),$band" \
    -fill '#303030' -font DejaVu-Sans-Bold -pointsize $(( s * 11 / 20 )) -gravity center \
    -annotate +0+$(( s / 10 )) '8' "$tmp/icon$s.png"
done
$im "$tmp"/icon{16,24,32,48,64,256}.png "$root/res/Orvinta.ico"

# Cell skin: warm gold with a soft highlight, drawn translucent over the wallpaper.
$im -size 120x80 gradient:'#fff3b8'-'#b88a1c' \
  \( -size 120x80 radial-gradient:'#ffffff'-'#000000' -evaluate multiply 0.35 \) \
  -compose screen -composite -attenuate 0.25 +noise Uniform -blur 0x0.6 \
  "$prog/Skin Images/gold.png"

# Overlay border: dark inside (transparent once its alpha is derived from brightness) and
# a bright blue frame with a light inner rim. Written without an alpha channel: with one,
# the picture's own alpha (opaque everywhere) would decide, and its black inside would
# cover the whole wallpaper.
w=1600; h=1000
$im -size ${w}x${h} xc:black \
  -fill '#1e50b4' -draw "rectangle 0,0 $((w-1)),$((h-1))" \
  -fill black -draw "roundrectangle 26,26 $((w-27)),$((h-27)) 24,24" \
  -fill none -stroke '#8fc0ff' -strokewidth 4 -draw "roundrectangle 24,24 $((w-25)),$((h-25)) 26,26" \
  -stroke '#0a2a70' -strokewidth 2 -draw "rectangle 2,2 $((w-3)),$((h-3))" \
  -blur 0x1.2 -alpha off -depth 8 "PNG24:$prog/Overlay Images/BorderBlueXP.png"

# Font-type glyphs of the font dialog's family list, 20 x 12, on magenta: the bottom-left
# pixel is the transparent colour. TrueType: two overlapping serif Ts; device: a printer.
$im -size 20x12 xc:'#ff00ff' +antialias \
  -fill '#8c8c8c' -draw 'rectangle 1,1 9,2' -draw 'rectangle 1,3 1,3' -draw 'rectangle 9,3 9,3' \
  -draw 'rectangle 4,3 6,8' -draw 'rectangle 3,9 7,9' \
  -fill '#1c1c6c' -draw 'rectangle 7,3 16,4' -draw 'rectangle 7,5 7,5' -draw 'rectangle 16,5 16,5' \
  -draw 'rectangle 10,5 12,10' -draw 'rectangle 9,11 13,11' \
  -type truecolor "BMP3:$root/res/TrueTypeFnt.bmp"
$im -size 20x12 xc:'#ff00ff' +antialias \
  -fill white -stroke '#404040' -draw 'rectangle 5,0 13,4' -stroke none \
  -fill '#404040' -draw 'rectangle 2,4 16,10' -fill '#c8c8c8' -draw 'rectangle 3,5 15,9' \
  -fill '#404040' -draw 'rectangle 5,7 13,7' -fill '#30c030' -draw 'rectangle 13,5 14,5' \
  -type truecolor "BMP3:$root/res/DeviceFnt.bmp"

# Sample wallpapers.
W=1920; H=1200
# Dusk over hills.
$im -size ${W}x${H} gradient:'#1d2b64'-'#f8a35b' \
  -fill '#fff2c0' -draw "circle 1320,700 1320,640" \
  -fill '#2d3a5a' -draw "polygon 0,820 260,700 520,780 860,640 1180,760 1500,660 1920,780 1920,1200 0,1200" \
  -fill '#1b2338' -draw "polygon 0,960 340,860 700,940 1040,850 1400,950 1700,880 1920,930 1920,1200 0,1200" \
  -fill '#0d1220' -draw "polygon 0,1080 420,1010 900,1070 1300,1000 1920,1060 1920,1200 0,1200" \
  -blur 0x1 -quality 88 "$prog/Images/Dusk Hills.jpg"
# Blue bokeh.
args=()
seed=7
for i in $(seq 1 40); do
  seed=$(( (seed * 1103515245 + 12345) % 2147483648 ))
  x=$(( seed % W )); seed=$(( (seed * 1103515245 + 12345) % 2147483648 ))
  y=$(( seed % H )); seed=$(( (seed * 1103515245 + 12345) % 2147483648 ))
  r=$(( 30 + seed % 110 ))
  args+=(-fill "rgba(170,220,255,0.$(( 15 + i % 30 )))" -draw "circle $x,$y $((x + r)),$y")
done
$im -size ${W}x${H} gradient:'#0b3d6b'-'#02111f' "${args[@]}" -blur 0x6 -quality 88 "$prog/Images/Blue Lights.jpg"
# Morning sea: pale sky, a low sun and its glitter on the water.
glitter=()
seed=11
for i in $(seq 0 5 475); do
  for k in 1 2 3; do
    seed=$(( (seed * 1103515245 + 12345) % 2147483648 ))
    spread=$(( 10 + i / 2 ))
    cx=$(( 960 - spread + seed % (2 * spread + 1) ))
    half=$(( 4 + (seed / 7) % (6 + i / 12) ))
    glitter+=(-draw "line $(( cx - half )),$i $(( cx + half )),$i")
  done
done
$im -size ${W}x720 gradient:'#f7c6a3'-'#9fc9e8' \
  -fill '#fff6dc' -draw "circle 960,690 960,640" \
  \( -size ${W}x480 gradient:'#3a6f96'-'#0f2a44' \
     -stroke 'rgba(255,236,190,0.45)' -strokewidth 1 "${glitter[@]}" \) \
  -append -blur 0x1.2 -quality 88 "$prog/Images/Morning Sea.jpg"
ls -la "$root/res/Orvinta.ico" "$root"/res/*Fnt.bmp "$prog"/*/*
