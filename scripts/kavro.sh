#!/usr/bin/env bash
# Set-up, build, run and test Kavro Start on Debian 12.
#   kavro.sh run    install what is missing, build, make the demo folder, start the program there
#   kavro.sh test   install what is missing, build, run every test (as built, end to end under Xvfb
#                   and openbox, then under ASan+UBSan)
#   kavro.sh bench  install what is missing, build, run the benchmarks
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
packages=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-multimedia-dev libgl-dev libgtest-dev
          libbenchmark-dev python3 xvfb xauth openbox xdotool imagemagick x11-utils libxtst-dev faketime)

install_missing() {
    local missing=() p
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# build DIR [cmake options...]
build() {
    local dir=$1
    shift
    local launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S "$root" -B "$dir" -G Ninja "${launcher[@]}" "$@"
    cmake --build "$dir"
}

case "${1:-}" in
run)
    install_missing
    build "$root/build/release" -DCMAKE_BUILD_TYPE=Release -DKAVRO_BENCH=OFF
    python3 "$root/scripts/make-demo.py" "$root/demo" "$root/build/release/PinNotes"
    cd "$root/demo"
    exec "$root/build/release/KavroStart"
    ;;
test)
    install_missing
    build "$root/build/plain"
    ctest --test-dir "$root/build/plain" --output-on-failure

    # End-to-end: the built program on its own virtual display under openbox,
    # driven with real pointer and key input. The log and the screenshots of
    # failures are left in build/plain/e2e.
    mkdir -p "$root/build/plain/e2e"
    (cd "$root/build/plain/e2e" && "$root/build/plain/tests/tests_e2e" 2>&1 | tee e2e.log)

    build "$root/build/asan" -DKAVRO_SANITIZE=ON -DKAVRO_BENCH=OFF
    ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --test-dir "$root/build/asan" --output-on-failure
    # The clock worker's hand-over under ThreadSanitizer: only its own test target.
    cmake -S "$root" -B "$root/build/tsan" -G Ninja -DKAVRO_TSAN=ON -DKAVRO_BENCH=OFF
    cmake --build "$root/build/tsan" --target tests_clock_tsan
    TSAN_OPTIONS=halt_on_error=1 QT_QPA_PLATFORM=offscreen "$root/build/tsan/tests/tests_clock_tsan"
    ;;
bench)
    install_missing
    build "$root/build/plain"
    for b in "$root"/build/plain/bench/bench_*; do
        [ -x "$b" ] && QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$b"
    done
    ;;
*)
    sed -n '2,6p' "$0"
    exit 2
    ;;
esac
