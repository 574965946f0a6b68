#!/usr/bin/env bash
# Times ComposeImage (4000 x 3000 picture, fit, B-spline, gamma, contrast, brightness and a
# red shift onto a 3840 x 2160 wallpaper) against ImageMagick doing the same resize and
# colour work on the same pixels, both on one core. ImageMagick reads the picture already
# decoded (MPC, its memory-mapped pixel cache) and writes nowhere (null:); its time for
# reading the cache alone is shown too.
# Usage: bench/compare-imagemagick.sh [native build tree]   (default build/native)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build/native}
convert=${CONVERT:-convert}
runs=${RUNS:-5}

ninja -C "$build" ComposeBench >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "== picture: 4000 x 3000, seeded plasma"
"$convert" -size 4000x3000 -seed 7 plasma:fractal -depth 8 "$work/in.ppm"
"$convert" "$work/in.ppm" "$work/in.mpc"

export OMP_NUM_THREADS=1 MAGICK_THREAD_LIMIT=1
# Our Gamma 2 is the exponent 10^(-0.2) = 0.631, ImageMagick's -gamma takes its inverse;
# Contrast 20 / Brightness 5 and Red +10 % are the same kind of per-channel table work.
ops=(-filter Spline -resize 3840x2160 -gamma 1.585 -brightness-contrast 5x20
     -channel R -evaluate add 10% +channel -background black -gravity center -extent 3840x2160)

# Best of $runs runs: "wall-ms cpu-ms" (CPU = user + system, which load from other
# processes on the machine does not inflate).
best() {
  local bw=999999999 bc=999999999 out w c i
  for i in $(seq "$runs"); do
    out=$( { TIMEFORMAT='%3R %3U %3S'; time "$@" >/dev/null 2>&1; } 2>&1 )
    w=$(awk '{printf "%d", $1 * 1000}' <<<"$out")
    c=$(awk '{printf "%d", ($2 + $3) * 1000}' <<<"$out")
    [ "$w" -lt "$bw" ] && bw=$w
    [ "$c" -lt "$bc" ] && bc=$c
  done
  echo "$bw $bc"
}

echo "== ImageMagick ($("$convert" -version | head -1 | cut -d' ' -f2-3)), one thread, best of $runs"
read -r im_wall im_cpu < <(best taskset -c 0 "$convert" -limit thread 1 "$work/in.mpc" "${ops[@]}" null:)
read -r rd_wall rd_cpu < <(best taskset -c 0 "$convert" -limit thread 1 "$work/in.mpc" null:)
echo "resize + colour: ${im_wall} ms wall, ${im_cpu} ms CPU (reading the decoded cache and start-up alone: ${rd_wall} ms wall, ${rd_cpu} ms CPU)"

echo "== ComposeImage, one core"
ORV_BENCH_PICTURE=$work/in.ppm taskset -c 0 "$build/bench/ComposeBench" \
  --benchmark_filter=BM_ComposeFitSplineAdjusted --benchmark_repetitions="$runs" \
  --benchmark_report_aggregates_only=true --benchmark_format=console 2>/dev/null | tee "$work/ours.txt" | grep -E 'BM_'
ours_wall=$(awk '/_median/ {print $2; exit}' "$work/ours.txt")
ours_cpu=$(awk '/_median/ {print $4; exit}' "$work/ours.txt")

awk -v ow="$ours_wall" -v oc="$ours_cpu" -v iw="$im_wall" -v ic="$im_cpu" -v rc="$rd_cpu" 'BEGIN {
  printf "== ComposeImage %.1f ms wall, %.1f ms CPU; ImageMagick %d ms wall, %d ms CPU\n", ow, oc, iw, ic
  printf "== speed-up: %.1fx by wall time, %.1fx by CPU time (%.1fx without ImageMagick reading its cache)\n",
         iw / ow, ic / oc, (ic - rc) / oc }'
