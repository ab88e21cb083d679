#!/usr/bin/env bash
# Runs a GoogleTest program built for Windows under Wine and passes on its verdict.
#   wine_gtest.sh PROGRAM.exe [GTEST_ARGUMENT...]
# Uses the caller's WINEPREFIX, or a fresh one.
set -euo pipefail
program=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
shift
command -v wine >/dev/null || { echo "skipped: Wine is not installed"; exit 77; }
source "$(dirname "$0")/wine_session.sh"
status=0
wine "$program" "$@" 2>&1 | tr -d '\r' || status=$?
exit "$status"
