#!/usr/bin/env bash
# Makes the screen gallery on demand: builds the Linux and the Windows programs, then puts every
# screen of each side by side in build/default/gallery (one picture per screen, the differences
# below it, report.txt). Passes the same way as the test run's check `gallery`: it fails on a
# difference that docs/windows.md does not list.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" --test
jobs=$(nproc)
cmake --preset windows -S "$root" >/dev/null
cmake --build "$root/build/windows" -j"$jobs"
cmake --preset default -S "$root" -DVINTOREL_WINDOWS_BUILD="$root/build/windows" >/dev/null
cmake --build "$root/build/default" -j"$jobs"
bash "$root/tests/wine/prefix.sh" "$root/build/windows/wine-prefix" "$root/build/windows/bin"
WINEPREFIX="$root/build/windows/wine-prefix" bash "$root/tests/gallery/gallery.sh" \
    "$root/build/default/bin/vintorel" "$root/build/windows/bin" "$root/build/default/gallery"
echo "gallery: $root/build/default/gallery"
