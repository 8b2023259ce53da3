#!/usr/bin/env bash
# Sets up a Debian 12 machine for Listora, builds it, and then starts it or tests it.
#   ./listora.sh run    install what is missing, build, start Listora
#   ./listora.sh test   install what is missing, build, run the whole test suite
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake g++ make qt6-base-dev qt6-base-dev-tools libgl-dev libbenchmark-dev
          xvfb xauth poppler-utils fonts-dejavu-core fonts-liberation clang libclang-rt-14-dev)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() {
    local dir="$1"; shift
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" > "$dir.configure.log" 2>&1 \
        || { cat "$dir.configure.log"; exit 1; }
    cmake --build "$dir" -j"$(nproc)"
}

case "${1:-}" in
run)
    install_missing
    build build
    exec build/src/listora
    ;;
test)
    install_missing
    build build
    ctest --test-dir build --output-on-failure -j"$(nproc)"
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
