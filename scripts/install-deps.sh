#!/usr/bin/env bash
# Installs what the builds, tests and the run command need, when it is missing.
# Debian packages only; safe to run again.
set -eu
packages=(
    cmake make g++ pkg-config python3
    googletest libgtest-dev libgmock-dev libbenchmark-dev libicu-dev
    mingw-w64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    wine wine64 xvfb xauth xclip x11-utils imagemagick
    clang libclang-rt-14-dev
    libreoffice-writer-nogui
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
