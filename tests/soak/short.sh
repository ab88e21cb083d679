#!/usr/bin/env bash
# The test run's form of the long run (scripts/soak.sh): two minutes, a sample every 10 s, the
# Linux program and (when given) the Windows one under Wine at the same time, each on an X
# server of its own (under Wine in a copy of the test prefix), so the check takes one slot.
#   short.sh OUT_DIR LINUX_PROGRAM [WINDOWS_PROGRAM.exe]
set -uo pipefail
out=$1 linux=$2 windows=${3:-}
soak=$(cd "$(dirname "$0")/../../scripts" && pwd)/soak.sh
mkdir -p "$out"
wine_rc=77
if [ -n "$windows" ]; then
    bash "$soak" --wine --program "$windows" --interval 10 --out "$out/soak-wine.txt" 2 \
        >"$out/soak-wine.log" 2>&1 &
    wine_side=$!
fi
bash "$soak" --program "$linux" --interval 10 --out "$out/soak-linux.txt" 2
linux_rc=$?
if [ -n "$windows" ]; then
    wait "$wine_side"
    wine_rc=$?
    echo "--- under Wine:"
    cat "$out/soak-wine.log"
fi
[ "$wine_rc" = 77 ] && echo "Wine side skipped"
[ "$linux_rc" = 0 ] && { [ "$wine_rc" = 0 ] || [ "$wine_rc" = 77 ]; }
