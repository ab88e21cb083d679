#!/usr/bin/env bash
# Every C and C++ source of the repository is formatted as .clang-format says.
#   format_check.sh SOURCE_DIR
set -euo pipefail
cd "$1"
command -v clang-format >/dev/null || { echo "clang-format is not installed"; exit 1; }
mapfile -t files < <(git ls-files '*.c' '*.cpp' '*.h' 2>/dev/null || find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
[ ${#files[@]} -gt 0 ] || { echo "no sources found"; exit 1; }
bad=()
for f in "${files[@]}"; do
    clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done
if [ ${#bad[@]} -gt 0 ]; then
    echo "not formatted (run clang-format -i on them):"
    printf '  %s\n' "${bad[@]}"
    exit 1
fi
echo "ok: ${#files[@]} files formatted"
