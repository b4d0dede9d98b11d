#!/usr/bin/env bash
# Adds Pelimbrance to your desktop's application menu: a desktop entry that starts
# scripts/run.sh of this checkout (which builds what is missing and runs the program under
# Wine), with the program's icon. Per user, no root; --remove takes both away again.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
data=${XDG_DATA_HOME:-$HOME/.local/share}
entry="$data/applications/pelimbrance.desktop"
icon="$data/icons/hicolor/48x48/apps/pelimbrance.png"

if [ "${1:-}" = --remove ]; then
    rm -f "$entry" "$icon"
    echo "Removed $entry and $icon"
    exit 0
fi

mkdir -p "$(dirname "$entry")" "$(dirname "$icon")"
# The 48-pixel image of the program's icon.
convert "$root/resources/pelimbrance.ico" -delete 0--2 "$icon" 2>/dev/null ||
    convert "$root/resources/pelimbrance.ico[0]" -resize 48x48 "$icon"
# Inside a quoted Exec argument \ " ` $ take a backslash, and the file's string escaping
# doubles every backslash once more; % doubles.
exec_path=$(printf '%s' "$root" |
    sed -e 's/\\/\\\\\\\\/g' -e 's/["`$]/\\\\&/g' -e 's/%/%%/g')
cat > "$entry" <<DESKTOP
[Desktop Entry]
Type=Application
Name=Pelimbrance
GenericName=Clipboard code set converter
Comment=Lists the clipboard's formats and converts its text between code sets (runs under Wine)
Exec="$exec_path/scripts/run.sh"
Icon=pelimbrance
Terminal=false
Categories=Utility;
DESKTOP
command -v update-desktop-database >/dev/null && update-desktop-database "$data/applications" || true
echo "Added $entry (starts $root/scripts/run.sh) and $icon"
