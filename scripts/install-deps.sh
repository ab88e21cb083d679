#!/usr/bin/env bash
# Installs what a Debian 12 machine lacks to build, run and test Vintorel, and nothing else:
# only missing packages are installed, so running it again does nothing.
#   scripts/install-deps.sh          build and run
#   scripts/install-deps.sh --test   also what the tests need (Xvfb, xdotool, MinGW-w64, ...)
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev libxkbcommon-dev
    libopenal-dev libopenal1
    libflac-dev libdvbv5-dev libudev-dev libxcb1-dev
    libgtest-dev libgmock-dev libbenchmark-dev libx11-dev
    fonts-dejavu-core fonts-liberation2
)
if [ "${1:-}" = "--test" ]; then
    packages+=(xvfb xauth xdotool x11-utils imagemagick python3 clang-format
               g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
               g++-mingw-w64-i686-posix binutils-mingw-w64-i686
               wine wine64 nsis zip unzip clang libclang-rt-14-dev
               qemu-system-x86 busybox-static kmod linux-headers-amd64 make xz-utils
               debhelper dpkg-dev lintian appstream desktop-file-utils debootstrap)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Vintorel needs these Debian packages: ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
    echo "Install them with:"
    echo "  sudo apt-get install -y ${missing[*]}"
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
