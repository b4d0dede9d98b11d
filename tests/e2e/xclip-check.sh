#!/usr/bin/env bash
# The program converts what a Linux program copies: xclip puts UTF-8 text on the X11
# clipboard, Wine's clipboard bridge hands it to the running program (Auto-convert on),
# and the driver reads the converted formats from the Windows side.
#   xclip-check.sh WINE_RUNNER DRIVER_EXE
#
# Wine does not hand the converted formats back to X11: the bridge imported the text, so it
# owns the Windows clipboard and takes the program's additions for its own. The X11 side
# therefore keeps offering what xclip copied, which is checked too.
set -u
runner=$1 driver=$2
text='Grüße € Ā ok'
fails=0
check() {
    if [ "$1" = 0 ]; then echo "ok:   $2"; else echo "FAIL: $2"; fails=$((fails + 1)); fi
}

# Auto-convert on, with one conversion done, so that the next change is converted at once.
"$runner" "$driver" --demo "ready" >/dev/null
check $? "Auto-convert is on and the program converts"

# xclip stays in the background to serve the selection; it must not hold our output open.
printf '%s' "$text" | xclip -selection clipboard -i >/dev/null 2>&1

"$runner" "$driver" --check "$text" 'Gr\xFC\xDFe \x80 ? ok'
check $? "the copied text was converted through windows-1252"

back=$(xclip -o -selection clipboard -t UTF8_STRING 2>/dev/null || true)
[ "$back" = "$text" ]
check $? "the X11 clipboard still offers the copied text ('$back')"

"$runner" "$driver" --close >/dev/null
check $? "the program closes"
[ $fails = 0 ] && echo PASS || echo "FAILED: $fails check(s)"
[ $fails = 0 ]
