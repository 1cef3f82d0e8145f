#!/usr/bin/env bash
# Builds everything and runs the three test lanes: native (sanitizers and fuzzing),
# Wine (GoogleTest against the real Win32 calls) and end to end (the real program
# under Xvfb). Name lanes to run only those: scripts/test.sh native wine e2e
# HUEBRICK_BUILD_DIR names another build folder (default build), so that several
# working copies of the suite can run side by side.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${HUEBRICK_BUILD_DIR:-build}
lanes=("$@")
[ ${#lanes[@]} -gt 0 ] || lanes=(native wine e2e)
bash scripts/setup.sh || exit 1

passed=0
failed=0
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

# Every C++ file in the house style (.clang-format); counted as one test.
check_format() {
    echo "== format: clang-format --dry-run --Werror"
    if git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror; then
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

# The program is built for 32-bit Windows; where this machine cannot run 32-bit code, the Wine
# lanes run a 64-bit build of the same sources (scripts/wine-env.sh), and the shipped 32-bit
# exe is still built and checked.
source scripts/wine-env.sh
cross=$build
if [ "$HUEBRICK_ARCH" != i686 ]; then
    cross=$build-$HUEBRICK_ARCH
    echo "note: this machine cannot run 32-bit x86 code (its kernel's IA-32 emulation is off): the Wine"
    echo "      and end-to-end lanes test the same sources built for $HUEBRICK_ARCH under 64-bit Wine"
fi

wine_started=""
start_wine() {
    [ -n "$wine_started" ] && return 0
    HUEBRICK_OWN_DISPLAY=1 wine_env_start "$root/$cross/test-prefix"
    wine_started=1
    trap wine_env_stop EXIT
    wine_keep_desktop "$root/$cross/tests/huebrick_testwindow.exe"
}

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

run_lane() {
    local label=$1
    echo "== $label lane"
    build_cross || { failed=$((failed + 1)); return; }
    start_wine
    (cd "$cross" && ctest --output-on-failure -L "^$label\$") 2>&1 | tee "$cross/ctest-$label.log"
    count "$cross/ctest-$label.log"
}

for lane in "${lanes[@]}"; do
    case $lane in
    native) run_native || failed=$((failed + 1)) ;;
    wine)   run_lane wine ;;
    e2e)    run_lane e2e ;;
    *) echo "unknown lane: $lane (native, wine, e2e)"; exit 2 ;;
    esac
done

echo
echo "all lanes: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
