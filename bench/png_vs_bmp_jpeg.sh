#!/usr/bin/env bash
# Size and write time of a typical capture as PNG, BMP and quality-90 JPEG, as a Markdown
# table, then the report lines: the floor is the BMP write, the program the PNG write. The
# capture is Vimbrel's own: "\F" with auto save, of the virtual test display (1280 x 1024)
# with a Notepad window of text open (this README) on Wine's flat desktop. The native build
# of the program's image writers then writes it in each format.
# Usage: bench/png_vs_bmp_jpeg.sh [--quick] [runs]   (default 20 runs; --quick: 3, and the
#        capture of an earlier run is used again when there is one)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
bench_options "$@"
top=$bench_top
cd "$top"
runs=${bench_args[0]:-20}
[ "$bench_quick" = 1 ] && runs=${bench_args[0]:-3}
bench_setup win64
bench_build native image_formats_tool

work="$top/build/bench-png"
capture="$work/Vimbrel-00001.bmp"
if [ "$bench_quick" = 1 ] && [ -f "$capture" ]; then
  echo "Capture of an earlier run (--quick): $capture"
else
bench_build win64 Vimbrel vimbrel-remote
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
fi
echo
build/native/bench/workspace/image_formats_tool "$capture" "$runs"
