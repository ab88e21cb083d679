#!/usr/bin/env bash
# Which headers each platform library and the program can include: every row names a target,
# its include path (':'-separated, as the build gives it) and a header, and says whether the
# header must be found ("sees") or not ("blind"). A "blind" row passes only when the compiler
# fails for that header's absence, not for any other error.
# Usage: dll_boundaries_check.sh CXX ROW... with ROW = target|sees-or-blind|header|dir:dir:...
set -u
cxx=$1
shift
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
failures=0
for row in "$@"; do
    IFS='|' read -r target expect header dirs <<<"$row"
    flags=()
    IFS=':' read -ra list <<<"$dirs"
    for d in "${list[@]}"; do
        [ -n "$d" ] && flags+=("-I$d")
    done
    printf '#include "%s"\n' "$header" >"$probe/probe.cpp"
    out=$("$cxx" -std=c++20 -fsyntax-only "${flags[@]}" "$probe/probe.cpp" 2>&1)
    rc=$?
    if [ "$expect" = sees ] && [ "$rc" != 0 ]; then
        echo "FAIL: $target cannot include $header:"
        echo "$out" | head -5
        failures=$((failures + 1))
    elif [ "$expect" = blind ] && { [ "$rc" = 0 ] || ! grep -q "$header: No such file" <<<"$out"; }; then
        echo "FAIL: $target can include $header, which it must not reach"
        echo "$out" | head -5
        failures=$((failures + 1))
    else
        echo "ok: $target $expect $header"
    fi
done
exit $((failures > 0))
