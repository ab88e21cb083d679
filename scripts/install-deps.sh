#!/usr/bin/env bash
# Installs what a Debian 12 machine lacks to build, run and test Vintorel, and nothing else:
# only missing packages are installed, so running it again does nothing.
#   scripts/install-deps.sh          build and run
#   scripts/install-deps.sh --test   also what the tests need (Xvfb, xdotool, MinGW-w64, ...)
# With --test, 32-bit Wine (wine32:i386, for the checks of the 32-bit Windows program) too, but
# only where this kernel runs 32-bit programs: with it installed Debian's `wine` prefers the
# 32-bit loader, which elsewhere cannot start; the checks then skip and say why.
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
    packages+=(xvfb xauth xdotool x11-utils imagemagick python3 clang-format clang-tidy
               g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
               g++-mingw-w64-i686-posix binutils-mingw-w64-i686
               wine wine64 nsis zip unzip clang libclang-rt-14-dev
               qemu-system-x86 busybox-static kmod linux-headers-amd64 make xz-utils
               debhelper dpkg-dev lintian appstream desktop-file-utils debootstrap libc6-i386
               pulseaudio pulseaudio-utils flac pipewire pipewire-bin pipewire-pulse wireplumber dbus-daemon
               sway xwayland qt6-wayland grim wtype wayvnc x11-xserver-utils)
fi

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

# 32-bit Wine where 32-bit programs run (the 32-bit loader comes with libc6-i386).
wine32() {
    [ "${1:-}" = "--test" ] && ! installed wine32:i386 || return 0
    if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
        echo "This kernel runs no 32-bit programs: the 32-bit Windows program's checks under Wine are skipped."
        return 0
    fi
    if [ "$(id -u)" -ne 0 ]; then
        echo "For the 32-bit Windows program's checks under Wine (skipped without it):"
        echo "  sudo dpkg --add-architecture i386 && sudo apt-get update && sudo apt-get install -y wine32:i386"
        return 0
    fi
    # Optional: whatever fails here leaves those checks skipped, never the rest undone.
    if ! { dpkg --add-architecture i386 && apt-get update -qq &&
        apt-get install -y -qq --no-install-recommends wine32:i386; }; then
        echo "wine32:i386 could not be installed: the 32-bit Windows program's checks under Wine are skipped."
    fi
}

missing=()
for p in "${packages[@]}"; do
    installed "$p" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    wine32 "${1:-}"
    exit 0
fi

echo "Vintorel needs these Debian packages: ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
    echo "Install them with:"
    echo "  sudo apt-get install -y ${missing[*]}"
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
wine32 "${1:-}"
