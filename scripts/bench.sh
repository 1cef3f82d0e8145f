#!/usr/bin/env bash
# Builds and runs the benchmark programs under Wine on an Xvfb display of their own and
# prints their figures. Nothing here passes or fails on speed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/build.sh >/dev/null
source scripts/wine-env.sh
trap wine_env_stop EXIT
HUEBRICK_OWN_DISPLAY=1 wine_env_start "$root/build/bench-prefix"
wine reg add 'HKCU\Software\Vexel\Huebrick' /v splashScreen /t REG_DWORD /d 1 /f >/dev/null 2>&1
for bench in build/bench/*_bench.exe; do
    echo "== $(basename "$bench" .exe)"
    case $bench in
    *startup_bench.exe) wine "$bench" "$(winepath -w build/huebrick.exe)" "$(winepath -w build/bench/minimal_window.exe)" ;;
    *) wine "$bench" ;;
    esac
done
