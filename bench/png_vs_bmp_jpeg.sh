#!/usr/bin/env bash
# Size and write time of a typical capture as PNG, BMP and quality-90 JPEG, as a Markdown
# table. The capture is Vimbrel's own: "\F" with auto save, of the virtual test display
# (1280 x 1024) with a Notepad window of text open (this README) on Wine's flat desktop.
# The native build of the program's image writers then writes it in each format.
# Usage: bench/png_vs_bmp_jpeg.sh [runs]   (default 20)
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"
runs=${1:-20}
{ cmake --preset win64 && cmake --build --preset win64 --target Vimbrel vimbrel-remote -j "${VIMBREL_JOBS:-2}" &&
  cmake --preset native && cmake --build --preset native --target image_formats_tool -j "${VIMBREL_JOBS:-2}"; } >/dev/null

work="$top/build/bench-png"
rm -rf "$work"
mkdir -p "$work"
sed 's/$/\r/' README.md > "$work/notes.txt"
# A prefix of its own, so the benchmark's settings never reach the tests' or a user's run.
export VIMBREL_WINEPREFIX="$top/build/wineprefix-bench"
tools/test-env --no-cups bash -c '
  set -u
  remote="$1"; exe="$2"; folder="Z:$(printf %s "$3" | tr / "\\\\")"
  tools/wine-run notepad.exe "$folder\\notes.txt" &
  sleep 8  # Notepad up and its text drawn, even in a new prefix
  tools/wine-run "$remote" save-captures "$folder" >/dev/null
  tools/wine-run "$exe" "\\F" &
  pid=$!
  status=0
  tools/wine-run "$remote" wait-window >/dev/null && tools/wine-run "$remote" wait-capture "$folder" || status=1
  tools/wine-run "$remote" exit >/dev/null || status=1
  wait "$pid" || status=1
  exit $status
' bench "$top/build/win64/vimbrel-remote.exe" "$top/build/win64/Vimbrel.exe" "$work" | tr -d '\r'
echo
build/native/bench/workspace/image_formats_tool "$work/Vimbrel-00001.bmp" "$runs"
