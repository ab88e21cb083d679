#!/usr/bin/env bash
# Runs a GoogleTest program built for Windows under Wine and passes on its verdict.
#   wine_gtest.sh [--display] PROGRAM.exe [GTEST_ARGUMENT...]
# --display: the program makes windows, so it runs on a private X server (Xvfb), with a
# wineserver started for that display and stopped at the end.
# Uses the caller's WINEPREFIX, or a fresh one.
set -euo pipefail
display=0
if [ "${1:-}" = --display ]; then
    display=1
    shift
fi
program=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
shift
command -v wine >/dev/null || { echo "skipped: Wine is not installed"; exit 77; }
source "$(dirname "$0")/wine_session.sh"
if [ "$display" = 1 ]; then
    command -v Xvfb >/dev/null || { echo "skipped: Xvfb is not installed"; exit 77; }
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
    xvfb=$!
    read -r -t 20 number <"$fifo" || fail "Xvfb did not start"
    rm -f "$fifo"
    export DISPLAY=":$number"
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    trap 'wineserver -k 2>/dev/null || true; wineserver -w 2>/dev/null || true; kill "$xvfb"; wine_finish' EXIT
fi
# A program that crashes under Wine ends with status 0 (Wine's debugger takes the fault), so
# the run counts only when GoogleTest got as far as its summary.
log=$(mktemp)
status=0
wine "$program" "$@" 2>&1 | tr -d '\r' | tee "$log" || status=$?
if [ "$status" = 0 ] && ! grep -q '^\[==========\] .* ran\.' "$log"; then
    echo "FAIL: $(basename "$program") stopped before the end of its tests" >&2
    status=1
fi
rm -f "$log"
exit "$status"
