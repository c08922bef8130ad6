#!/usr/bin/env bash
# Set-up, build, run and test Kavro Start on Debian 12.
#   kavro.sh run    install what is missing, build, make the demo folder, start the program there
#   kavro.sh test   install what is missing, check the format, build with warnings as errors, run
#                   every test (as built, the package, end to end under Xvfb and openbox and under weston
#                   with Xwayland, then under ASan+UBSan and ThreadSanitizer), fuzz each reader briefly;
#                   each step says its time
#   kavro.sh lint [--all | REGEX]  install what is missing, check the format and run clang-tidy over
#                   the sources changed since its last clean run (CI: --all, every source, after test);
#                   REGEX limits clang-tidy to the sources whose full path it matches
#   kavro.sh bench  install what is missing, build, run the benchmarks
#   kavro.sh fuzz [SECONDS]  build the fuzz targets with clang and run each for SECONDS (default 60)
#   kavro.sh package  install what is missing, build, make the Debian package build/package/kavro-start_<version>_amd64.deb
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
packages=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-multimedia-dev libgl-dev libgtest-dev
          libbenchmark-dev python3 xvfb xauth openbox xdotool imagemagick x11-utils
          clang libclang-rt-14-dev qt6-svg-dev qt6-qpa-plugins dpkg-dev file desktop-file-utils pulseaudio pulseaudio-utils
          libxcb1-dev libxtst-dev faketime clang-format clang-tidy
          dbus-daemon at-spi2-core gir1.2-atspi-2.0 python3-gi python3-icalendar
          weston xwayland qt6-wayland x11-xserver-utils)

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

# configure DIR [cmake options...]
configure() {
    local dir=$1
    shift
    local launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S "$root" -B "$dir" -G Ninja "${launcher[@]}" "$@"
}

# build DIR [cmake options...]
build() {
    configure "$@"
    cmake --build "$1"
}

# make_package BUILD_DIR: the .deb of an already built tree, in BUILD_DIR; prints its path.
make_package() {
    local dir=$1
    rm -f "$dir"/kavro-start_*.deb
    (cd "$dir" && cpack -G DEB -B "$dir" >&2)
    ls "$dir"/kavro-start_*_amd64.deb
}

# check_package DEB: the package holds the program, the module, the desktop entry and the
# icons, and its unpacked program tells its version without a display.
check_package() {
    local deb=$1 version scratch
    version=$(sed -n 's/^project(KavroStart VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
    [ "$(basename "$deb")" = "kavro-start_${version}_amd64.deb" ] || { echo "unexpected package name $deb" >&2; return 1; }
    local depends
    depends=$(dpkg-deb --field "$deb" Depends)
    grep -q 'libqt6widgets6' <<<"$depends" || { echo "package Depends lacks the Qt libraries" >&2; return 1; }
    # What only the tests use stays out.
    ! grep -Eq 'faketime|libxtst|weston|xwayland|qt6-wayland' <<<"$depends" || { echo "package Depends names test tools: $depends" >&2; return 1; }
    local listing path
    listing=$(dpkg-deb -c "$deb")
    for path in ./usr/bin/KavroStart ./usr/bin/PinNotes ./usr/lib/kavro-start/kavro_sound.so \
        ./usr/share/applications/kavro-start.desktop ./usr/share/icons/hicolor/48x48/apps/kavro-start.png \
        ./usr/share/icons/hicolor/scalable/apps/kavro-start.svg ./usr/share/man/man1/KavroStart.1.gz; do
        grep -q " $path\$" <<<"$listing" || { echo "package lacks $path" >&2; return 1; }
    done
    scratch=$(mktemp -d)
    dpkg-deb -x "$deb" "$scratch"
    local said
    said=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 20 "$scratch/usr/bin/KavroStart" --version)
    rm -rf "$scratch"
    [ "$said" = "Kavro Start $version" ] || { echo "packaged program says '$said'" >&2; return 1; }
    echo "Package $(basename "$deb") checked."
}

