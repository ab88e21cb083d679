#!/usr/bin/env bash
# The Windows clip decoder (OptimFROG.dll, under Wine) gives exactly the Linux decoder's samples
# for every clip: both decode_clips programs print one line per clip (format, points, a hash of
# the WAV data, the stream's MD5 verdict) and the lines must be equal.
#   compare_decoders.sh LINUX_BIN_DIR WINDOWS_BIN_DIR [DATA_PARENT]
# LINUX_BIN_DIR holds decode_clips, WINDOWS_BIN_DIR decode_clips.exe and OptimFROG.dll;
# DATA_PARENT (default: the repository) holds Data/. Wine runs in the caller's WINEPREFIX.
# The 32-bit build's (VINTOREL_WINE32=1) is skipped (77) where Wine cannot run 32-bit programs.
set -euo pipefail
if [ "${VINTOREL_WINE32:-0}" = 1 ]; then
    source "$(dirname "$0")/../wine/wine32.sh"
    if reason=$(wine32_missing); then echo "skipped: $reason"; exit 77; fi
else
    source "$(dirname "$0")/../wine/wine64.sh"
fi
[ -x "$1/decode_clips" ] || { echo "skipped: no $1/decode_clips (the Linux build's)"; exit 77; }
linux=$(cd "$1" && pwd) windows=$(cd "$2" && pwd)
data_parent=${3:-$(cd "$(dirname "$0")/../.." && pwd)}
cd "$data_parent"
mapfile -t clips < <(cd Data && ls ./*.vcl | sed 's#^\./#Data\\#')
[ ${#clips[@]} -eq 21 ] || { echo "FAIL: ${#clips[@]} clips in $data_parent/Data, expected 21" >&2; exit 1; }
expected=$("$linux/decode_clips" "${clips[@]}")
actual=$(WINEDEBUG=${WINEDEBUG:--all} wine "$windows/decode_clips.exe" "${clips[@]}" | tr -d '\r')
if [ "$expected" != "$actual" ]; then
    echo "FAIL: the Windows decoder differs from the Linux decoder" >&2
    diff <(echo "$expected") <(echo "$actual") >&2 || true
    exit 1
fi
echo "ok: ${#clips[@]} clips decode alike"
