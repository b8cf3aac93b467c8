#!/usr/bin/env bash
# Print Screen to a whole saved numbered file (BMP, PNG, JPEG) in Vimbrel, beside the floor:
# a bare program that holds Print Screen and on each press does one BitBlt and writes a
# 24-bit bitmap, on the same virtual screen (1280 x 1024) under Wine. Prints the floor, the
# program and the ratio for each format (best and median).
# Usage: bench/capture_to_file.sh [--quick] [--rounds R] [--presses N] [--trace]
#                                 [--exe WINDOWS-PATH-OF-A-Vimbrel.exe] [bmp|png|jpeg]...
# --trace prints the program's step trace (debug-level log lines) instead of timings.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"
tools/setup >/dev/null
tools/build-deps >/dev/null
cmake --preset win64 >/dev/null
# A prefix of its own, so the benchmark's settings never reach the tests' or a user's run.
export VIMBREL_WINEPREFIX="$top/build/wineprefix-bench"
cmake --build --preset win64 --target capture_to_file -j "${VIMBREL_JOBS:-2}" >/dev/null
# VIMBREL_BENCH_CUPS=1: with the test environment's PDF printer, as the tests run.
cups=--no-cups; [ "${VIMBREL_BENCH_CUPS:-0}" = 1 ] && cups=
tools/test-env $cups tools/wine-run build/win64/bench/win32/capture_to_file.exe "$@" | tr -d '\r'
