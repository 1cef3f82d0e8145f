#!/usr/bin/env bash
# Builds the release: out/huebrick-VERSION-win32.zip with the program, a sample skin and its
# mask, and the guide to making skins. Prints the sizes.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/build.sh" >/dev/null
python3 "$root/scripts/package.py" "$root/build/huebrick.exe" "${1:-$root/out}"
