#!/usr/bin/env bash
# Print Screen to a saved numbered file in Vimbrel, beside a bare BitBlt-and-write program
# on the same virtual screen (1280 x 1024), under Wine. Prints both medians and the ratio.
# Usage: bench/capture_to_file.sh [runs]
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target capture_to_file -j "${VIMBREL_JOBS:-2}" >/dev/null
tools/test-env --no-cups tools/wine-run build/win64/bench/win32/capture_to_file.exe "${1:-15}" | tr -d '\r'
