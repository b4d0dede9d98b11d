#!/usr/bin/env bash
# Builds pelimbrance.exe with its data files and runs it under Wine.
#
# On a desktop (DISPLAY set and reachable) the window opens there and the program runs
# until you close it; copy text in any program and it is converted once you switch
# Auto-convert on.
#
# Without a display a virtual one is started: the program is switched to Auto-convert, a
# sample text is copied from the Linux side (xclip), the program converts it, and the
# script prints what the clipboard then holds and where it saved a screenshot.
#   PEL_SAMPLE_TEXT   the text to copy (default: a German sentence with the euro sign)
# Needs no root: when Debian packages are missing it names the command that installs them.
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
if [ "$(id -u)" = 0 ] && [ -n "${SUDO_USER:-}" ] && [ "$SUDO_USER" != root ]; then
    # "sudo scripts/run.sh": install as root, then build and run as the user, so that the
    # build tree and the Wine prefix stay the user's own.
    scripts/install-deps.sh --run
    exec sudo -u "$SUDO_USER" env HOME="$(getent passwd "$SUDO_USER" | cut -d: -f6)" \
        ${DISPLAY:+DISPLAY="$DISPLAY"} ${XAUTHORITY:+XAUTHORITY="$XAUTHORITY"} \
        ${PEL_BUILD_DIR:+PEL_BUILD_DIR="$PEL_BUILD_DIR"} \
        ${PEL_SAMPLE_TEXT:+PEL_SAMPLE_TEXT="$PEL_SAMPLE_TEXT"} "$root/scripts/run.sh"
fi
# Installs only as root; otherwise prints the sudo line and fails when something is missing.
scripts/install-deps.sh --run
build=${PEL_BUILD_DIR:-build/win32}
jobs=${PEL_JOBS:-2}

if [ "$build" = build/win32 ]; then
    cmake --preset win32 >/dev/null
else
    cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
fi
cmake --build "$build" --target pelimbrance pel_e2e_driver -j "$jobs" >/dev/null
exe="$root/$build/src/app/pelimbrance.exe"
driver="$root/$build/tests/e2e/driver.exe"
runner="$root/cmake/wine-run.sh"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

has_display() { [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; }

if [ -z "${PEL_RUN_HEADLESS:-}" ] && has_display; then
    export WINEPREFIX=${WINEPREFIX:-$root/$build/run-prefix}
    # The window manager frames the window and gives it a taskbar entry.
    export PEL_WINE_MANAGED=Y
    echo "Starting $exe under Wine on $DISPLAY (prefix $WINEPREFIX)"
    exec "$runner" "$exe"
fi

if [ -z "${PEL_RUN_HEADLESS:-}" ]; then
    echo "No display: starting a virtual one."
    export PEL_RUN_HEADLESS=1
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

# On the virtual display. Wine draws the window frames itself in a virtual desktop, so
# the screenshot shows the caption; its own prefix keeps that setting out of other runs.
export WINEPREFIX=$root/$build/run-prefix-virtual
"$runner" --init
"$runner" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
"$runner" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 900x600 /f >/dev/null 2>&1
# The desktop process started by "reg" must end so that the program gets a new one.
wineserver -w

# Another program copies a text; Wine's clipboard bridge hands it to the Windows side.
sample=${PEL_SAMPLE_TEXT:-"Grüße aus Köln – 12 € à la carte; Ā is not in windows-1252"}
echo "Copying from the Linux side (xclip): $sample"
printf '%s' "$sample" | xclip -selection clipboard -i >/dev/null 2>&1

"$runner" "$exe" &
program=$!
trap 'kill $program 2>/dev/null || true' EXIT

echo "Switching Auto-convert on (check box 1006), which converts the clipboard at once:"
"$runner" "$driver" --auto | grep -v '^PASS' || true
echo
"$runner" "$driver" --show | grep -vE '^(ok:|PASS)' || true

shot="$root/$build/pelimbrance-window.png"
import -window root "$shot"
echo
echo "Screenshot of the window: $shot"

"$runner" "$driver" --close >/dev/null || true
wait "$program" 2>/dev/null || true
trap - EXIT
