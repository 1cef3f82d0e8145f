#!/usr/bin/env bash
# Installs what building, running and testing Huebrick needs from Debian's packages.
# Does nothing when everything is already there.
set -euo pipefail

need=()
have_cmd() { command -v "$1" >/dev/null 2>&1; }
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

have_cmd cmake                        || need+=(cmake)
have_cmd make                         || need+=(make)
have_cmd g++                          || need+=(g++)
have_cmd clang                        || need+=(clang)
have_cmd clang-format                 || need+=(clang-format)
have_pkg libclang-rt-14-dev           || have_pkg libclang-rt-dev || need+=(libclang-rt-dev)
have_pkg googletest                   || need+=(googletest)
have_pkg libgtest-dev                 || need+=(libgtest-dev)
have_cmd i686-w64-mingw32-g++-posix   || need+=(g++-mingw-w64-i686-posix)
have_cmd i686-w64-mingw32-windres     || need+=(binutils-mingw-w64-i686)
have_cmd wine                         || need+=(wine)
have_pkg wine32:i386                  || need+=(wine32:i386)
have_cmd Xvfb                         || need+=(xvfb)
have_cmd xdotool                      || need+=(xdotool)
have_cmd xclip                        || need+=(xclip)
have_cmd xwininfo                     || need+=(x11-utils)
have_cmd Xephyr                       || need+=(xserver-xephyr)       # two monitors, nested in Xvfb
have_pkg libxinerama1:i386            || need+=(libxinerama1:i386)    # so 32-bit Wine sees them
[ -x /usr/bin/convert ] && [ -x /usr/bin/import ] || need+=(imagemagick)
have_cmd python3                      || need+=(python3)
have_cmd zip                          || need+=(zip)
have_cmd unzip                        || need+=(unzip)

install() {
    if [ "$(id -u)" -ne 0 ]; then
        echo "setup: missing packages: $*; run this script as root (or with sudo)" >&2
        exit 1
    fi
    echo "setup: installing $*"
    export DEBIAN_FRONTEND=noninteractive
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386
    fi
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "$@" >/dev/null
}
[ ${#need[@]} -eq 0 ] || install "${need[@]}"

# A machine that cannot run 32-bit x86 code (no IA-32 emulation in its kernel) tests a 64-bit
# build under 64-bit Wine instead (scripts/wine-env.sh).
if ! /usr/lib/wine/wineserver32 --version >/dev/null 2>&1; then
    need=()
    have_cmd x86_64-w64-mingw32-g++-posix || need+=(g++-mingw-w64-x86-64-posix)
    [ -x /usr/lib/wine/wine64 ]           || need+=(wine64)
    [ ${#need[@]} -eq 0 ] || install "${need[@]}"
fi
