#!/usr/bin/env bash
# Runs a Windows program of the cross build under Wine, in the prefix named by WINEPREFIX
# (created on first use). "--init" only creates the prefix.
#   PEL_WINE_MANAGED=Y  the window manager of a real desktop frames the windows (scripts/run.sh
#                       on a display); otherwise windows are unmanaged, as the tests and the
#                       virtual displays want them.
#   PEL_WINE_DPI=N      the prefix's display scale in dots per inch (LogPixels), 96 unless
#                       given; one prefix per scale, since Wine reads it when it starts.
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
        # Debian's Wine does not look for its own fonts (fonts-wine) in its data folder, only
        # in the prefix's Fonts folder: without them the caption buttons show letters in place
        # of Marlett's symbols, and the dialogs' "MS Sans Serif" falls back to a wider font
        # that cuts labels. Linked there, it gets Wine's bitmap MS Sans Serif, as Windows
        # gets its own for that font name and size.
        fonts="$WINEPREFIX/drive_c/windows/Fonts"
        for data in /usr/share/wine/fonts /usr/local/share/wine/fonts; do
            if [ -d "$data" ] && [ -d "$fonts" ] && [ ! -e "$fonts/marlett.ttf" ]; then
                for f in "$data"/*; do
                    [ -e "$fonts/$(basename "$f")" ] || ln -s "$f" "$fonts/"
                done
            fi
        done
        # Without a window manager (xvfb) Wine waits 2 s for each managed window to be
        # withdrawn when it closes; unmanaged windows close at once. On a real desktop
        # unmanaged windows get no frame and no taskbar entry.
        managed=${PEL_WINE_MANAGED:-N}
        if [ "$(cat "$WINEPREFIX/.pel-managed" 2>/dev/null)" != "$managed" ]; then
            "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$managed" /f \
                >/dev/null 2>&1
            wineserver -w 2>/dev/null || true
            echo "$managed" > "$WINEPREFIX/.pel-managed"
        fi
        dpi=${PEL_WINE_DPI:-96}
        if [ "$(cat "$WINEPREFIX/.pel-dpi" 2>/dev/null || echo 96)" != "$dpi" ]; then
            "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
                >/dev/null 2>&1
            wineserver -w 2>/dev/null || true
            echo "$dpi" > "$WINEPREFIX/.pel-dpi"
        fi
    ) 9>"$WINEPREFIX.lock"
}

init_prefix
if [ "${1:-}" = "--init" ]; then
    exit 0
fi
exec "$wine" "$@"
