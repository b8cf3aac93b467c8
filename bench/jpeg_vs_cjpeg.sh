#!/usr/bin/env bash
# Writes the same 1920 x 1080 picture as JPEG with our writer and with cjpeg -quality 90
# (Debian libjpeg-turbo-progs), times both with hyperfine and prints the ratio.
# Both processes read the same binary PPM and write a file. Ours also holds the whole
# picture in memory first, as the program does, so a second figure times our write alone
# (in-process, the picture already in memory) against the whole cjpeg run.
# Usage: bench/jpeg_vs_cjpeg.sh [BUILD_DIR]   (default build/native)
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$top/build/native}
tool=$build/bench/workspace/jpeg_write_tool
command -v cjpeg >/dev/null || { echo "cjpeg is missing: apt-get install libjpeg-turbo-progs" >&2; exit 1; }
command -v hyperfine >/dev/null || { echo "hyperfine is missing" >&2; exit 1; }
if [ ! -x "$tool" ]; then
  cmake --build "$build" --target jpeg_write_tool -j2 >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$tool" --make-ppm "$work/in.ppm"

hyperfine --style basic --warmup 3 --min-runs 20 --export-json "$work/times.json" \
  -n ours "$tool $work/in.ppm $work/ours.jpg" \
  -n cjpeg "cjpeg -quality 90 -outfile $work/cjpeg.jpg $work/in.ppm"

write_ms=$("$tool" "$work/in.ppm" "$work/ours.jpg" 30 | sed -n 's/^write_ms=//p')

python3 - "$work" "$write_ms" <<'PY'
import json, os, sys
work, write_ms = sys.argv[1], float(sys.argv[2])
runs = {r["command"]: r for r in json.load(open(os.path.join(work, "times.json")))["results"]}
ours, theirs = runs["ours"]["mean"], runs["cjpeg"]["mean"]
size = lambda n: os.path.getsize(os.path.join(work, n))
same = open(os.path.join(work, "ours.jpg"), "rb").read() == open(os.path.join(work, "cjpeg.jpg"), "rb").read()
print(f"ours  {ours * 1000:8.2f} ms  {size('ours.jpg'):>9} bytes")
print(f"cjpeg {theirs * 1000:8.2f} ms  {size('cjpeg.jpg'):>9} bytes")
print(f"ratio ours / cjpeg (whole processes): {ours / theirs:.2f}   identical output: {'yes' if same else 'no'}")
print(f"our write alone {write_ms:.2f} ms; ratio to the cjpeg run: {write_ms / (theirs * 1000):.2f}")
PY
