#!/usr/bin/env bash
# Start to main window and idle committed memory of Vimbrel started hidden, beside a bare
# tray program (a hidden window, a tray icon, a message loop) started the same way, on the
# same virtual screen under Wine; then memory after 10 and after 100 captures. Prints the
# floor, the program and the ratio (or difference) of each figure.
# Usage: bench/start_memory.sh [--quick] [--rounds R] [--trace] [--exe WINDOWS-PATH-OF-A-Vimbrel.exe]
# --trace prints the program's start-up step trace (debug-level log lines) instead.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"
tools/setup >/dev/null
tools/build-deps >/dev/null
cmake --preset win64 >/dev/null
# A prefix of its own, so the benchmark's settings never reach the tests' or a user's run.
export VIMBREL_WINEPREFIX="$top/build/wineprefix-bench"
cmake --build --preset win64 --target start_memory -j "${VIMBREL_JOBS:-2}" >/dev/null
# VIMBREL_BENCH_CUPS=1: with the test environment's PDF printer, as the tests run.
cups=--no-cups; [ "${VIMBREL_BENCH_CUPS:-0}" = 1 ] && cups=
tools/test-env $cups tools/wine-run build/win64/bench/win32/start_memory.exe "$@" | tr -d '\r'
