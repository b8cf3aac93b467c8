#!/usr/bin/env bash
# Times the whole vrx process against `openssl enc -des-cbc` (the floor) on the same file,
# 64 MiB by default, both directions; checks that both write the same bytes and prints, for
# each direction, the floor's time, the program's time and the ratio (above 1: vrx is
# faster). Installs what it needs (openssl and the build tools, as tools/setup does) and
# builds the native vrx unless one is given.
# Usage: bench/des_vs_openssl.sh [--quick] [path/to/vrx] [MiB] [runs]
#   --quick   a short run: 8 MiB, best of 2 (unless MiB or runs are given)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$here/bench/bench_setup.sh"
quick=0
if [[ ${1:-} == --quick ]]; then quick=1; shift; fi
bench_packages openssl
vrx=${1:-}
[[ -n $vrx ]] || vrx=$(bench_vrx "$here")
if ((quick)); then mib=${2:-8} runs=${3:-2}; else mib=${2:-64} runs=${3:-5}; fi
[[ -x $vrx ]] || { echo "vrx not found at $vrx" >&2; exit 1; }

# An 8-character key is used byte for byte; the IV is the fold of the built-in text.
key=benchKey
key_hex=$(printf %s "$key" | od -An -tx1 | tr -d ' \n')
iv_hex=120418190c170a0c
openssl_des=(openssl enc -provider legacy -provider default -des-cbc -K "$key_hex" -iv "$iv_hex")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
head -c $((mib << 20)) /dev/urandom >"$work/plain"

# Best of $runs runs: "wall cpu" in seconds, cpu being user + system time of the command.
# On a shared machine the cpu figure is the steadier one. The two programs take turns, so
# a burst of load elsewhere falls on both alike.
best_wall=() best_cpu=()
time_once() {  # time_once SLOT COMMAND...
    local slot=$1 t wall user sys cpu; shift
    t=$( { TIMEFORMAT='%3R %3U %3S'; time "$@" >/dev/null 2>&1; } 2>&1 )
    read -r wall user sys <<<"$t"
    cpu=$(awk -v u="$user" -v s="$sys" 'BEGIN { print u + s }')
    best_wall[$slot]=$(awk -v a="${best_wall[$slot]:-}" -v b="$wall" 'BEGIN { print (a == "" || b < a) ? b : a }')
    best_cpu[$slot]=$(awk -v a="${best_cpu[$slot]:-}" -v b="$cpu" 'BEGIN { print (a == "" || b < a) ? b : a }')
}

vrx_encrypt() { printf '%s\n' "$key" | "$vrx" encrypt "$work/plain" -o "$work/plain.vrx" --force --key-stdin; }
vrx_decrypt() { printf '%s\n' "$key" | "$vrx" decrypt "$work/plain.vrx" -o "$work/back" --force --key-stdin; }
ossl_encrypt() { "${openssl_des[@]}" -e -in "$work/plain" -out "$work/plain.ossl"; }
ossl_decrypt() { "${openssl_des[@]}" -d -in "$work/plain.vrx" -out "$work/back.ossl"; }

# Slots: 0 vrx encrypt, 1 openssl encrypt, 2 vrx decrypt, 3 openssl decrypt.
for ((i = 0; i < runs; i++)); do
    time_once 0 vrx_encrypt
    time_once 1 ossl_encrypt
done
cmp -s "$work/plain.vrx" "$work/plain.ossl" || { echo "vrx and openssl ciphertexts differ" >&2; exit 1; }
rm -f "$work/plain.ossl"
for ((i = 0; i < runs; i++)); do
    time_once 2 vrx_decrypt
    time_once 3 ossl_decrypt
done
cmp -s "$work/back" "$work/plain" && cmp -s "$work/back.ossl" "$work/plain" ||
    { echo "deciphered files differ from the original" >&2; exit 1; }

echo "DES-CBC on a $mib MiB file, whole process, best of $runs runs; floor: ${openssl_des[*]:0:2} -des-cbc ($(openssl version | cut -d' ' -f1-2))"
echo "ratio = floor time / vrx time (above 1: vrx faster)"
printf '%-8s %-5s %9s %9s %7s\n' step clock floor vrx ratio
for step in decrypt encrypt; do
    if [[ $step == encrypt ]]; then v=0 o=1; else v=2 o=3; fi
    for clock in wall cpu; do
        if [[ $clock == wall ]]; then a=${best_wall[$v]} b=${best_wall[$o]}; else a=${best_cpu[$v]} b=${best_cpu[$o]}; fi
        awk -v s="$step" -v c="$clock" -v a="$a" -v b="$b" -v mib="$mib" \
            'BEGIN { printf "%-8s %-5s %8.3fs %8.3fs %6.2fx   (%.0f vs %.0f MiB/s)\n", s, c, b, a, b / a, mib / b, mib / a }'
    done
done
