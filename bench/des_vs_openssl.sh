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

# Best of $runs runs: "wall cpu" in seconds, cpu being user + system time of the command.
# On a shared machine the cpu figure is the steadier one.
best() {
    local best_wall="" best_cpu="" t
    for ((i = 0; i < runs; i++)); do
        t=$( { TIMEFORMAT='%3R %3U %3S'; time "$@" >/dev/null 2>&1; } 2>&1 )
        read -r wall user sys <<<"$t"
        best_wall=$(awk -v a="$best_wall" -v b="$wall" 'BEGIN { print (a == "" || b < a) ? b : a }')
        best_cpu=$(awk -v a="$best_cpu" -v b="$(awk -v u="$user" -v s="$sys" 'BEGIN { print u + s }')" \
            'BEGIN { print (a == "" || b < a) ? b : a }')
    done
    echo "$best_wall $best_cpu"
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

echo "DES-CBC on a $mib MiB file, best of $runs runs; ratio = openssl time / vrx time (above 1: vrx faster)"
printf '%-8s %-5s %9s %9s %7s\n' step clock vrx openssl ratio
for step in encrypt decrypt; do
    if [[ $step == encrypt ]]; then a=($enc_vrx) b=($enc_ossl); else a=($dec_vrx) b=($dec_ossl); fi
    for k in 0 1; do
        awk -v s="$step" -v c="$([[ $k == 0 ]] && echo wall || echo cpu)" -v a="${a[$k]}" -v b="${b[$k]}" -v mib="$mib" \
            'BEGIN { printf "%-8s %-5s %8.3fs %8.3fs %6.2fx   (%.0f vs %.0f MiB/s)\n", s, c, a, b, b / a, mib / a, mib / b }'
    done
done
