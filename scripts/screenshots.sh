#!/usr/bin/env bash
# Screenshots of the main window at display scales, each in a Wine prefix of its own
# (LogPixels) on a private virtual display, into docs/main-window-<percent>.png:
#   scripts/screenshots.sh            100 % and 200 % (96 and 192 DPI)
#   scripts/screenshots.sh 120 144    any other DPIs
# The window shows a converted German text with its clipboard locale, so that the format
# list, the data display, the locale line and the locale picker's flag are filled in.
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
if [ -z "${PEL_SCREENSHOT_DISPLAY:-}" ]; then
    export PEL_SCREENSHOT_DISPLAY=1
    exec xvfb-run -a -s "-screen 0 1600x1200x24" "$0" "$@"
fi
scripts/install-deps.sh --run
build=${PEL_BUILD_DIR:-build/win32}
if [ "$build" = build/win32 ]; then
    cmake --preset win32 >/dev/null
fi
cmake --build "$build" --target pelimbrance pel_e2e_driver -j "${PEL_JOBS:-2}" >/dev/null
exe="$root/$build/src/app/pelimbrance.exe"
driver="$root/$build/tests/e2e/driver.exe"
runner="$root/cmake/wine-run.sh"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

text="Grüße aus Köln – 12 € à la carte"
dpis=("$@")
[ ${#dpis[@]} -gt 0 ] || dpis=(96 192)
for dpi in "${dpis[@]}"; do
    export WINEPREFIX="$root/$build/screenshot-prefix-dpi$dpi" PEL_WINE_DPI=$dpi
    "$runner" --init
    # Text on the clipboard at the start keeps the data display on.
    printf '%s' "$text" | xclip -selection clipboard -i >/dev/null 2>&1
    "$runner" "$exe" &
    program=$!
    # Puts the text with the German locale on the clipboard and lets the program convert it.
    "$runner" "$driver" --demo "$text" 0407 >/dev/null
    # The unmanaged window is the only thing on the black root window: trim cuts it out.
    shot="$root/docs/main-window-$((dpi * 100 / 96)).png"
    import -window root png:- | convert - -trim +repage "$shot"
    echo "$dpi DPI: $shot"
    "$runner" "$driver" --close >/dev/null || true
    wait "$program" 2>/dev/null || true
done
