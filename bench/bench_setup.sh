# Sourced by the bench scripts: installs the Debian packages they need when some are
# missing (the way tools/setup does), and builds the native vrx they time.
# bench_packages PACKAGE...: installs those of the packages that are not installed.
bench_packages() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if ((${#missing[@]})); then
        echo "bench: installing ${missing[*]}" >&2
        local sudo_cmd=()
        [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
        "${sudo_cmd[@]}" apt-get update -q >&2
        DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" >&2
    fi
}

# What configuring the native preset and building vrx with it needs (a subset of tools/setup).
bench_build_packages=(cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev libjpeg62-turbo-dev
                      libpng-dev zlib1g-dev libsodium-dev libssl-dev)

# bench_vrx TOP [TARGET...]: configures the native preset if it is not yet, builds vrx (and
# any other targets named) and prints the path of vrx. Up-to-date targets cost nothing.
bench_vrx() {
    local top=$1; shift
    bench_packages "${bench_build_packages[@]}"
    if [[ ! -f $top/build/native/build.ninja ]]; then
        (cd "$top" && cmake --preset native >&2)
    fi
    cmake --build "$top/build/native" --target vrx "$@" >&2
    echo "$top/build/native/src/vrx/vrx"
}
