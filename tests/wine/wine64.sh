# Sourced by the Wine checks that mean 64-bit Wine only (every check but those of the 32-bit
# build): `wine`, `winepath` and `wineboot` then run Wine's 64-bit loader itself, whose path is
# in wine64_loader. Debian's `wine` prefers the 32-bit loader once wine32:i386 is installed, and
# that loader cannot start at all where the kernel runs no 32-bit programs.
wine64_loader=$(command -v wine64 || true)
if [ -z "$wine64_loader" ] && [ -x /usr/lib/wine/wine64 ]; then
    wine64_loader=/usr/lib/wine/wine64 # Debian keeps it off the PATH
fi
if [ -n "$wine64_loader" ]; then
    export WINELOADER=$wine64_loader # for the processes Wine starts itself
    wine() { "$wine64_loader" "$@"; }
    winepath() { "$wine64_loader" winepath.exe "$@"; }
    wineboot() { "$wine64_loader" wineboot.exe "$@"; }
else
    wine64_loader=wine
fi
