# For the benchmark scripts, sourced first: SOURCE_DIR, BUILD_DIR (the script's argument, default
# build/default), BIN, VINTOREL_BIN and PHASE (VINTOREL_BENCH_SECONDS, default 20: the length
# of each measured phase).
SOURCE_DIR=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=$(cd "${1:-$SOURCE_DIR/build/default}" && pwd)
PHASE=${VINTOREL_BENCH_SECONDS:-20}
BIN=$BUILD_DIR/bin
VINTOREL_BIN=$BIN/vintorel

# sample PID SECONDS: sets CPU (% of a core), WAKE (per second), MAIN_MS, RSS_MIB
sample() {
    local out
    out=$("$BIN/vintorel_bench_sample" "$1" "$2")
    read -r CPU WAKE MAIN_MS RSS_MIB < <(echo "$out" | awk -v s="$2" \
        '{ printf "%.3f %.1f %.3f %.1f\n", $2 / (10 * s), $4 / s, $6, $8 / 1024 }')
}
