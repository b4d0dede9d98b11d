#!/usr/bin/env bash
# Checks the zip and the installer that CPack wrote, in a fresh Wine prefix of their own (code
# page 1252): the zip holds exactly the program, okctool, its data files, the help page, the
# README and the licences; unpacked into "Программы 日本 ☃" it converts a clipboard text
# without loading a riched20.dll planted beside it, and okctool works there; the installer
# (/S /D=) puts the same files, a Start menu entry and an uninstaller into such a folder,
# the installed exe converts a text, and the silent uninstall leaves nothing behind.
#   package-test.sh BUILD_DIR VERSION SOURCE_DIR DRIVER_EXE WORK_DIR PLANTED_DLL
set -u
build=$1 version=$2 source=$3 driver=$4 work=$5 planted=$6
# Wine takes Linux paths and arguments in the locale's character set.
export LC_ALL=C.UTF-8
unicode_name='Программы 日本 ☃'
here=$(cd "$(dirname "$0")" && pwd)
runner="$here/../../cmake/wine-run.sh"
e2e="$here/../e2e/run-e2e.sh"
zip="$build/Pelimbrance-$version-win64.zip"
setup="$build/Pelimbrance-$version-win64-setup.exe"

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

fails=0
check() {
    if [ "$1" = 0 ]; then echo "ok:   $2"; else echo "FAIL: $2"; fails=$((fails + 1)); fi
}
for package in "$zip" "$setup"; do
    if [ ! -f "$package" ] || [ "$package" -ot "$build/src/app/pelimbrance.exe" ]; then
        echo "FAIL: $package is missing or older than pelimbrance.exe;" \
            "build it with: cmake --build --preset win32 --target package"
        exit 1
    fi
done

# What the program reads (every data file), its help page, and what a package must carry.
expected=$(
    {
        echo pelimbrance.exe
        echo okctool.exe
        (cd "$source/data" && ls -- *.okc *.oku Locales.def)
        echo pelimbrance.html
        echo README.txt
        (cd "$source/packaging" && ls -- licences/*)
    } | sort
)
same_files() {  # same_files LABEL ACTUAL_LIST
    if [ "$2" = "$expected" ]; then
        check 0 "$1 holds exactly the $(echo "$expected" | wc -l) files the program needs"
    else
        check 1 "$1 holds exactly the files the program needs; differences (< expected, > found):"
        diff <(echo "$expected") <(echo "$2") | grep '^[<>]'
    fi
}

rm -rf "$work"
mkdir -p "$work"
export WINEPREFIX="$work/prefix"
"$runner" --init
"$runner" reg query 'HKLM\System\CurrentControlSet\Control\Nls\CodePage' /v ACP | grep -q 'REG_SZ *1252'
check $? "the prefix's ANSI code page is 1252"
windows_path() { local path=${1//\//\\}; echo "Z:$path"; }  # Wine's Z: is the Linux root

# The zip: one top folder named after the package, the files flat inside it.
top=Pelimbrance-$version-win64
listing=$(unzip -Z1 "$zip" | grep -v '/$' | sed "s|^$top/||" | sort)
same_files "the zip" "$listing"
unpacked="$work/$unicode_name"
unzip -q "$zip" -d "$unpacked"
check $? "the zip unpacks into $unicode_name"
# Wine told to take a DLL found beside the exe before its own, as Windows would.
cp "$planted" "$unpacked/$top/riched20.dll"
WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=};riched20=n,b" \
    "$e2e" "$unpacked/$top/pelimbrance.exe" - - -- wine-run "$driver"
check $? "the unpacked exe converts a clipboard text (driver above)"
[ ! -e "$unpacked/$top/planted-dll-was-loaded" ]
check $? "the exe did not load the riched20.dll planted beside it"
listed=$("$runner" "$unpacked/$top/okctool.exe" list 2>/dev/null | tr -d '\r' |
    awk '{ print $1 }' | sort)
[ "$listed" = "$(cd "$source/data" && ls -- *.okc | sed 's/\.okc$//' | sort)" ]
check $? "okctool list in the unpacked zip names the package's tables"
text='Ёлка, снег и «ёж» — 2024' && iconv -t CP1251 <<<"$text" >"$unpacked/письмо.txt"
"$runner" "$unpacked/$top/okctool.exe" decode "$(windows_path "$unpacked/$top/windows-1251.okc")" \
    "$(windows_path "$unpacked/письмо.txt")" -o "$(windows_path "$unpacked/☃.txt")"
cmp -s "$unpacked/☃.txt" <(iconv -t UTF-16LE <<<"$text")
check $? "okctool decodes between files named in Cyrillic, CJK and symbols as iconv does"

# The installer, silently, as a user with administrator rights installs it, into a folder
# of the same name. NSIS takes /D= only last and unquoted: cmd passes the line on whole.
"$runner" cmd /c "$(windows_path "$setup") /S /D=C:\\$unicode_name\\Pelimbrance"
check $? "the installer runs with /S /D=C:\\$unicode_name\\Pelimbrance"
wineserver -w
installed="$WINEPREFIX/drive_c/$unicode_name/Pelimbrance"
[ -d "$installed" ]
check $? "the installer made $installed"
same_files "the install folder" "$(cd "$installed" 2>/dev/null && find . -type f ! -name Uninstall.exe | sed 's|^\./||' | sort)"
[ -f "$installed/Uninstall.exe" ]
check $? "the install folder holds the uninstaller"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Pelimbrance"
[ -f "$menu/Pelimbrance.lnk" ]
check $? "the Start menu holds Pelimbrance.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pelimbrance'
"$runner" reg query "$key" /v DisplayVersion 2>/dev/null | grep -q "REG_SZ *$version"
check $? "the uninstall entry shows version $version"
"$e2e" "$installed/pelimbrance.exe" - - -- wine-run "$driver"
check $? "the installed exe converts a clipboard text (driver above)"

# The uninstaller copies itself away and starts that copy; wait for every process to end.
wineserver -w
"$runner" "C:\\$unicode_name\\Pelimbrance\\Uninstall.exe" /S
check $? "the uninstaller runs with /S"
wineserver -w
left=$(find "$installed" "$menu" 2>/dev/null)
[ -z "$left" ]
check $? "the uninstaller removed every installed file and the Start menu entry${left:+: left }$left"
! "$runner" reg query "$key" >/dev/null 2>&1
check $? "the uninstall entry is gone"

[ $fails = 0 ] && echo PASS || echo "FAILED: $fails check(s)"
[ $fails = 0 ]
