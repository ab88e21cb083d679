#!/usr/bin/env bash
# Every C++ source of the repository that the build compiles keeps the idiom of .clang-tidy
# (braces, type and member names).
#   tidy_check.sh SOURCE_DIR BUILD_DIR [--fix]
# The build's compile commands are used without its precompiled headers (GCC's, which clang
# cannot read); Windows-only sources, which the Linux build does not compile, are not checked.
set -euo pipefail
src=$(cd "$1" && pwd)
build=$(cd "$2" && pwd)
fix=()
jobs=$(nproc)
[ "${3:-}" = --fix ] && { fix=(--fix-errors); jobs=1; }
command -v clang-tidy >/dev/null || { echo "clang-tidy is not installed"; exit 1; }
db=$(mktemp -d)
trap 'rm -rf "$db"' EXIT
python3 - "$build/compile_commands.json" "$db/compile_commands.json" "$src" "$db/files" <<'PY'
import json, shlex, sys, subprocess
entries = json.load(open(sys.argv[1]))
src = sys.argv[3]
tracked = set(subprocess.run(["git", "-C", src, "ls-files", "*.cpp"], capture_output=True,
                             text=True, check=True).stdout.split())
out, files = [], []
for e in entries:
    args = shlex.split(e["command"])
    kept, skip = [], False
    for a in args:
        if skip:
            skip = False
            continue
        if a == "-include" or a == "-Xclang":
            skip = True  # the precompiled header CMake forces in
            continue
        if a.startswith("-Winvalid-pch"):
            continue
        kept.append(a)
    e["command"] = shlex.join(kept)
    out.append(e)
    rel = e["file"][len(src) + 1:] if e["file"].startswith(src + "/") else None
    if rel in tracked and not rel.startswith("third_party/"):
        files.append(e["file"])
json.dump(out, open(sys.argv[2], "w"))
open(sys.argv[4], "w").write("\n".join(sorted(set(files))) + "\n")
PY
log=$(mktemp)
status=0
xargs -P"$jobs" -n6 clang-tidy --quiet -p "$db" "${fix[@]}" <"$db/files" >"$log" 2>/dev/null ||
    status=$?
if [ "$status" != 0 ]; then
    grep -E 'error:|warning:' "$log" | sort -u | head -50
    echo "not in the idiom of .clang-tidy (tests/style/tidy_check.sh SOURCE BUILD --fix mends braces)"
    rm -f "$log"
    exit 1
fi
rm -f "$log"
echo "ok: $(wc -l <"$db/files") files checked"