# check_no_test_hooks DEB: the packaged programs carry none of the hooks the tests drive them by.
check_no_test_hooks() {
    local scratch found
    scratch=$(mktemp -d)
    dpkg-deb -x "$1" "$scratch"
    found=$(grep -a -o -h -E 'KAVRO_(DIALOGS|INSTANCE_TRACE|REPORT_SHOWN)' "$scratch"/usr/bin/* | sort -u || true)
    rm -rf "$scratch"
    [ -z "$found" ] || { echo "the packaged programs carry test hooks: $found" >&2; return 1; }
    echo "Package $(basename "$1") carries no test hooks."
}

# tidy_pending DIR REGEX [all]: prints a Python regex naming the sources of DIR's compile
# database whose path REGEX (Python's) matches and that clang-tidy has not found clean as
# they are now (with all: every one of them), or nothing when there are none. A source
# stays clean while neither it, nor a file of the tree it includes (directly or not), nor
# its compile command, nor .clang-tidy changes. tidy_record DIR notes the sources of the
# last tidy_pending as clean, in DIR/tidy-clean.json.
tidy_pending() {
    python3 - "$root" "$@" <<'EOF'
import hashlib, json, os, re, shlex, sys
root, folder, pattern = sys.argv[1:4]
everything = len(sys.argv) > 4
include = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.M)
texts = {}
def text(path):
    if path not in texts:
        with open(path, 'rb') as f:
            texts[path] = f.read()
    return texts[path]
tidy_config = text(os.path.join(root, '.clang-tidy'))
def fingerprint(path, commands):
    folders = [a[2:] for c in commands for a in shlex.split(c) if a.startswith('-I') and len(a) > 2]
    digest = hashlib.sha1(tidy_config + '\0'.join(commands).encode())
    seen, todo = set(), [path]
    while todo:
        path = os.path.normpath(todo.pop())
        if path in seen:
            continue
        seen.add(path)
        for name in include.findall(text(path).decode('utf-8', 'replace')):
            for base in [os.path.dirname(path)] + folders:
                found = os.path.join(base, name)
                if found.startswith(root + '/') and os.path.isfile(found):
                    todo.append(found)
                    break
    for path in sorted(seen):
        digest.update(path.encode() + b'\0' + text(path))
    return digest.hexdigest()
# A source compiled by several targets is checked once, but stays clean only while
# every one of its compile commands does.
commands = {}
with open(os.path.join(folder, 'compile_commands.json')) as f:
    for entry in json.load(f):
        path = os.path.normpath(os.path.join(entry['directory'], entry['file']))
        if re.search(pattern, path):
            commands.setdefault(path, []).append(entry.get('command') or shlex.join(entry['arguments']))
clean_file = os.path.join(folder, 'tidy-clean.json')
clean = {}
if not everything and os.path.exists(clean_file):
    with open(clean_file) as f:
        clean = json.load(f)
pending = {}
for path in commands:
    mark = fingerprint(path, sorted(commands[path]))
    if clean.get(path) != mark:
        pending[path] = mark
with open(os.path.join(folder, 'tidy-pending.json'), 'w') as f:
    json.dump(pending, f)
if pending:
    print('^(' + '|'.join(re.escape(p) for p in sorted(pending)) + ')$')
EOF
}

tidy_record() {
    python3 - "$1" <<'EOF'
import json, os, sys
folder = sys.argv[1]
clean_file = os.path.join(folder, 'tidy-clean.json')
clean = {}
if os.path.exists(clean_file):
    with open(clean_file) as f:
        clean = json.load(f)
with open(os.path.join(folder, 'tidy-pending.json')) as f:
    clean.update(json.load(f))
with open(clean_file, 'w') as f:
    json.dump(clean, f, indent=0, sort_keys=True)
EOF
}

# tidy DIR REGEX [all]: clang-tidy (.clang-tidy, warnings as errors) over the sources
# that tidy_pending names.
tidy() {
    local dir=$1 started=$SECONDS sources
    sources=$(tidy_pending "$@")
    if [ -z "$sources" ]; then
        echo "clang-tidy: every source of $dir that is asked for is clean since its last run"
        return 0
    fi
    echo "clang-tidy over $(grep -o '"/' "$dir/tidy-pending.json" | wc -l) sources of $dir"
    run-clang-tidy -quiet -j "$(nproc)" -p "$dir" "$sources" >"$dir/tidy.log" 2>&1 || {
        sed 's/\x1b\[[0-9;]*m//g' "$dir/tidy.log" | grep -E 'warning:|error:' -A3 >&2
        echo "clang-tidy found the above (whole log: $dir/tidy.log)" >&2
        return 1
    }
    tidy_record "$dir"
    echo "clang-tidy clean in $dir ($((SECONDS - started)) s)"
}

check_format() {
    (cd "$root" && git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror)
}

# lint [--all | REGEX]: every C++ file of the tree matches .clang-format, and clang-tidy finds
# nothing in any source file of the plain build, tests and benchmarks included, nor in the
# headers they include, nor in the fuzz targets' own sources: in those changed since its
# last clean run, in every one with --all, in those whose path REGEX (Python's) matches.
# clang-tidy reads the compile database of a tree of its own, configured and not built:
# without precompiled headers (GCC's, which it cannot read) and without unity sources,
# so that each source is checked as written, with the includes it names.
lint() {
    local scope=() regex=${1:-}
    if [ "$regex" = --all ]; then
        scope=(all)
        regex=
    fi
    echo "Checking the format"
    check_format
    echo "Running clang-tidy"
    # The generated sources (moc) are left out.
    configure "$root/build/lint" -DKAVRO_WERROR=ON -DCMAKE_DISABLE_PRECOMPILE_HEADERS=ON -DKAVRO_UNITY_BUILD=OFF >/dev/null
    tidy "$root/build/lint" "${regex:-"^$root/(?!build/)"}" "${scope[@]}"
    # The fuzz targets are built by clang in a tree of their own.
    configure_fuzz -DKAVRO_WERROR=ON >/dev/null
    tidy "$root/build/fuzz" "${regex:-"^$root/fuzz/"}" "${scope[@]}"
}

# step NAME COMMAND...: runs the command and says how long it took, on the clock and in
# processor time (user and system, of the command and everything it started, which a
# machine shared with others disturbs far less), with the load average beside it.
step() {
    local name=$1 report=$root/build/step-time TIMEFORMAT='%1R %1U %1S'
    shift
    mkdir -p "$root/build"
    { time "$@" 2>&3 3>&-; } 3>&2 2>"$report"
    awk -v name="$name" -v load="$(cut -d' ' -f1-3 /proc/loadavg)" '{
        printf "== %s: %s s (processor %.1f s: %s user, %s system; load average %s)\n", name, $1, $2 + $3, $2, $3, load
    }' "$report"
}

# --- Fuzzing -----------------------------------------------------------------
# The libFuzzer targets in fuzz/, built by clang in a tree of their own. Each
# runs for the given seconds from its seed corpus in fuzz/corpus/<target>;
# what it learns goes to build/fuzz/corpus/<target>, crashes to build/fuzz/findings.
fuzz_targets=(menu_reader bitmap_loader planner_store profile_reader ical_reader)

# configure_fuzz, build_fuzz [cmake options...]: the fuzz tree, made by clang.
configure_fuzz() {
    local launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S "$root/fuzz" -B "$root/build/fuzz" -G Ninja -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" "$@"
}

build_fuzz() {
    configure_fuzz "$@"
    cmake --build "$root/build/fuzz"
}

# fuzz_target SECONDS TARGET: one target's run; its output is kept in build/fuzz/TARGET.log
# and printed whole when the run ends, so that runs side by side do not mix their lines.
fuzz_target() {
    local seconds=$1 target=$2 log=$root/build/fuzz/$2.log status=0
    mkdir -p "$root/build/fuzz/corpus/$target"
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        "$root/build/fuzz/fuzz_$target" -max_total_time="$seconds" -rss_limit_mb=4096 -print_final_stats=1 \
        -artifact_prefix="$root/build/fuzz/findings/$target-" \
        "$root/build/fuzz/corpus/$target" "$root/fuzz/corpus/$target" >"$log" 2>&1 || status=$?
    echo "== Fuzzed $target for $seconds s: $([ "$status" -eq 0 ] && echo clean || echo "FAILED ($status)")"
    cat "$log"
    return "$status"
}

# run_fuzz SECONDS [cmake options...]: every target, as many at once as there are
# processors (each run uses one).
run_fuzz() {
    local seconds=$1 target running=0 failed=0
    shift
    build_fuzz "$@"
    mkdir -p "$root/build/fuzz/findings"
    for target in "${fuzz_targets[@]}"; do
        if [ "$running" -ge "$(nproc)" ]; then
            wait -n || failed=1
            running=$((running - 1))
        fi
        fuzz_target "$seconds" "$target" &
        running=$((running + 1))
    done
    while [ "$running" -gt 0 ]; do
        wait -n || failed=1
        running=$((running - 1))
    done
    return "$failed"
}
# -----------------------------------------------------------------------------

case "${1:-}" in
run)
    install_missing
    # Only what it starts: the program, the note program and the sound module.
    release_build() {
        configure "$root/build/release" -DCMAKE_BUILD_TYPE=Release -DKAVRO_BENCH=OFF -DKAVRO_TESTS=OFF -DKAVRO_TEST_HOOKS=OFF
        cmake --build "$root/build/release" --target KavroStart PinNotes kavro_sound
    }
    step "release build" release_build
    python3 "$root/scripts/make-demo.py" "$root/demo" "$root/build/release/PinNotes"
    cd "$root/demo"
    exec "$root/build/release/KavroStart"
    ;;
test)
    step "install" install_missing
    # clang-tidy is not run here but by lint, which CI runs after this.
    step "format" check_format
    step "plain build" build "$root/build/plain" -DKAVRO_WERROR=ON
    # The cases mostly wait (on child processes, sockets, timers): several run at once.
    step "plain ctest" ctest --test-dir "$root/build/plain" --output-on-failure -j "$(nproc)"

    # The Debian package of the plain build: its file list and its program's --version.
    deb=$(make_package "$root/build/plain")
    check_package "$deb"

    # End-to-end: the built program, and the packaged one unpacked, on their
    # own virtual display under openbox, driven with real pointer and key
    # input. The log and the screenshots of failures are left in build/plain/e2e.
    mkdir -p "$root/build/plain/e2e"
    e2e() { (cd "$root/build/plain/e2e" && KAVRO_E2E_PACKAGE="$deb" "$root/build/plain/tests/tests_e2e" 2>&1 | tee e2e.log); }
    step "end to end" e2e

    step "asan build" build "$root/build/asan" -DKAVRO_SANITIZE=ON -DKAVRO_BENCH=OFF -DKAVRO_WERROR=ON
    step "asan ctest" env ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
        LSAN_OPTIONS=suppressions="$root/tests/lsan.supp":print_suppressions=0 \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --test-dir "$root/build/asan" --output-on-failure -j "$(nproc)"
    # The clock worker's hand-over under ThreadSanitizer: only its own test target.
    configure "$root/build/tsan" -DKAVRO_TSAN=ON -DKAVRO_BENCH=OFF -DKAVRO_WERROR=ON
    step "tsan build" cmake --build "$root/build/tsan" --target tests_clock_tsan
    step "tsan test" env TSAN_OPTIONS=halt_on_error=1 QT_QPA_PLATFORM=offscreen "$root/build/tsan/tests/tests_clock_tsan"
    # A short run of every fuzz target.
    step "fuzz" run_fuzz 20 -DKAVRO_WERROR=ON
    ;;
lint)
    install_missing
    step "format and clang-tidy" lint "${2:-}"
    ;;
fuzz)
    install_missing
    run_fuzz "${2:-60}"
    ;;
package)
    install_missing
    build "$root/build/package" -DCMAKE_BUILD_TYPE=Release -DKAVRO_BENCH=OFF -DKAVRO_TESTS=OFF -DKAVRO_TEST_HOOKS=OFF
    deb=$(make_package "$root/build/package")
    check_package "$deb"
    check_no_test_hooks "$deb"
    echo "$deb"
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
    sed -n '2,13p' "$0"
    exit 2
    ;;
esac
