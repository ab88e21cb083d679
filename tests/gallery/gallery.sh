#!/usr/bin/env bash
# The screen gallery: every screen of the Linux program beside the same screen of the Windows
# program under Wine, at the same screen size, one picture per screen with what differs below
# it, and a check that fails on a difference docs/windows.md does not list with its reason.
#   gallery.sh LINUX_PROGRAM WINDOWS_BIN_DIR OUT_DIR [XVFB_SCREEN]
# OUT_DIR gets linux/ and windows/ (the screens and window lists of each side) and, at its top,
# one side-by-side picture per screen and report.txt; then 144dpi/ the same for a desktop
# scaled to 150 % (the Linux program with QT_SCALE_FACTOR=1.5 on a screen 1.5 times as large,
# beside the Windows pictures enlarged by 1.5, as Windows shows a program that declares no DPI
# awareness). Needs the Wine prefix of the test run
# (WINEPREFIX, made by tests/wine/prefix.sh); skipped (77) without Wine or ImageMagick.
set -euo pipefail
linux=$1
windows=$2
out=$3
here=$(cd "$(dirname "$0")" && pwd)
command -v convert >/dev/null || { echo "SKIP: ImageMagick is missing"; exit 77; }
command -v wine >/dev/null || { echo "SKIP: Wine is not installed"; exit 77; }
mkdir -p "$out"
rm -f "$out"/*.png "$out"/report.txt
# The Windows side meanwhile, on an X server of its own: it takes the longest.
bash "$here/capture.sh" "$windows/vintorel.exe" "$out/windows" "$windows/wintree.exe" &
wine_side=$!
status=0
bash "$here/capture.sh" "$linux" "$out/linux" || status=1
E2E_SCREEN=1920x1536 E2E_SCALE=1.5 QT_SCALE_FACTOR=1.5 bash "$here/capture.sh" "$linux" "$out/linux-144dpi" || status=1
wine_status=0
wait "$wine_side" || wine_status=$?
[ "$wine_status" = 77 ] && exit 77
[ "$wine_status" = 0 ] && [ "$status" = 0 ] || exit 1
known="$here/../../docs/windows.md"
python3 "$here/compare.py" "$out/linux" "$out/windows" "$out" "$known" || status=1
python3 "$here/compare.py" "$out/linux-144dpi" "$out/windows" "$out/144dpi" "$known" 1.5 || status=1
exit "$status"
