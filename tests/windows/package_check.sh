#!/usr/bin/env bash
# The Windows zip package holds exactly the program, its two DLLs, the 21 clips and the readme
# (CRLF line ends, the version and the bitness filled in), in one folder named after the
# package, whose name says the bitness of the program and DLLs inside.
#   package_check.sh build/windows/vintorel-VERSION-win64.zip
#   package_check.sh build/windows32/vintorel-VERSION-win32.zip
set -euo pipefail
zip=$1
top=$(basename "$zip" .zip)
repo=$(cd "$(dirname "$0")/../.." && pwd)
fail() { echo "FAIL: $*" >&2; exit 1; }
want=$( (printf '%s\n' "$top/" "$top/Data/" "$top/vintorel.exe" "$top/OptimFROG.dll" \
    "$top/vintorel_tuner_sim.dll" "$top/readme.txt"
    cd "$repo/Data" && ls ./*.vcl | sed "s#^\./#$top/Data/#") | sort)
have=$(unzip -Z1 "$zip" | sort)
[ "$want" = "$have" ] || fail "contents differ: $(diff <(echo "$want") <(echo "$have") | grep '^[<>]' | tr '\n' ' ')"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
unzip -q "$zip" -d "$tmp"
for clip in "$repo"/Data/*.vcl; do
    cmp -s "$clip" "$tmp/$top/Data/$(basename "$clip")" || fail "$(basename "$clip") differs"
done
readme=$tmp/$top/readme.txt
[ "$(grep -c $'\r$' "$readme")" = "$(wc -l <"$readme")" ] || fail "readme.txt has lines without CRLF"
grep -q '@' "$readme" && fail "readme.txt has an unfilled @...@"
version=${top#vintorel-}
bits=${version##*-win}
head -1 "$readme" | grep -qF "${version%-win*} " || fail "readme.txt does not name the version"
head -1 "$readme" | grep -qF "($bits-bit" || fail "readme.txt does not say $bits-bit"
case $bits in 32) format=pei-i386 ;; 64) format=pei-x86-64 ;; *) fail "no bitness in the name $top" ;; esac
for f in vintorel.exe OptimFROG.dll vintorel_tuner_sim.dll; do
    x86_64-w64-mingw32-objdump -f "$tmp/$top/$f" | grep -q "file format $format\$" ||
        fail "$f is not $format, as the package's name says"
done
echo "ok: $zip"
