#!/usr/bin/env bash
# Sets up a Debian 12 machine for Listora, builds it, and then starts it or tests it.
#   ./listora.sh run    install what is missing, build, start Listora
#   ./listora.sh test   install what is missing, build, run the whole test suite
#   ./listora.sh sanitize  the whole test suite built with ASan and UBSan; any report fails
#   ./listora.sh fuzz      the task file reader's fuzz target, 60 s over a copy of its corpus
#   ./listora.sh bench     the benchmarks, each beside its floor, and their ratios
#   ./listora.sh package   the Debian package in build/, checked by lintian; any error or warning fails
#   ./listora.sh windows   cross-builds for 64-bit Windows: build-windows/Listora-<version>-win64.zip and .msi
#   ./listora.sh windows-test  the whole test suite built for Windows and run under Wine, printing
#                              included, then the installer installed, started and removed
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake g++ make qt6-base-dev qt6-base-dev-tools libgl-dev libbenchmark-dev
          xvfb xauth poppler-utils fonts-dejavu-core fonts-liberation clang libclang-rt-14-dev
          locales-all dbus-daemon)

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

# Windows: MinGW-w64 from Debian, a Qt built for it by packaging/windows/build-qt.sh, and Wine
# to run the tests. Qt and the Wine prefix are cached outside the checkout.
windows_packages=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
                  ninja-build xz-utils wine wine64 wixl)
# The Windows suite also prints through Wine to a PDF queue of the host's CUPS, in Wine's own
# fonts, and looks at the installed program's window.
windows_test_packages=(printer-driver-cups-pdf cups-client fonts-wine x11-utils xdotool binutils)
windows_qt_version=6.4.2
windows_cache="${XDG_CACHE_HOME:-$HOME/.cache}/listora"

# Prints the Qt for Windows prefix: the ready build beside the checkout (or the archive
# LISTORA_QT_WINDOWS_ARCHIVE names) when there is one, else our own recipe's (about 16
# minutes on two cores, once).
windows_qt() {
    local cached="$windows_cache/qt6-windows-$windows_qt_version-mingw64"
    local ready="${LISTORA_QT_WINDOWS_ARCHIVE:-../shared/qt6-windows-$windows_qt_version-mingw64.tar.xz}"
    if [ ! -f "$cached/qt6-windows/lib/cmake/Qt6/Qt6Config.cmake" ]; then
        rm -rf "$cached" "$cached.part"
        mkdir -p "$cached.part"
        if [ -f "$ready" ]; then
            echo "Unpacking $ready into $cached" >&2
            tar -C "$cached.part" -xJf "$ready"
        else
            echo "No Qt for Windows at hand: building one into $cached" >&2
            packaging/windows/build-qt.sh "$(realpath "$cached.part")/qt6-windows" >&2
        fi
        mv "$cached.part" "$cached"
    fi
    echo "$cached/qt6-windows"
}

build_windows() {
    packages+=("${windows_packages[@]}")
    install_missing
    # The icon is drawn at build time by a tool that has to run here: it comes from the Linux build.
    build_target build listora_rendericon
    local qt
    qt="$(windows_qt)"
    mkdir -p build-windows
    cmake -G Ninja -S . -B build-windows -DCMAKE_BUILD_TYPE=Release \
          -DCMAKE_TOOLCHAIN_FILE="$PWD/packaging/windows/mingw-w64.cmake" \
          -DCMAKE_PREFIX_PATH="$qt" -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
          -DLISTORA_RENDERICON="$PWD/build/packaging/listora_rendericon" \
          > build-windows.configure.log 2>&1 \
        || { cat build-windows.configure.log; exit 1; }
    cmake --build build-windows -j"$(nproc)" "$@"
}

# The host's CUPS with a cups-pdf queue as Wine's default printer. There is no service manager
# in CI's container: the scheduler is started here when it is not running.
print_queue() {
    local queue=CUPS-PDF
    if ! lpstat -r 2>/dev/null | grep -q "is running"; then
        echo "Starting the CUPS scheduler"
        /usr/sbin/cupsd
        for _ in $(seq 50); do lpstat -r 2>/dev/null | grep -q "is running" && break; sleep 0.2; done
    fi
    if ! lpstat -v "$queue" >/dev/null 2>&1; then
        lpadmin -p "$queue" -v cups-pdf:/ -E -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null
    fi
    /usr/lib/wine/wine64 reg add 'HKCU\Software\Microsoft\Windows NT\CurrentVersion\Windows' /v Device \
        /d "$queue,wineps.drv,CUPS:$queue" /f >/dev/null
}

# A 64-bit Wine prefix of our own, set up once, quiet, and usable as root without a display.
wine_prefix() {
    export WINEPREFIX="$windows_cache/wine64" WINEARCH=win64 WINEDEBUG=-all
    # No Mono or Gecko installers: nothing here needs .NET or HTML.
    export WINEDLLOVERRIDES="mscoree,mshtml="
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Setting up the Wine prefix $WINEPREFIX"
        mkdir -p "$windows_cache"
        /usr/lib/wine/wine64 wineboot --init
        /usr/lib/wine/wineserver -w
    fi
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
windows)
    build_windows --target listora listora_zip listora_msi
    ;;
windows-test)
    packages+=("${windows_test_packages[@]}")
    build_windows --target all listora_msi
    wine_prefix
    print_queue
    status=0
    ctest --test-dir build-windows --output-on-failure -j"$(nproc)" || status=$?
    /usr/lib/wine/wineserver -k || true
    # What a user installs, in a prefix of its own.
    packaging/windows/install-test.sh "build-windows/Listora-$(sed -n 's/^project(Listora VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)-win64.msi" \
        || status=$?
    exit "$status"
    ;;
*)
    echo "usage: $0 run|test|sanitize|fuzz|bench|package|windows|windows-test" >&2
    exit 2
    ;;
esac
