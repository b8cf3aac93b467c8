#!/usr/bin/env bash
# The area overlay, under Wine: hotkey to overlay shown beside a bare copy-and-show program
# (1280 x 1024), and the repaint after one mouse move on a 3840 x 2160 virtual screen.
# Usage: bench/overlay.sh [runs] [moves]
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target overlay_open overlay_repaint -j "${VIMBREL_JOBS:-2}" >/dev/null
tools/test-env --no-cups tools/wine-run build/win64/bench/win32/overlay_open.exe "${1:-15}" | tr -d '\r'
VIMBREL_SCREEN=3840x2160 tools/test-env --no-cups tools/wine-run build/win64/bench/win32/overlay_repaint.exe "${2:-200}" | tr -d '\r'
