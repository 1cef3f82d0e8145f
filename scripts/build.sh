#!/usr/bin/env bash
# Builds huebrick.exe, the Wine test program and the benchmarks into build/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh
cmake -S . -B build -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)" >/dev/null
echo "built $root/build/huebrick.exe ($(stat -c %s build/huebrick.exe) bytes)"
