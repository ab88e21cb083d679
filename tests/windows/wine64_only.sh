#!/usr/bin/env bash
# The 64-bit checks run Wine's 64-bit loader itself, never Debian's `wine`: with `wine` (and the
# wine-stable it wraps) failing as the 32-bit loader does where the kernel runs no 32-bit
# programs, a check under Wine (PROGRAM, a GoogleTest program, through wine_gtest.sh) passes.
#   wine64_only.sh PROGRAM.exe
# Uses the caller's WINEPREFIX, or a fresh one.
set -euo pipefail
command -v wine >/dev/null || { echo "skipped: Wine is not installed"; exit 77; }
stand_in=$(mktemp -d)
trap 'rm -rf "$stand_in"' EXIT
for name in wine wine-stable; do
    printf '#!/bin/sh\necho "%s: cannot execute binary file: Exec format error" >&2\nexit 126\n' \
        "$name" >"$stand_in/$name"
    chmod +x "$stand_in/$name"
done
PATH="$stand_in:$PATH" bash "$(dirname "$0")/wine_gtest.sh" "$1"
