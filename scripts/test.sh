#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, and runs every test that needs no
# hardware. First the Windows programs are cross-compiled with MinGW-w64 from the same sources
# (the windows preset, 64-bit, and the windows32 preset, 32-bit); then the default preset's
# tests run, among them the end-to-end checks once against the Linux program and once against
# the Windows one under Wine (a subset a third time against the 32-bit one), in a private
# prefix kept in build/windows/wine-prefix (made on the first run, the simulated card
# registered in it on every run); then the Debian package is made (scripts/package-deb.sh) and
# tried in a clean Debian 12 root (packaging/deb_install_test.sh); then the Windows build's own
# checks (its binaries, package,
# registration and clip decoder, the last compared with the Linux build's, and the file and
# window functions' tests against Wine's), and the same checks of the 32-bit build (those under
# Wine, and the 32-bit end-to-end runs, skip where Wine cannot run 32-bit programs); then the
# tests run
# again under AddressSanitizer and UndefinedBehaviorSanitizer (the sanitize preset, Linux
# program only); last, where clang is installed, each fuzz target runs for a few seconds on a
# build instrumented for libFuzzer (the fuzz preset, fuzz targets only). Tests that failed are run once more at the end with their output, so the last
# lines of a long log say what went wrong; a test that passes on that second run still fails
# the whole run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" --test
jobs=$(nproc)
failed=()
echo "=== windows: build ==="
windows_built=1
cmake --preset windows -S "$root" -DVINTOREL_WERROR=ON &&
    cmake --build "$root/build/windows" -j"$jobs" || { windows_built=0; failed+=(windows); }
echo "=== windows32: build ==="
windows32_built=1
cmake --preset windows32 -S "$root" -DVINTOREL_WERROR=ON &&
    cmake --build "$root/build/windows32" -j"$jobs" || { windows32_built=0; failed+=(windows32); }

# Runs a command with the Wine settings of the test prefix of build $1 (windows32: its own).
wine_env() {
    local build=windows
    [ "$1" = windows32 ] && build=windows32
    shift
    WINEPREFIX="$root/build/$build/wine-prefix" WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all "$@"
}

# The tests of one build folder; $1 names it in the summary, the rest are ctest's arguments.
run_tests() {
    local name=$1
    shift
    (cd "$root" && ctest "$@" -j"$jobs") || failed+=("$name")
}

echo "=== default ==="
cmake --preset default -S "$root" -DVINTOREL_WERROR=ON -DVINTOREL_WINDOWS_BUILD="$root/build/windows" \
    -DVINTOREL_WINDOWS32_BUILD="$root/build/windows32"
cmake --build "$root/build/default" -j"$jobs"
run_tests default --preset default
echo "=== Debian package ==="
# Made with Debian's tools and checked (scripts/package-deb.sh), then installed into a clean
# Debian 12 root and used there (skipped without root or debootstrap).
if "$root/scripts/package-deb.sh"; then
    deb_rc=0
    bash "$root/packaging/deb_install_test.sh" "$root"/build/deb/vintorel_*_amd64.deb \
        "$root/build/deb/root-cache" || deb_rc=$?
    [ "$deb_rc" = 0 ] || [ "$deb_rc" = 77 ] || failed+=(deb)
else
    failed+=(deb)
fi
if [ "$windows_built" = 1 ]; then
    echo "=== windows: checks ==="
    # Those that run under Wine use the prefix the default run made.
    wine_env windows run_tests windows --preset windows
fi
if [ "$windows32_built" = 1 ]; then
    echo "=== windows32: checks ==="
    wine_env windows32 run_tests windows32 --preset windows32
fi
echo "=== sanitize ==="
cmake --preset sanitize -S "$root" -DVINTOREL_WERROR=ON
cmake --build "$root/build/sanitize" -j"$jobs"
run_tests sanitize --preset sanitize
if command -v clang++ >/dev/null; then
    echo "=== fuzz ==="
    if cmake --preset fuzz -S "$root" -DVINTOREL_WERROR=ON &&
        cmake --build "$root/build/fuzz" --target vintorel_fuzzers -j"$jobs"; then
        run_tests fuzz --preset fuzz
    else
        failed+=(fuzz)
    fi
fi
[ ${#failed[@]} -eq 0 ] && exit 0

for name in "${failed[@]}"; do
    [ "$name" = windows ] && [ "$windows_built" = 0 ] && continue
    [ "$name" = windows32 ] && [ "$windows32_built" = 0 ] && continue
    [ "$name" = deb ] && continue # its output is above
    echo "=== $name: failed tests, run again one at a time ==="
    cat "$root/build/$name/Testing/Temporary/LastTestsFailed.log" 2>/dev/null || true
    (cd "$root" && wine_env "$name" ctest --preset "$name" --rerun-failed -j1) || true
done
echo "FAILED in: ${failed[*]}"
exit 1
