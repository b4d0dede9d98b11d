#!/usr/bin/env bash
# Installs the Debian packages that are missing; safe to run again.
#   scripts/install-deps.sh          what the builds, the tests and the packages need
#   scripts/install-deps.sh --run    only what scripts/run.sh needs to build and run the program
#   ... --check                      install nothing: list what is missing, fail if anything is
# Installing needs root; without it the script says which command to run.
set -eu

# scripts/run.sh: the cross compiler, GoogleTest's sources (the win32 tree builds the
# end-to-end driver beside the program), Wine with its fonts (without them Wine draws the
# caption buttons as letters), and for the run without a display xvfb, xclip, xdpyinfo and
# ImageMagick's screenshot.
run_packages=(
    cmake make googletest
    mingw-w64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    wine wine64 fonts-wine xvfb xauth xclip x11-utils imagemagick
)
# Everything else of the builds, the tests and the Windows packages (qemu-user runs the
# UTF-8 conversions on an emulated processor without SSSE3).
packages=(
    g++ pkg-config python3
    libgtest-dev libgmock-dev libbenchmark-dev libicu-dev
    clang libclang-rt-dev
    nsis unzip
    libreoffice-writer-nogui
    qemu-user
)

wanted=("${run_packages[@]}")
check_only= option=
for a in "$@"; do
    case $a in
        --run) option=" --run" ;;
        --check) check_only=1 ;;
        *) echo "usage: $0 [--run] [--check]" >&2; exit 2 ;;
    esac
done
[ -n "$option" ] || wanted+=("${packages[@]}")

missing=()
for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Missing Debian packages: ${missing[*]}"
if [ -n "$check_only" ]; then
    exit 1
fi
if [ "$(id -u)" != 0 ]; then
    echo "Install them with:"
    echo "    sudo $0$option"
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
