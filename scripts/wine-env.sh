# Sourced by the run and test scripts: a throw-away Wine prefix and, when no display is
# given, an Xvfb display of our own. Everything started here is stopped by wine_env_stop.

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win32
unset WINELOADER

# Some machines cannot run 32-bit x86 code at all (a kernel without IA-32 emulation): neither
# 32-bit Wine nor a 32-bit program starts there. On such a machine the lanes run the same
# sources built as a 64-bit program (HUEBRICK_ARCH) under 64-bit Wine. So does Wine 10 on every
# machine (scripts/setup.sh says why); its root holds only the 64-bit Wine, which its wrapper takes.
HUEBRICK_ARCH=i686
if [ "${HUEBRICK_WINE:-8}" = 10 ] || { ! /usr/lib/wine/wineserver32 --version >/dev/null 2>&1 && [ -x /usr/lib/wine/wine64 ]; }; then
    HUEBRICK_ARCH=x86_64
    export WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64
    if [ "${HUEBRICK_WINE:-8}" != 10 ]; then
        wine_shims=$(mktemp -d)
        for name in wine wine-stable; do
            printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$wine_shims/$name"
            chmod +x "$wine_shims/$name"
        done
        export PATH="$wine_shims:$PATH"
    fi
fi
export HUEBRICK_ARCH

wine_env_start() {
    # $1: a folder for the prefix (it is wiped first).
    WINE_ENV_OWN_XVFB=""
    if [ -z "${DISPLAY:-}" ] || [ "${HUEBRICK_OWN_DISPLAY:-}" = 1 ]; then
        # The server picks a free display itself, so runs side by side never share one.
        local numberFile i
        numberFile=$(mktemp)
        Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$numberFile" >/dev/null 2>&1 &
        WINE_ENV_OWN_XVFB=$!
        for i in $(seq 1 200); do
            [ -s "$numberFile" ] && break
            sleep 0.05
        done
        export DISPLAY=":$(tr -dc 0-9 <"$numberFile")"
        rm -f "$numberFile"
    fi
    export WINEPREFIX="$1"
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    wineboot -i >/dev/null 2>&1
    # Without a window manager, unmanaged windows avoid 2-second waits on hide and destroy.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    wineserver -w
    # A persistent server keeps later starts fast.
    wineserver -p
}

wine_keep_desktop() {
    # $1: the test window program. Wine closes its desktop a moment after the last program on it
    # ends, and a program starting at that moment gets no window (about one start in thirty,
    # measured). A hidden window of a program left running keeps the desktop open; the one that
    # keeps it may itself meet a closing desktop, so a start without a window is tried again.
    local attempt i
    for attempt in 1 2 3; do
        xdotool search --name '^keeps the desktop$' >/dev/null && return 0
        wine "$1" 0 0 0 0 000000/000000/000000/000000 "keeps the desktop" >/dev/null 2>&1 &
        for i in $(seq 1 450); do
            xdotool search --name '^keeps the desktop$' >/dev/null && return 0
            sleep 0.1
        done
        kill $! 2>/dev/null
    done
    echo "no window to keep Wine's desktop open" >&2
    return 1
}

wine_set_dpi() {
    # $1: the display's DPI, $2: the test window program. Wine 8 reads LogPixels when a process
    # starts, Wine 10 when the prefix's desktop starts: the server and the desktop start again on
    # a new value. Output goes to files or nowhere: Wine's helpers and the persistent server keep
    # a pipe open (a caller's, ctest's) long after.
    local now
    now=$(mktemp)
    wine reg query 'HKCU\Control Panel\Desktop' /v LogPixels >"$now" 2>/dev/null
    now=$(tr -d '\r' <"$now" | sed -n 's/.*REG_DWORD *0x//p'; rm -f "$now")
    [ "$((16#${now:-60}))" = "$1" ] && return 0
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 || return 1
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
    wineserver -p >/dev/null 2>&1
    wine_keep_desktop "$2"
}

wine_env_stop() {
    if [ -n "${WINEPREFIX:-}" ]; then
        wineserver -k >/dev/null 2>&1 || true
    fi
    if [ -n "${WINE_ENV_OWN_XVFB:-}" ]; then
        kill "$WINE_ENV_OWN_XVFB" 2>/dev/null || true
        wait "$WINE_ENV_OWN_XVFB" 2>/dev/null || true
    fi
}
