#!/usr/bin/env bash
# Runs every fuzz target of the native lane for as long as asked, from its committed
# corpus: scripts/fuzz.sh [seconds each, default 600]. Builds with clang into its own
# folder ($HUEBRICK_BUILD_DIR-fuzz, default build-fuzz); inputs found new go to a scratch
# folder there, and a failing input is saved there as crash-* / leak-* / timeout-*.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${1:-600}
build=$root/${HUEBRICK_BUILD_DIR:-build}-fuzz
cmake -S tests/native -B "$build" -DCMAKE_CXX_COMPILER=clang++ >/dev/null
failed=0
for source in tests/native/fuzz/*_fuzz.cpp; do
    name=$(basename "$source" .cpp)
    cmake --build "$build" --target "$name" -j"$(nproc)" >/dev/null
    work=$build/$name.long
    rm -rf "$work" && mkdir -p "$work/new"
    echo "== $name: $seconds s"
    if ! "$build/$name" -max_total_time="$seconds" -max_len=4096 -timeout=10 -artifact_prefix="$work/" \
            "$work/new" "tests/native/fuzz/corpus/${name%_fuzz}" >"$work/log" 2>&1; then
        failed=$((failed + 1))
        grep -E 'ERROR|runtime error|for text|Test unit written' "$work/log" | head -n 5
    fi
    tail -n 1 "$work/log"
done
[ "$failed" -eq 0 ]
