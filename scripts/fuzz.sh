#!/usr/bin/env bash
# Fuzzes every target for a given time: builds the fuzz preset (clang, libFuzzer, the code under
# test instrumented, AddressSanitizer and UBSan), then runs each target for SECONDS, one after
# the other, starting from its seed corpus in the repository and from its working corpus in
# build/fuzz, which keeps what earlier runs found. A crash or a broken promise is saved as
# build/fuzz/findings/TARGET-crash-...; replay one with `build/fuzz/bin/TARGET FILE`.
# Usage: scripts/fuzz.sh [SECONDS [TARGET...]]   (default: 60 seconds, every target)
# Further libFuzzer options can be given in FUZZ_OPTIONS, e.g. FUZZ_OPTIONS="-jobs=2 -workers=2".
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
case "$seconds" in
'' | *[!0-9]*) echo "usage: scripts/fuzz.sh [SECONDS [TARGET...]]" >&2; exit 2 ;;
esac
command -v clang++ >/dev/null || { echo "fuzz.sh: clang++ is needed (Debian: clang)" >&2; exit 2; }

cmake --preset fuzz -S "$root" >/dev/null
cmake --build --preset fuzz -j"$(nproc)"
findings="$root/build/fuzz/findings"
mkdir -p "$findings"

failed=()
ran=0
while IFS=$'\t' read -r name binary work seeds; do
    if [ $# -gt 0 ] && [[ " $* " != *" $name "* ]]; then
        continue
    fi
    ran=$((ran + 1))
    IFS=$'\t' read -r -a seed_dirs <<<"$seeds"
    echo "=== $name: $seconds s ==="
    # shellcheck disable=SC2086 # FUZZ_OPTIONS is a list of options
    if ! (cd "$findings" && "$binary" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$findings/$name-" ${FUZZ_OPTIONS:-} \
        "$work" "${seed_dirs[@]}"); then
        failed+=("$name")
    fi
done <"$root/build/fuzz/fuzz_targets.txt"

[ "$ran" -gt 0 ] || { echo "fuzz.sh: no target named $*" >&2; exit 2; }
if [ ${#failed[@]} -gt 0 ]; then
    echo "FINDINGS in: ${failed[*]} (see $findings)"
    exit 1
fi
echo "no finding"
