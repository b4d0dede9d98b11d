#!/usr/bin/env bash
# LibreOffice reads the document that the end-to-end run took from the clipboard, as a
# paste into it would, and must give back the copied text.
#   libreoffice-paste.sh RTF_FILE
set -u
command -v soffice >/dev/null || { echo "soffice is not installed"; exit 77; }
rtf=$1
[ -s "$rtf" ] || { echo "FAIL: the end-to-end run left no document $rtf"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$rtf" "$work/paste.rtf"
soffice "-env:UserInstallation=file://$work/profile" --headless \
    --convert-to 'txt:Text (encoded):UTF8' --outdir "$work" "$work/paste.rtf" \
    >"$work/log" 2>&1 || { cat "$work/log"; exit 1; }
# The export starts with a byte order mark and ends the paragraph with a line feed.
printf '\xef\xbb\xbfx\xf0\x9f\x98\x80{y}\\z\n' >"$work/expected"
cmp -s "$work/paste.txt" "$work/expected" ||
    { echo "FAIL: LibreOffice reads back $(od -An -c "$work/paste.txt")"; exit 1; }
echo "ok: LibreOffice reads the converted block back as the copied text"
