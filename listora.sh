#!/usr/bin/env bash
# Sets up a Debian 12 machine for Listora, builds it, and then starts it or tests it.
#   ./listora.sh run    install what is missing, build, start Listora
#   ./listora.sh test   install what is missing, build, run the whole test suite
#   ./listora.sh sanitize  the whole test suite built with ASan and UBSan; any report fails
#   ./listora.sh fuzz      the task file reader's fuzz target, 60 s over a copy of its corpus
#   ./listora.sh bench     the benchmarks, each beside its floor, and their ratios
#   ./listora.sh package   the Debian package in build/, checked by lintian; any error or warning fails
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake g++ make qt6-base-dev qt6-base-dev-tools libgl-dev libbenchmark-dev
          xvfb xauth poppler-utils fonts-dejavu-core fonts-liberation clang libclang-rt-14-dev
          locales-all)

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

# Like build, but only the named target: the fuzzer and the benchmarks do not
# need the rest of the project built a second time.
build_target() {
    local dir="$1" target="$2"; shift 2
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" > "$dir.configure.log" 2>&1 \
        || { cat "$dir.configure.log"; exit 1; }
    cmake --build "$dir" -j"$(nproc)" --target "$target"
}

# Every sanitizer report aborts the process, so a test that only prints one
# still fails.
sanitizer_env() {
    export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1"
    export UBSAN_OPTIONS="halt_on_error=1:abort_on_error=1:print_stacktrace=1"
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
sanitize)
    install_missing
    build build-asan -DLISTORA_SANITIZE=ON
    sanitizer_env
    ctest --test-dir build-asan --output-on-failure -j"$(nproc)"
    ;;
fuzz)
    install_missing
    CC=clang CXX=clang++ build_target build-fuzz fuzz_taskfile -DLISTORA_FUZZ=ON
    sanitizer_env
    # The fuzzer adds what it finds to its corpus folder: the kept one stays as committed.
    work="$(mktemp -d)"
    trap 'rm -rf "$work"' EXIT
    mkdir "$work/corpus" "$work/crashes"
    cp fuzz/corpus/taskfile/* "$work/corpus/"
    if ! build-fuzz/fuzz/fuzz_taskfile -max_total_time=60 -print_final_stats=1 \
            -artifact_prefix="$work/crashes/" "$work/corpus"; then
        mkdir -p build-fuzz/crashes
        cp "$work"/crashes/* build-fuzz/crashes/ 2>/dev/null || true
        echo "fuzz_taskfile failed; the inputs are in build-fuzz/crashes/" >&2
        exit 1
    fi
    ;;
bench)
    install_missing
    build_target build-bench listora_bench -DLISTORA_BENCH=ON
    QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 QT_QPA_PLATFORMTHEME= build-bench/bench/listora_bench "${@:2}"
    ;;
package)
    packages+=(dpkg-dev file lintian appstream)
    install_missing
    build build
    appstreamcli validate --no-net packaging/listora.metainfo.xml
    rm -f build/listora_*.deb
    (cd build && cpack -G DEB)
    lintian --fail-on error,warning build/listora_*.deb
    echo "lintian: no error, no warning in $(ls build/listora_*.deb)"
    ;;
*)
    echo "usage: $0 run|test|sanitize|fuzz|bench|package" >&2
    exit 2
    ;;
esac
