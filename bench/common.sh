# What the bench scripts share (sourced, not run): the set-up they need, the --quick flag,
# a quiet build, and the report lines every script ends with:
#   floor    NAME  FIGURE      what the same job costs done bare (or by another program)
#   program  NAME  FIGURE      what Vimbrel's code takes for it
#   ratio    program / floor   the figure to compare across runs: these machines are shared
#                              and noisy, so absolute times move, ratios much less
bench_top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bench_quick=0
bench_args=()

# bench_options "$@": takes out --quick (and --help), the rest is left in bench_args.
bench_options() {
  local a
  for a in "$@"; do
    case $a in
      --quick) bench_quick=1 ;;
      -h|--help) sed -n '2,/^set /{/^#/s/^# \{0,1\}//p}' "$0"; exit 0 ;;
      *) bench_args+=("$a") ;;
    esac
  done
}

# bench_setup [win64]: installs the missing Debian packages (tools/setup, which names what it
# installs) and, for a script that builds for Windows, the libraries tools/build-deps
# builds. Both do nothing when all is there.
bench_setup() {
  "$bench_top/tools/setup" >&2
  if [ "${1:-}" = win64 ]; then "$bench_top/tools/build-deps" >&2; fi
  return 0
}

# bench_build PRESET TARGET...: configures and builds the targets; quiet unless it fails.
bench_build() {
  local preset=$1 log
  shift
  log=$(mktemp)
  if ! (cd "$bench_top" && cmake --preset "$preset" && cmake --build --preset "$preset" --target "$@" -j "${VIMBREL_JOBS:-2}") >"$log" 2>&1; then
    cat "$log" >&2
    rm -f "$log"
    echo "bench: the build failed (see above)" >&2
    exit 1
  fi
  rm -f "$log"
}

# bench_report FLOOR_NAME FLOOR_MS PROGRAM_NAME PROGRAM_MS: the three report lines.
bench_report() {
  awk -v fn="$1" -v f="$2" -v pn="$3" -v p="$4" 'BEGIN {
    printf "  floor    %-46s %9.2f ms\n", fn, f
    printf "  program  %-46s %9.2f ms\n", pn, p
    printf "  ratio    %-46s %9.2f\n", "program / floor", p / f
  }'
}
