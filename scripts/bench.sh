#!/usr/bin/env bash
# Builds and runs the benchmark programs under Wine on an Xvfb display of their own and
# prints their figures. Nothing here passes or fails on speed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/build.sh >/dev/null
source scripts/wine-env.sh
dir=build
[ "$HUEBRICK_ARCH" = i686 ] || dir=build-$HUEBRICK_ARCH # no 32-bit code on this machine
trap wine_env_stop EXIT
HUEBRICK_OWN_DISPLAY=1 wine_env_start "$root/build/bench-prefix"
wine reg add 'HKCU\Software\Vexel\Huebrick' /v splashScreen /t REG_DWORD /d 1 /f >/dev/null 2>&1
for bench in "$dir"/bench/*_bench.exe; do
    echo "== $(basename "$bench" .exe)"
    case $bench in
    *startup_bench.exe) wine "$bench" "$(winepath -w "$dir/huebrick.exe")" "$(winepath -w "$dir/bench/minimal_window.exe")" ;;
    *) wine "$bench" ;;
    esac
done
