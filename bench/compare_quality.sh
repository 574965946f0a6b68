#!/usr/bin/env bash
# Compares the resampler and the palette BMPs with ImageMagick on photograph-like
# pictures and prints PSNR figures (higher = closer). Takes about half a minute; not
# part of the regular test run.
#   bench/compare_quality.sh [build/native]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build/native}
tool=$build/bench/QualityTool
[ -x "$tool" ] || ninja -C "$build" QualityTool >/dev/null
im=/usr/bin/convert
[ -x /usr/bin/magick ] && im=/usr/bin/magick
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export OMP_NUM_THREADS=1

# PSNR of two pictures of equal size, a margin cut off all round ("away from the borders").
psnr() {  # a b margin
  local w h
  read -r w h < <(identify -format '%w %h\n' "$1")
  local g=$((w - 2 * $3))x$((h - 2 * $3))+$3+$3
  $im "$1" -crop "$g" +repage "$work/a.ppm"
  $im "$2" -crop "$g" +repage "$work/b.ppm"
  compare -metric PSNR "$work/a.ppm" "$work/b.ppm" null: 2>&1 || true
}

# Two test pictures: ImageMagick's seeded plasma (natural texture, lightly smoothed the
# way a camera's optics do) and the benchmarks' synthetic landscape.
$im -size 1600x1200 -seed 7 plasma:fractal -blur 0x1.2 -depth 8 "$work/plasma.ppm"
"$tool" photo 1600 1200 "$work/landscape.ppm"

echo "== resampling: ours vs ImageMagick -resize WxH! (PSNR in dB, 8-pixel border excluded)"
for pic in plasma landscape; do
  for geom in 1200x700 2400x2000; do
    for f in spline:Spline linear:Triangle; do
      ours=${f%%:*} theirs=${f##*:}
      W=${geom%x*} H=${geom#*x}
      "$tool" resize "$ours" "$work/$pic.ppm" "$work/ours.ppm" "$W" "$H"
      $im "$work/$pic.ppm" -filter "$theirs" -resize "${geom}!" -depth 8 "$work/im.ppm"
      printf '%-10s 1600x1200 -> %-10s %-7s %s\n' "$pic" "$geom" "$ours" "$(psnr "$work/ours.ppm" "$work/im.ppm" 8)"
    done
  done
done

echo "== palettes: PSNR against the original picture (higher = closer)"
for pic in plasma landscape; do
  "$tool" bmp 1 "$work/$pic.ppm" "$work/ours8.bmp"
  "$tool" bmp 0 "$work/$pic.ppm" "$work/ours4.bmp"
  $im "$work/$pic.ppm" -dither FloydSteinberg -colors 256 -type palette "BMP3:$work/im8.bmp"
  $im "$work/$pic.ppm" -dither FloydSteinberg -colors 16 -type palette "BMP3:$work/im16.bmp"
  $im "$work/$pic.ppm" -colors 16 -type palette "BMP3:$work/im16default.bmp"
  # ImageMagick with our fixed 16-colour palette, for a like-for-like comparison.
  $im \( xc:'#000000' xc:'#800000' xc:'#008000' xc:'#808000' xc:'#000080' xc:'#800080' xc:'#008080' xc:'#C0C0C0' \
        xc:'#808080' xc:'#FF0000' xc:'#00FF00' xc:'#FFFF00' xc:'#0000FF' xc:'#FF00FF' xc:'#00FFFF' xc:'#FFFFFF' \) \
      +append "$work/vga.png"
  $im "$work/$pic.ppm" -dither FloydSteinberg -remap "$work/vga.png" "BMP3:$work/imvga.bmp"
  printf '%-10s 8-bit  ours (adaptive 256, FS)        %s\n' "$pic" "$(psnr "$work/ours8.bmp" "$work/$pic.ppm" 0)"
  printf '%-10s 8-bit  ImageMagick -colors 256 FS      %s\n' "$pic" "$(psnr "$work/im8.bmp" "$work/$pic.ppm" 0)"
  printf '%-10s 4-bit  ours (adaptive 16, FS)          %s\n' "$pic" "$(psnr "$work/ours4.bmp" "$work/$pic.ppm" 0)"
  printf '%-10s 4-bit  ImageMagick -colors 16          %s\n' "$pic" "$(psnr "$work/im16default.bmp" "$work/$pic.ppm" 0)"
  printf '%-10s 4-bit  ImageMagick -colors 16 FS       %s\n' "$pic" "$(psnr "$work/im16.bmp" "$work/$pic.ppm" 0)"
  printf '%-10s 4-bit  ImageMagick standard 16 remap FS %s\n' "$pic" "$(psnr "$work/imvga.bmp" "$work/$pic.ppm" 0)"
done
