#!/usr/bin/env bash
# Set-up, build, run and test Kavro Start on Debian 12.
#   kavro.sh run    install what is missing, build, make the demo folder, start the program there
#   kavro.sh test   install what is missing, build, run every test (as built, then under ASan+UBSan)
#   kavro.sh bench  install what is missing, build, run the benchmarks
#   kavro.sh fuzz [SECONDS]  build the fuzz targets with clang and run each for SECONDS (default 60)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
packages=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-multimedia-dev libgl-dev libgtest-dev
          libbenchmark-dev python3 xvfb xauth openbox xdotool imagemagick x11-utils
          clang libclang-rt-14-dev)

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

# --- Fuzzing -----------------------------------------------------------------
# The libFuzzer targets in fuzz/, built by clang in a tree of their own. Each
# runs for the given seconds from its seed corpus in fuzz/corpus/<target>;
# what it learns goes to build/fuzz/corpus/<target>, crashes to build/fuzz/findings.
fuzz_targets=(menu_reader bitmap_loader planner_store profile_reader)

build_fuzz() {
    local launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S "$root/fuzz" -B "$root/build/fuzz" -G Ninja -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}"
    cmake --build "$root/build/fuzz"
}

run_fuzz() {
    local seconds=$1 target
    build_fuzz
    mkdir -p "$root/build/fuzz/findings"
    for target in "${fuzz_targets[@]}"; do
        mkdir -p "$root/build/fuzz/corpus/$target"
        echo "Fuzzing $target for $seconds s"
        ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
            "$root/build/fuzz/fuzz_$target" -max_total_time="$seconds" -rss_limit_mb=4096 -print_final_stats=1 \
            -artifact_prefix="$root/build/fuzz/findings/$target-" \
            "$root/build/fuzz/corpus/$target" "$root/fuzz/corpus/$target"
    done
}
# -----------------------------------------------------------------------------

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
    build "$root/build/asan" -DKAVRO_SANITIZE=ON -DKAVRO_BENCH=OFF
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 LSAN_OPTIONS=suppressions="$root/tests/lsan.supp":print_suppressions=0 \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --test-dir "$root/build/asan" --output-on-failure
    # The clock worker's hand-over under ThreadSanitizer: only its own test target.
    cmake -S "$root" -B "$root/build/tsan" -G Ninja -DKAVRO_TSAN=ON -DKAVRO_BENCH=OFF
    cmake --build "$root/build/tsan" --target tests_clock_tsan
    TSAN_OPTIONS=halt_on_error=1 QT_QPA_PLATFORM=offscreen "$root/build/tsan/tests/tests_clock_tsan"
    # A short run of every fuzz target.
    run_fuzz 20
    ;;
fuzz)
    install_missing
    run_fuzz "${2:-60}"
    ;;
bench)
    install_missing
    build "$root/build/plain"
    for b in "$root"/build/plain/bench/bench_*; do
        # Only the programs: Qt's generated-code folders are named bench_* too.
        if [ -f "$b" ] && [ -x "$b" ]; then
            QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$b"
        fi
    done
    ;;
*)
    sed -n '2,6p' "$0"
    exit 2
    ;;
esac
