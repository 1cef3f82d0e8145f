#!/usr/bin/env bash
# Builds Huebrick and runs it under Wine. Without a display it starts Xvfb, saves a
# screenshot once the window is up and says where; with a display it runs until closed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/build.sh"
source "$root/scripts/wine-env.sh"
exe="$root/build/huebrick.exe"
[ "$HUEBRICK_ARCH" = i686 ] || exe="$root/build-$HUEBRICK_ARCH/huebrick.exe" # no 32-bit code here

if [ -n "${DISPLAY:-}" ]; then
    export WINEPREFIX="${WINEPREFIX:-$HOME/.wine-huebrick}"
    [ -d "$WINEPREFIX" ] || { wineboot -i >/dev/null 2>&1; wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1; }
    exec wine "$exe"
fi

out="$root/out"
mkdir -p "$out"
trap wine_env_stop EXIT
wine_env_start "$out/wineprefix"
wine "$exe" &
program=$!
for i in $(seq 1 300); do
    xdotool search --name ' - Huebrick$' >/dev/null 2>&1 && break
    sleep 0.05
done
sleep 1.5   # past the one-second splash, so the colour shows
import -window root "$out/screenshot.png"
echo "Huebrick started on the Xvfb display $DISPLAY; screenshot saved to $out/screenshot.png"
xdotool search --name ' - Huebrick$' windowfocus --sync key ctrl+q >/dev/null 2>&1 || true
wait "$program" || true
