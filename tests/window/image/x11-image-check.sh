#!/usr/bin/env bash
# A picture copied in a Linux program reaches the program through Wine's clipboard bridge:
# xclip offers a BMP file on the X11 clipboard and the test program saves it.
#   x11-image-check.sh WINE_RUNNER TEST_EXE WORK_DIR
set -u
runner=$1 exe=$2 work=$3
mkdir -p "$work"
source="$work/x11-source.bmp"
if ! convert -size 9x6 gradient:'#ff2000-#0030ff' -type TrueColor "bmp3:$source"; then
    echo "SKIP: ImageMagick can't write the source picture"
    exit 0
fi
xclip -quiet -selection clipboard -t image/bmp -i "$source" >/dev/null 2>&1 &
xclip_pid=$!
trap 'kill "$xclip_pid" 2>/dev/null' EXIT
PEL_X11_IMAGE_SOURCE="Z:${source//\//\\}" "$runner" "$exe" --gtest_brief=1 \
    --gtest_filter='X11ClipboardImage.*' --gtest_also_run_disabled_tests
