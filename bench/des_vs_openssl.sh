#!/usr/bin/env bash
# Times vrx against `openssl enc -des-cbc` on the same file (256 MiB by default), checks
# that both write the same bytes, and prints the speed ratios (above 1: vrx is faster).
# Usage: bench/des_vs_openssl.sh [path/to/vrx] [MiB] [runs]
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
vrx=${1:-$here/build/native/src/vrx/vrx}
mib=${2:-256}
runs=${3:-3}
[[ -x $vrx ]] || { echo "vrx not found at $vrx (build the vrx target first)" >&2; exit 1; }

# An 8-character key is used byte for byte; the IV is the fold of the built-in text.
key=benchKey
key_hex=$(printf %s "$key" | od -An -tx1 | tr -d ' \n')
iv_hex=120418190c170a0c
openssl_des=(openssl enc -provider legacy -provider default -des-cbc -K "$key_hex" -iv "$iv_hex")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
head -c $((mib << 20)) /dev/urandom >"$work/plain"

# Best wall time of $runs runs, in seconds.
best() {
    local best_ns=0 t0 t1
    for ((i = 0; i < runs; i++)); do
        t0=$(date +%s%N)
        "$@" >/dev/null
        t1=$(date +%s%N)
        if ((best_ns == 0 || t1 - t0 < best_ns)); then best_ns=$((t1 - t0)); fi
    done
    awk -v ns="$best_ns" 'BEGIN { printf "%.3f", ns / 1e9 }'
}

vrx_encrypt() { printf '%s\n' "$key" | "$vrx" encrypt "$work/plain" -o "$work/plain.vrx" --force --key-stdin; }
vrx_decrypt() { printf '%s\n' "$key" | "$vrx" decrypt "$work/plain.vrx" -o "$work/back" --force --key-stdin; }
ossl_encrypt() { "${openssl_des[@]}" -e -in "$work/plain" -out "$work/plain.ossl"; }
ossl_decrypt() { "${openssl_des[@]}" -d -in "$work/plain.ossl" -out "$work/back.ossl"; }

enc_vrx=$(best vrx_encrypt)
enc_ossl=$(best ossl_encrypt)
cmp -s "$work/plain.vrx" "$work/plain.ossl" || { echo "vrx and openssl ciphertexts differ" >&2; exit 1; }
rm -f "$work/plain.ossl"
cp "$work/plain.vrx" "$work/plain.ossl"
dec_vrx=$(best vrx_decrypt)
dec_ossl=$(best ossl_decrypt)
cmp -s "$work/back" "$work/plain" && cmp -s "$work/back.ossl" "$work/plain" ||
    { echo "deciphered files differ from the original" >&2; exit 1; }

echo "DES-CBC on a $mib MiB file, best of $runs runs (wall seconds; ratio = openssl / vrx)"
printf '%-8s %10s %10s %8s\n' step vrx openssl ratio
for step in encrypt decrypt; do
    if [[ $step == encrypt ]]; then a=$enc_vrx b=$enc_ossl; else a=$dec_vrx b=$dec_ossl; fi
    awk -v s="$step" -v a="$a" -v b="$b" -v mib="$mib" \
        'BEGIN { printf "%-8s %9.3fs %9.3fs %7.2fx   (%.0f vs %.0f MiB/s)\n", s, a, b, b / a, mib / a, mib / b }'
done
