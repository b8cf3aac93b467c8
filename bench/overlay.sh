#!/usr/bin/env bash
# The area overlay, under Wine: hotkey to overlay shown beside a bare copy-and-show program
# (1280 x 1024), and the repaint after one mouse move on a 3840 x 2160 virtual screen beside
# a bare full repaint of a window of that size from a bitmap in memory.
# Usage: bench/overlay.sh [--quick] [runs] [moves]   (default 15 and 200; --quick: 4 and 40)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
bench_options "$@"
runs=${bench_args[0]:-15}
moves=${bench_args[1]:-200}
if [ "$bench_quick" = 1 ]; then
  runs=${bench_args[0]:-4}
  moves=${bench_args[1]:-40}
fi
cd "$bench_top"
bench_setup win64
bench_build win64 overlay_open overlay_repaint
tools/test-env --no-cups tools/wine-run build/win64/bench/win32/overlay_open.exe "$runs" | tr -d '\r'
VIMBREL_SCREEN=3840x2160 tools/test-env --no-cups tools/wine-run build/win64/bench/win32/overlay_repaint.exe "$moves" | tr -d '\r'
