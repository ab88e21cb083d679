#!/usr/bin/env bash
# Sound through a desktop's sound server (PipeWire with pipewire-pulse, started privately as in
# tests/voice/pipewire_e2e.sh) against OpenAL Soft's null output:
#   - the time from the poll that reads a lock to the start of its tone at the sink, over
#     VINTOREL_BENCH_POLLS polls (default 50), with OpenAL Soft's PulseAudio output as it comes
#     and with other update sizes (bench/sink_latency.py says how it is measured);
#   - CPU and wake-ups per second of the program at the first step and while measuring (tone),
#     VINTOREL_BENCH_SECONDS (default 20) each, on the sound server and on the null output.
# Usage: bench/desktop_sound.sh [BUILD_DIR]   (default build/default)
source "$(dirname "$0")/lib.sh"
POLLS=${VINTOREL_BENCH_POLLS:-50}
cmake --build "$BUILD_DIR" --target vintorel vintorel_bench_sample >/dev/null || { echo "build failed" >&2; exit 1; }
source "$SOURCE_DIR/tests/e2e/lib.sh"
e2e_start_x
e2e_start_pipewire
work="$E2E_TMP/work"
e2e_default_list "$work"
cp "$SOURCE_DIR"/Data/*.vcl "$work/Data/"
echo "poll locked 57 7.5" >"$E2E_TMP/card.script"
export VINTOREL_TUNER=sim VINTOREL_SIM_SCRIPT="$E2E_TMP/card.script" VINTOREL_SIM_LOG="$E2E_TMP/card.log"

# latency NAME CONFIG: the program measuring with ALSOFT_CONF's [general] lines CONFIG.
latency() {
    printf '[general]\n%s\n' "$2" >"$E2E_TMP/alsoft.conf"
    : >"$VINTOREL_SIM_LOG"
    echo "latency, $1: $POLLS polls ..." >&2
    ALSOFT_CONF="$E2E_TMP/alsoft.conf" e2e_start_measuring "$work" "$VINTOREL_SIM_LOG"
    sleep 1
    declare -A got
    while read -r name value; do got[$name]=$value; done < <(python3 "$SOURCE_DIR/bench/sink_latency.py" \
        "$VINTOREL_SIM_LOG" "$E2E_SINK.monitor" "$(awk -v n="$POLLS" 'BEGIN { print n * 0.6 }')")
    echo "| poll → tone at the sink, $1 | ${got[median_ms]:-–} ms | ${got[max_ms]:-–} ms | ${got[tones]:-0} of ${got[polls]:-0} |" >>"$E2E_TMP/latency"
    e2e_close "$E2E_WINDOW"
    e2e_wait_exit 15
}
: >"$E2E_TMP/latency"
latency "OpenAL Soft's default (updates of 1024 frames, 3 of them)" ""
latency "updates of 2048 frames" "period_size = 2048"
latency "updates of 512 frames" "period_size = 512"
latency "updates of 512 frames, 2 of them" "$(printf 'period_size = 512\nperiods = 2')"

# figures NAME: CPU and wake-ups at the first step and measuring (tone), a row of the table.
figures() {
    echo "CPU and wake-ups, $1: ${PHASE} s each ..." >&2
    : >"$VINTOREL_SIM_LOG"
    e2e_start_app "$work"
    local id
    id=$(e2e_wait_window '^V i n t o r e l$')
    sleep 2
    sample "$APP_PID" "$PHASE"
    local idle_cpu=$CPU idle_wake=$WAKE
    sleep 0.5
    e2e_search_first_satellite "$id" "$VINTOREL_SIM_LOG"
    sleep 2
    sample "$APP_PID" "$PHASE"
    echo "| $1 | $idle_cpu % | $idle_wake | $CPU % | $WAKE |" >>"$E2E_TMP/figures"
    e2e_close "$id"
    e2e_wait_exit 15
}
: >"$E2E_TMP/figures"
figures "PipeWire (pipewire-pulse), OpenAL Soft's default"
ALSOFT_DRIVERS=null figures "OpenAL Soft's null output"

echo
echo "| figure | median | max | tones heard |"
echo "|---|---|---|---|"
cat "$E2E_TMP/latency"
echo
echo "| output | CPU, first step | wake-ups/s, first step | CPU, measuring (tone) | wake-ups/s, measuring (tone) |"
echo "|---|---|---|---|---|"
cat "$E2E_TMP/figures"
