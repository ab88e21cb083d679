#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, and runs every test that needs no
# hardware. First the Windows program is cross-compiled with MinGW-w64 from the same sources
# and checked (the windows preset); then the default preset's tests run, among them the
# end-to-end checks once against the Linux program and once against the Windows one under Wine,
# in a private prefix kept in build/windows/wine-prefix (made on the first run, the simulated
# card registered in it on every run); then the tests run again under AddressSanitizer and
# UndefinedBehaviorSanitizer (the sanitize preset, Linux program only). Tests that failed are
# run once more at the end with their output, so the last lines of a long log say what went
# wrong; a test that passes on that second run still fails the whole run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" --test
jobs=$(nproc)
failed=()
echo "=== windows ==="
if cmake --preset windows -S "$root" -DVINTOREL_WERROR=ON &&
    cmake --build "$root/build/windows" -j"$jobs" &&
    bash "$root/tests/windows/check_exe.sh" "$root/build/windows/bin/vintorel.exe"; then
    :
else
    failed+=(windows)
fi
for preset in default sanitize; do
    echo "=== $preset ==="
    windows_build=()
    [ "$preset" = default ] && windows_build=(-DVINTOREL_WINDOWS_BUILD="$root/build/windows")
    cmake --preset "$preset" -S "$root" -DVINTOREL_WERROR=ON "${windows_build[@]}"
    cmake --build "$root/build/$preset" -j"$jobs"
    (cd "$root" && ctest --preset "$preset" -j"$jobs") || failed+=("$preset")
done
[ ${#failed[@]} -eq 0 ] && exit 0

for preset in "${failed[@]}"; do
    [ "$preset" = windows ] && continue
    echo "=== $preset: failed tests, run again one at a time ==="
    cat "$root/build/$preset/Testing/Temporary/LastTestsFailed.log" 2>/dev/null || true
    (cd "$root" && ctest --preset "$preset" --rerun-failed -j1) || true
done
echo "FAILED in: ${failed[*]}"
exit 1
