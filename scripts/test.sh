#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, and runs every test that needs no
# hardware, first on the default preset and then under AddressSanitizer and
# UndefinedBehaviorSanitizer (the sanitize preset).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" --test
jobs=$(nproc)
status=0
for preset in default sanitize; do
    echo "=== $preset ==="
    cmake --preset "$preset" -S "$root" -DVINTOREL_WERROR=ON
    cmake --build "$root/build/$preset" -j"$jobs"
    (cd "$root" && ctest --preset "$preset" -j"$jobs") || status=1
done
exit $status
