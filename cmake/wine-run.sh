#!/usr/bin/env bash
# Runs a Windows program of the cross build under Wine, in the prefix named by WINEPREFIX
# (created on first use). "--init" only creates the prefix.
set -u
: "${WINEPREFIX:?WINEPREFIX must name the prefix folder}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEARCH=win64
wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)

init_prefix() {
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/.pel-ready" ]; then
            "$wine" wineboot -i >/dev/null 2>&1
            wineserver -w 2>/dev/null || true
            touch "$WINEPREFIX/.pel-ready"
        fi
        if [ ! -f "$WINEPREFIX/.pel-unmanaged" ]; then
            # Without a window manager (xvfb) Wine waits 2 s for each managed window to be
            # withdrawn when it closes; unmanaged windows close at once.
            "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
            wineserver -w 2>/dev/null || true
            touch "$WINEPREFIX/.pel-unmanaged"
        fi
    ) 9>"$WINEPREFIX.lock"
}

init_prefix
if [ "${1:-}" = "--init" ]; then
    exit 0
fi
exec "$wine" "$@"
