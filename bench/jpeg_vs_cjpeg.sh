#!/usr/bin/env bash
# Writes the same 1920 x 1080 picture as JPEG with our writer and with cjpeg -quality 90
# (Debian's libjpeg-turbo-progs), both timed as whole processes by hyperfine: cjpeg is the
# floor. Both read the same binary PPM and write a file. Ours also holds the whole picture
# in memory first, as the program does, so a second figure times our write alone
# (in-process, the picture already in memory) against the whole cjpeg run.
# Usage: bench/jpeg_vs_cjpeg.sh [--quick] [BUILD_DIR]   (default build/native)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
bench_options "$@"
build=${bench_args[0]:-$bench_top/build/native}
bench_setup  # cjpeg and hyperfine are Debian packages tools/setup installs
if [ "$build" = "$bench_top/build/native" ]; then
  bench_build native jpeg_write_tool
else
  cmake --build "$build" --target jpeg_write_tool -j "${VIMBREL_JOBS:-2}" >/dev/null
fi
tool=$build/bench/workspace/jpeg_write_tool
runs=(--warmup 3 --min-runs 20)
repeat=30
if [ "$bench_quick" = 1 ]; then
  runs=(--warmup 1 --runs 5)
  repeat=5
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$tool" --make-ppm "$work/in.ppm"

hyperfine --style none "${runs[@]}" --export-csv "$work/times.csv" \
  -n ours "$tool $work/in.ppm $work/ours.jpg" \
  -n cjpeg "cjpeg -quality 90 -outfile $work/cjpeg.jpg $work/in.ppm" >/dev/null
write_ms=$("$tool" "$work/in.ppm" "$work/ours.jpg" "$repeat" | sed -n 's/^write_ms=//p')
# times.csv: command,mean,stddev,median,user,system,min,max (seconds)
mean_ms() { awk -F, -v n="$1" '$1 == n { printf "%.3f", $2 * 1000 }' "$work/times.csv"; }
ours=$(mean_ms ours)
theirs=$(mean_ms cjpeg)
same=no
cmp -s "$work/ours.jpg" "$work/cjpeg.jpg" && same=yes
echo "JPEG write of a 1920 x 1080 picture, quality 90, mean of hyperfine's runs"
bench_report "cjpeg -quality 90, whole process" "$theirs" "jpeg_write_tool, whole process" "$ours"
awk -v w="$write_ms" -v t="$theirs" -v s="$same" -v a="$(stat -c %s "$work/ours.jpg")" -v b="$(stat -c %s "$work/cjpeg.jpg")" 'BEGIN {
  printf "  also     our write alone %.2f ms, ratio to the cjpeg run %.2f; %d and %d bytes, identical: %s\n", w, w / t, a, b, s
}'
