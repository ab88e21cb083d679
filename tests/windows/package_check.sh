#!/usr/bin/env bash
# The Windows zip package holds exactly the program, its two DLLs, the 21 clips and the readme
# (CRLF line ends, the version filled in), in one folder named after the package.
#   package_check.sh build/windows/vintorel-VERSION-win64.zip
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
head -1 "$readme" | grep -qF "${version%-win64}" || fail "readme.txt does not name the version"
echo "ok: $zip"
