# Sourced by scripts/test.sh: the Debian 13 root with Wine 10 that scripts/setup.sh builds. The
# test run enters a mount namespace of its own, in which the root shares the host's /proc, /sys,
# /dev, /tmp (the X servers' sockets, scratch files) and the clone and build folders at their
# own paths; the mounts end with the run's last process, however it ends.
export HUEBRICK_WINE10_ROOT=${HUEBRICK_WINE10_ROOT:-/var/cache/huebrick/wine10}

# Runs the calling script again ("$0" "$@") in its own mount namespace, unless it runs in one.
wine10_enter() {
    [ -n "${HUEBRICK_WINE10_MOUNTED:-}" ] && return 0
    HUEBRICK_WINE10_MOUNTED=1 exec unshare --mount --propagation private bash "$@"
}

# $@: folders the root shares at their own paths.
wine10_mount() {
    local r=$HUEBRICK_WINE10_ROOT folder
    mountpoint -q "$r/proc" && return 0
    mount --bind /proc "$r/proc" && mount --bind /sys "$r/sys" && mount --rbind /dev "$r/dev" &&
        mount --bind /tmp "$r/tmp" || return 1
    for folder in "$@"; do
        case $folder in /tmp/*) continue ;; esac
        mkdir -p "$r$folder" && mount --bind "$folder" "$r$folder" || return 1
    done
}

# Wine 10 for the commands started from now on: wine, wineserver and wineboot run in the root.
wine10_use() {
    PATH="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine10:$PATH"
}
