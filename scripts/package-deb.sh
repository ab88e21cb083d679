#!/usr/bin/env bash
# Makes the Debian package build/deb/vintorel_VERSION_amd64.deb with Debian's own tools
# (dpkg-buildpackage, debhelper and the debian/ folder) and checks it: lintian without errors,
# the AppStream metainfo (appstreamcli validate --no-net) and the desktop entry
# (desktop-file-validate). The sources are copied to build/deb/src first (their times kept),
# so the sources may be read-only and the package's CMake build in build/deb/cmake is reused
# by the next run.
#   scripts/package-deb.sh [OUTPUT_FOLDER]     (default: build/deb)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/build/deb}
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in dpkg-buildpackage:dpkg-dev dh:debhelper lintian:lintian appstreamcli:appstream \
    desktop-file-validate:desktop-file-utils; do
    command -v "${tool%%:*}" >/dev/null || fail "${tool#*:} is not installed (scripts/install-deps.sh --test)"
done
mkdir -p "$out"
out=$(cd "$out" && pwd)

# The version is the project's (CMakeLists.txt); the changelog must say the same.
version=$(sed -n 's/^project(Vintorel VERSION \([^ ]*\).*/\1/p' "$root/CMakeLists.txt")
changelog=$(dpkg-parsechangelog -l "$root/debian/changelog" -S Version)
[ "$version" = "$changelog" ] || fail "debian/changelog says $changelog, CMakeLists.txt $version"

# The sources as they are (a git checkout: its files, committed or not; otherwise all but
# build/), without the build folders.
src=$out/src
rm -rf "$src"
mkdir -p "$src"
if git -C "$root" rev-parse --show-toplevel >/dev/null 2>&1; then
    git -C "$root" ls-files -z --cached --others --exclude-standard |
        (cd "$root" && tar -c --null --no-recursion -T - -f - 2>/dev/null) | tar -x -C "$src"
else
    tar -c -C "$root" --exclude=./build --exclude=./.git -f - . | tar -x -C "$src"
fi
rm -f "$out"/vintorel_*

echo "=== dpkg-buildpackage (log: $out/build.log) ==="
(cd "$src" && BUILDDIR="$out/cmake" DEB_BUILD_OPTIONS="parallel=$(nproc)" \
    dpkg-buildpackage -b -nc -us -uc) >"$out/build.log" 2>&1 ||
    { tail -40 "$out/build.log"; fail "dpkg-buildpackage failed"; }
deb=$out/vintorel_${version}_amd64.deb
[ -f "$deb" ] || fail "no $deb"

echo "=== checks ==="
# By a relative name: lintian decodes an absolute path with other than ASCII letters twice and
# then finds no package.
(cd "$out" && lintian --fail-on error vintorel_"${version}"_amd64.changes) ||
    fail "lintian"
files=$out/files
rm -rf "$files"
dpkg-deb -x "$deb" "$files"
appstreamcli validate --no-net "$files"/usr/share/metainfo/*.metainfo.xml || fail "appstreamcli validate"
desktop-file-validate "$files"/usr/share/applications/vintorel.desktop || fail "desktop-file-validate"
rm -rf "$files"
echo "made $deb"
