#!/usr/bin/env bash
# Builds huebrick.exe, the Wine test program and the benchmarks into build/ (and, where this
# machine cannot run 32-bit code, the same for x86_64 into build-x86_64/).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh
cmake -S . -B build -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)" >/dev/null
echo "built $root/build/huebrick.exe ($(stat -c %s build/huebrick.exe) bytes)"
# A machine that cannot run 32-bit code runs the same sources built for x86_64 under Wine.
source scripts/wine-env.sh
if [ "$HUEBRICK_ARCH" != i686 ]; then
    cmake -S . -B "build-$HUEBRICK_ARCH" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DHUEBRICK_ARCH="$HUEBRICK_ARCH" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "build-$HUEBRICK_ARCH" -j"$(nproc)" >/dev/null
    echo "built $root/build-$HUEBRICK_ARCH/huebrick.exe, which Wine runs here: this machine runs no 32-bit code"
fi
