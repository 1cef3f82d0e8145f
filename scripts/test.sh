#!/usr/bin/env bash
# Builds everything and runs the test lanes: native (sanitizers and fuzzing), then Wine
# (GoogleTest against the real Win32 calls) and end to end (the real program under Xvfb), each
# under Wine 8 (Debian 12's, on the host) and Wine 10 (Debian 13's, in the root scripts/setup.sh
# builds). Name lanes to run only those: scripts/test.sh native wine e2e wine10 e2e10
# HUEBRICK_TESTS=regex runs only the Wine and end-to-end tests whose ctest name matches.
# HUEBRICK_BUILD_DIR names another build folder (default build), so that several
# working copies of the suite can run side by side.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${HUEBRICK_BUILD_DIR:-build}
lanes=("$@")
[ ${#lanes[@]} -gt 0 ] || lanes=(native wine e2e wine10 e2e10)
source scripts/wine10.sh
wine10_enter "$root/scripts/test.sh" "$@"
bash scripts/setup.sh || exit 1
mkdir -p "$build"
wine10_mount "$root" "$(cd "$build" && pwd)" || { echo "cannot share the clone with the Wine 10 root" >&2; exit 1; }

passed=0
failed=0
skipped=0
count() {
    # Adds up ctest's closing line: "N% tests passed, F tests failed out of T"
    local log=$1 line f t
    line=$(grep -E 'tests passed, [0-9]+ tests? failed out of' "$log" | tail -n 1)
    if [ -z "$line" ]; then failed=$((failed + 1)); return; fi
    f=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    t=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
    passed=$((passed + t - f))
    failed=$((failed + f))
}

# Every C++ file in the house style (.clang-format); counted as one test. One clang-format on
# every machine, the Debian 13 root's, since each release's formats some lines its own way.
check_format() {
    local version
    version=$(chroot "$HUEBRICK_WINE10_ROOT" clang-format --version)
    echo "== format: $version --dry-run --Werror"
    if git ls-files -z '*.cpp' '*.h' | sed -z "s|^|$root/|" |
        xargs -0 chroot "$HUEBRICK_WINE10_ROOT" clang-format --dry-run --Werror; then
        echo "format: every C++ file as clang-format writes it"
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
    fi
}

run_native() {
    check_format
    echo "== native lane: host compiler, ASan + UBSan, libFuzzer"
    cmake -S tests/native -B "$build-native" -DCMAKE_CXX_COMPILER=clang++ >/dev/null || return 1
    cmake --build "$build-native" -j"$(nproc)" >/dev/null || return 1
    (cd "$build-native" && ctest --output-on-failure -j"$(nproc)") 2>&1 | tee "$build-native/ctest.log"
    count "$build-native/ctest.log"
}

# The program is built for 32-bit Windows; where this machine cannot run 32-bit code, and under
# Wine 10, the Wine lanes run a 64-bit build of the same sources (scripts/wine-env.sh), and the
# shipped 32-bit exe is still built and checked.
source scripts/wine-env.sh
if [ "$HUEBRICK_ARCH" != i686 ]; then
    echo "note: this machine cannot run 32-bit x86 code (its kernel's IA-32 emulation is off): the Wine"
    echo "      and end-to-end lanes test the same sources built for $HUEBRICK_ARCH under 64-bit Wine"
fi

host_path=$PATH
wine_now=""
# $1: 8 or 10. Each Wine has its own build (of its architecture), prefix and Xvfb display; the
# Wine the tests run under is in HUEBRICK_WINE.
start_wine() {
    [ "$wine_now" = "$1" ] && return 0
    stop_wine
    PATH=$host_path
    [ "$1" = 10 ] && wine10_use
    export HUEBRICK_WINE=$1
    source scripts/wine-env.sh
    cross=$build
    [ "$HUEBRICK_ARCH" = i686 ] || cross=$build-$HUEBRICK_ARCH
    build_cross || return 1
    HUEBRICK_OWN_DISPLAY=1 wine_env_start "$root/$cross/test-prefix$1"
    wine_now=$1
    wine_keep_desktop "$root/$cross/tests/huebrick_testwindow.exe"
}
stop_wine() {
    [ -n "$wine_now" ] && wine_env_stop
    wine_now=""
}
trap stop_wine EXIT

build_cross() {
    local toolchain=-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
    cmake -S . -B "$build" $toolchain -DCMAKE_BUILD_TYPE=Release >/dev/null || return 1
    if [ "$cross" = "$build" ]; then
        cmake --build "$build" -j"$(nproc)" >/dev/null
        return
    fi
    cmake --build "$build" -j"$(nproc)" --target huebrick >/dev/null || return 1
    cmake -S . -B "$cross" $toolchain -DHUEBRICK_ARCH="$HUEBRICK_ARCH" -DCMAKE_BUILD_TYPE=Release \
        -DHUEBRICK_SHIPPED_EXE="$root/$build/huebrick.exe" >/dev/null || return 1
    cmake --build "$cross" -j"$(nproc)" >/dev/null
}

# $1: the label (wine, e2e), $2: the Wine (8, 10). The program's file and artwork are checked
# once, in the Wine 8 lane.
run_lane() {
    local label=$1 lane=$1${2#8} log only=(-L "^$1\$")
    [ "$2" = 8 ] || only+=(-LE '^files$')
    [ -z "${HUEBRICK_TESTS:-}" ] || only+=(-R "$HUEBRICK_TESTS")
    echo "== $lane lane (Wine $2)"
    start_wine "$2" || { failed=$((failed + 1)); return; }
    log="$cross/ctest-$lane.log"
    (cd "$cross" && ctest --output-on-failure "${only[@]}") 2>&1 | tee "$log"
    count "$log"
    # A case that cannot run under this Wine says why (ctest shows a passing test's output nowhere).
    local said
    said=$(grep -h '^SKIP ' "$cross/Testing/Temporary/LastTest.log" 2>/dev/null)
    [ -z "$said" ] || { echo "$said" | tee -a "$log"; skipped=$((skipped + $(wc -l <<<"$said"))); }
}

for lane in "${lanes[@]}"; do
    case $lane in
    native) run_native || failed=$((failed + 1)) ;;
    wine | e2e) run_lane "$lane" 8 ;;
    wine10 | e2e10) run_lane "${lane%10}" 10 ;;
    *) echo "unknown lane: $lane (native, wine, e2e, wine10, e2e10)"; exit 2 ;;
    esac
done

echo
echo "all lanes: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
