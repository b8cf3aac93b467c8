#!/usr/bin/env bash
# Times the strong enciphered-file format through the whole vrx process on one file (64 MiB
# by default), beside the speed of the same kind of cipher in openssl on this machine
# (`openssl speed -evp chacha20-poly1305`: the stream cipher and authenticator the strong
# format's XChaCha20-Poly1305 is built on), and the key derivation alone (an empty file,
# whose time is the Argon2id stretching plus starting the process).
# With the native build's strong_bench beside vrx, the format's chunks in memory (no files,
# no key stretching) and the key stretching alone are timed too.
# Installs what it needs (openssl and the build tools, as tools/setup does) and builds the
# native vrx and strong_bench unless a vrx is given.
# Usage: bench/strong_vs_openssl.sh [--quick] [path/to/vrx] [MiB] [runs]
#   --quick   a short run: 8 MiB, best of 2, shorter openssl and in-memory timings; the
#             same lines as a full run
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$here/bench/bench_setup.sh"
quick=0
if [[ ${1:-} == --quick ]]; then quick=1; shift; fi
bench_packages openssl
vrx=${1:-}
[[ -n $vrx ]] || vrx=$(bench_vrx "$here" --target strong_bench)
if ((quick)); then mib=${2:-8} runs=${3:-2} speed_seconds=1 min_time=0.2; else mib=${2:-64} runs=${3:-3} speed_seconds=2 min_time=1; fi
[[ -x $vrx ]] || { echo "vrx not found at $vrx" >&2; exit 1; }
key="bench key 2026"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
head -c $((mib << 20)) /dev/urandom >"$work/plain"
: >"$work/empty"

# Best of $runs runs, wall-clock seconds.
best() {
    local best="" t
    for ((i = 0; i < runs; i++)); do
        t=$( { TIMEFORMAT='%3R'; time "$@" >/dev/null 2>&1; } 2>&1 )
        best=$(awk -v a="$best" -v b="$t" 'BEGIN { print (a == "" || b < a) ? b : a }')
    done
    echo "$best"
}

strong_encrypt() { printf '%s\n' "$key" | "$vrx" encrypt --cipher strong "$1" -o "$2" --force --key-stdin; }
strong_decrypt() { printf '%s\n' "$key" | "$vrx" decrypt "$1" -o "$2" --force --key-stdin; }

# The floor any file tool stands on here: the same bytes read and written by cp.
copy=$(best cp "$work/plain" "$work/copy")
rm -f "$work/copy"
derive=$(best strong_encrypt "$work/empty" "$work/empty.vrs")
enc=$(best strong_encrypt "$work/plain" "$work/plain.vrs")
dec=$(best strong_decrypt "$work/plain.vrs" "$work/back")
cmp -s "$work/back" "$work/plain" || { echo "the deciphered file differs from the original" >&2; exit 1; }

# openssl's own figure for 16 KiB blocks (its largest standard size), in 1000s of bytes/s.
ossl_k=$(openssl speed -evp chacha20-poly1305 -seconds "$speed_seconds" 2>/dev/null |
         awk '/^[Cc]ha[Cc]ha20-[Pp]oly1305/ { v = $NF } END { sub(/k$/, "", v); print v }')
[[ -n $ossl_k ]] || { echo "openssl speed gave no chacha20-poly1305 figure" >&2; exit 1; }

echo "Strong format on a $mib MiB file, best of $runs runs of the whole vrx process"
"$vrx" info "$work/plain.vrs" | sed 1d
awk -v d="$derive" -v e="$enc" -v x="$dec" -v c="$copy" -v mib="$mib" -v k="$ossl_k" 'BEGIN {
    mb = mib * 1048576 / 1e6; ossl = k * 1000 / 1e6
    printf "key derivation (empty file, whole process)  %6.3f s\n", d
    printf "%-8s %8s %10s %22s %12s\n", "step", "time", "MB/s", "MB/s without the key", "openssl/us"
    printf "%-8s %7.3fs %10.1f %22.1f %11.2fx\n", "encrypt", e, mb / e, mb / (e - d), ossl / (mb / e)
    printf "%-8s %7.3fs %10.1f %22.1f %11.2fx\n", "decrypt", x, mb / x, mb / (x - d), ossl / (mb / x)
    printf "openssl speed -evp chacha20-poly1305 (16 KiB blocks): %.1f MB/s\n", ossl
    printf "cp of the same file (reading and writing alone): %.3f s, %.1f MB/s\n", c, mb / c
}'

bench_exe=$(dirname "$vrx")/../../bench/crypto/strong_bench
if [[ -x $bench_exe ]]; then
    "$bench_exe" --benchmark_min_time="$min_time" 2>/dev/null |
        awk '/^BM_StrongSealChunks/ { print "in memory, 64 KiB chunks (libsodium secret stream):", $(NF) }
             /^BM_StrongKeyDerivation/ { print "key derivation alone (Argon2id, defaults):", $2, $3 }'
fi
