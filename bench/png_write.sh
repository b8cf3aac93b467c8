#!/usr/bin/env bash
# PNG writing of a text capture (32 bits: flat windows, glyph-like text, a few colours) at
# 1920 x 1080 and 1280 x 1024, and of a 1920 x 1080 screen with a photograph in it (more
# colours than a palette holds), native build, in one run: the floor is the same picture
# written as a bitmap file, the program is the PNG writer (libdeflate), and the earlier
# writer (libpng streaming into zlib level 6) is timed beside them. Times are medians of
# WriteImageFile, file included, the three taken in turns.
# Usage: bench/png_write.sh [--quick] [runs]   (default 15 runs, 3 with --quick)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
bench_options "$@"
runs=${bench_args[0]:-15}
[ "$bench_quick" = 1 ] && runs=${bench_args[0]:-3}
bench_setup
bench_build native png_write_tool
"$bench_top/build/native/bench/workspace/png_write_tool" "$runs"
