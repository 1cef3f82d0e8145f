#!/usr/bin/env bash
# Installs what building, running and testing Huebrick needs from Debian's packages, and builds
# the Debian 13 root whose Wine 10 runs the Wine and end-to-end lanes a second time.
# Does nothing when everything is already there.
set -euo pipefail

need=()
have_cmd() { command -v "$1" >/dev/null 2>&1; }
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

have_cmd cmake                        || need+=(cmake)
have_cmd make                         || need+=(make)
have_cmd g++                          || need+=(g++)
have_cmd clang                        || need+=(clang)
have_pkg libclang-rt-14-dev           || have_pkg libclang-rt-dev || need+=(libclang-rt-dev)
have_pkg googletest                   || need+=(googletest)
have_pkg libgtest-dev                 || need+=(libgtest-dev)
have_cmd i686-w64-mingw32-g++-posix   || need+=(g++-mingw-w64-i686-posix)
have_cmd i686-w64-mingw32-windres     || need+=(binutils-mingw-w64-i686)
have_cmd x86_64-w64-mingw32-g++-posix || need+=(g++-mingw-w64-x86-64-posix)  # the Wine 10 lanes' build
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
have_cmd debootstrap                  || need+=(debootstrap)          # the Wine 10 root below

install() {
    if [ "$(id -u)" -ne 0 ]; then
        echo "setup: missing: $*; run this script as root (or with sudo)" >&2
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
# build under 64-bit Wine instead (scripts/wine-env.sh). Wine 10 runs the 64-bit build on every
# machine: Debian 13's 32-bit Wine 10 now and then leaves its wineserver spinning for ever, busy
# without a system call, and every Wine program waits on it.
wine10_packages="trixie: wine wine64 libxinerama1 libxrandr2 libxi6 fonts-dejavu-core clang-format"
if ! /usr/lib/wine/wineserver32 --version >/dev/null 2>&1 && [ ! -x /usr/lib/wine/wine64 ]; then
    install wine64
fi

# Wine 10 runs from a Debian 13 root kept outside the clone (scripts/wine10.sh enters it), one per
# machine. The stamp in it names its release and packages: another list builds it again. Wine's
# X libraries are only recommended: Xinerama for two monitors, XInput2 for clipping the pointer
# (without it Wine 10 asks again and again to clip it to a full-screen window, busy for ever).
wine10_root=${HUEBRICK_WINE10_ROOT:-/var/cache/huebrick/wine10}
wine10_stamp=$(sha256sum <<<"$wine10_packages" | cut -c1-16)
wine10_ready() { [ "$(cat "$wine10_root/huebrick-stamp" 2>/dev/null)" = "$wine10_stamp" ]; }
wine10_ready && exit 0
[ "$(id -u)" -eq 0 ] || install "the Wine 10 root at $wine10_root"
export DEBIAN_FRONTEND=noninteractive

if ! wine10_ready; then
    # Built beside its place and renamed into it when whole: an interrupted build is never taken
    # for a root. Its own mount namespace takes along whatever debootstrap mounted, however it ends.
    # The machine's own Debian mirror: nothing else may be reachable.
    mirror=${HUEBRICK_DEBIAN_MIRROR:-$(shopt -s nullglob
        awk '!/^[[:space:]]*#/ { for (i = 1; i <= NF; i++) if ($i ~ /^https?:\/\/.*\/debian\/?$/) print $i }' \
            /etc/apt/sources.lis[t] /etc/apt/sources.list.d/*.sources /etc/apt/sources.list.d/*.list /dev/null | sed -n 1p)}
    echo "setup: building the Wine 10 root at $wine10_root from $mirror (a few minutes, once)"
    started=$SECONDS
    new="$wine10_root.new"
    rm -rf --one-file-system "$new"
    mkdir -p "$new"
    read -r -a packages <<<"${wine10_packages#*:}"
    unshare -m --propagation private bash -euo pipefail -c '
        new=$1 mirror=$2; shift 2
        debootstrap --variant=minbase trixie "$new" "$mirror" >"$new.log" 2>&1 ||
            { tail -n 20 "$new.log" >&2; exit 1; }
        mount -t proc proc "$new/proc"
        chroot "$new" dpkg --add-architecture i386
        chroot "$new" apt-get update -qq
        chroot "$new" apt-get install -y -qq --no-install-recommends "$@" >"$new.log" 2>&1 ||
            { tail -n 20 "$new.log" >&2; exit 1; }
        chroot "$new" apt-get clean
        umount "$new/proc"' - "$new" "$mirror" "${packages[@]}"
    rm -f "$new.log"
    echo "$wine10_stamp" >"$new/huebrick-stamp"
    rm -rf --one-file-system "$wine10_root.old"
    [ ! -e "$wine10_root" ] || mv "$wine10_root" "$wine10_root.old"
    mv "$new" "$wine10_root"
    rm -rf --one-file-system "$wine10_root.old"
    echo "setup: the Wine 10 root built in $(((SECONDS - started + 30) / 60)) minutes"
fi
