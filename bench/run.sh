#!/usr/bin/env bash
# The performance figures of Vintorel side by side with two references, in one run:
#   - a bare Qt 6 widget program with a window of the same size (start-up, memory), and the
#     same program changing a label and a bar every 600 ms (the cost of a tick done the Qt way),
#   - a program that only wakes every 600 ms (the floor for CPU and wake-ups).
# Vintorel runs on a private X server (Xvfb) with the simulated card locked at quality 57 (then
# once without signal and once with a reading that changes on every poll) and OpenAL Soft's
# null output; it is driven to measuring with xdotool as a person would.
# Usage: bench/run.sh [BUILD_DIR]   (default build/default; the benchmark targets are built)
# VINTOREL_BENCH_SECONDS (default 20) is the length of each measured phase and
# VINTOREL_BENCH_RUNS (default 9) the number of interleaved start-up runs.
source "$(dirname "$0")/lib.sh"
RUNS=${VINTOREL_BENCH_RUNS:-9}

cmake --build "$BUILD_DIR" --target vintorel_bench >/dev/null || { echo "build failed" >&2; exit 1; }
[ -x "$BIN/vintorel_bench_map_wait" ] || { echo "needs libx11-dev for the start-up figure" >&2; exit 1; }
source "$SOURCE_DIR/tests/e2e/lib.sh"
e2e_start_x

work="$E2E_TMP/work"
e2e_default_list "$work"
cp "$SOURCE_DIR"/Data/*.vcl "$work/Data/"
echo "poll locked 57 7.5" >"$E2E_TMP/card.script"
export VINTOREL_TUNER=sim VINTOREL_SIM_SCRIPT="$E2E_TMP/card.script"
export ALSOFT_DRIVERS=null ALSOFT_CONF=/dev/null
export XDG_RUNTIME_DIR="$E2E_TMP/xdg"
mkdir -m 700 "$XDG_RUNTIME_DIR"

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

echo "start-up: $RUNS interleaved runs each ..." >&2
: >"$E2E_TMP/up-vintorel"
: >"$E2E_TMP/up-bare"
for _ in $(seq "$RUNS"); do
    (cd "$work" && "$BIN/vintorel_bench_map_wait" "$VINTOREL_BIN") >>"$E2E_TMP/up-vintorel"
    "$BIN/vintorel_bench_map_wait" "$BIN/vintorel_bench_bare_qt" >>"$E2E_TMP/up-bare"
done
UP_V=$(median <"$E2E_TMP/up-vintorel")
UP_B=$(median <"$E2E_TMP/up-bare")

# Goes from the first step to measuring: MODE 0 -> MODE 1, then 12245 MHz, 27500 kS/s, polarity.
to_measuring() {
    e2e_click "$1" 66 122
    e2e_click "$1" 125 70
    xdotool key --clearmodifiers End BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace
    xdotool type --delay 50 12245
    e2e_click "$1" 264 122
    e2e_click "$1" 264 122
    e2e_click "$1" 264 122
    sleep 2
}
ticks_us() { awk -v ms="$MAIN_MS" -v s="$PHASE" 'BEGIN { printf "%.0f", ms * 1000 / (s / 0.6) }'; }

echo "Vintorel: first step, then measuring in tone and in digits mode, ${PHASE} s each ..." >&2
e2e_start_app "$work"
id=$(e2e_wait_window '^V i n t o r e l$')
sleep 2
sample "$APP_PID" "$PHASE"
IDLE_CPU=$CPU IDLE_WAKE=$WAKE
to_measuring "$id"
sample "$APP_PID" "$PHASE"
TONE_CPU=$CPU TONE_WAKE=$WAKE TICK_US=$(ticks_us)
e2e_click "$id" 30 9 # the sound icon: spoken digits
sleep 2
sample "$APP_PID" "$PHASE"
VOICE_CPU=$CPU VOICE_WAKE=$WAKE RSS_V=$RSS_MIB
e2e_close "$id"
e2e_wait_exit 15

echo "Vintorel: measuring without signal, ${PHASE} s ..." >&2
echo "poll unlocked" >"$E2E_TMP/card.script"
e2e_start_app "$work"
id=$(e2e_wait_window '^V i n t o r e l$')
to_measuring "$id"
sample "$APP_PID" "$PHASE"
NOSIG_CPU=$CPU NOSIG_WAKE=$WAKE
e2e_close "$id"
e2e_wait_exit 15

echo "Vintorel: measuring with a reading that changes on every poll, ${PHASE} s ..." >&2
# Quality 50..56 and S/N 6.0..8.9 in turn: the digits, the bar and the S/N text change each tick.
for i in $(seq 1000); do echo "poll locked $((50 + i % 7)) $((6 + i % 3)).$((i % 10))"; done >"$E2E_TMP/card.script"
e2e_start_app "$work"
id=$(e2e_wait_window '^V i n t o r e l$')
to_measuring "$id"
sample "$APP_PID" "$PHASE"
CHANGING_TICK_US=$(ticks_us)
e2e_close "$id"
e2e_wait_exit 15

echo "references ..." >&2
"$BIN/vintorel_bench_bare_qt" >/dev/null 2>&1 &
bare=$!
E2E_PIDS+=("$bare")
sleep 2
sample "$bare" "$PHASE"
BARE_CPU=$CPU BARE_WAKE=$WAKE RSS_B=$RSS_MIB
kill "$bare"
"$BIN/vintorel_bench_bare_qt" --readout >/dev/null 2>&1 &
bare=$!
E2E_PIDS+=("$bare")
sleep 2
sample "$bare" "$PHASE"
READOUT_CPU=$CPU READOUT_WAKE=$WAKE RSS_R=$RSS_MIB
READOUT_TICK_US=$(ticks_us)
kill "$bare"
"$BIN/vintorel_bench_timer_floor" &
floor=$!
E2E_PIDS+=("$floor")
sample "$floor" "$PHASE"
FLOOR_CPU=$CPU FLOOR_WAKE=$WAKE
kill "$floor"

echo "combo box and sound ..." >&2
read -r -a fills < <("$BIN/vintorel_bench_combo_fill" 2>/dev/null | awk '{ printf "%s ", $2 } END { print "" }')
declare -A snd
while read -r name value rest; do snd[$name]="$value${rest:+ $rest}"; done < <("$BIN/vintorel_bench_sound")

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f×", a / b; else print "–" }'; }
echo
echo "| figure | Vintorel | reference | ratio |"
echo "|---|---|---|---|"
echo "| exec → main window mapped (median of $RUNS) | $UP_V ms | bare Qt app: $UP_B ms | $(ratio "$UP_V" "$UP_B") |"
echo "| CPU at the first step | $IDLE_CPU % | 600 ms timer: $FLOOR_CPU %, bare Qt app: $BARE_CPU % | – |"
echo "| wake-ups/s at the first step | $IDLE_WAKE | 600 ms timer: $FLOOR_WAKE, bare Qt app: $BARE_WAKE | – |"
echo "| CPU measuring without signal | $NOSIG_CPU % | 600 ms timer: $FLOOR_CPU % | $(ratio "$NOSIG_CPU" "$FLOOR_CPU") |"
echo "| wake-ups/s measuring without signal | $NOSIG_WAKE | 600 ms timer: $FLOOR_WAKE | $(ratio "$NOSIG_WAKE" "$FLOOR_WAKE") |"
echo "| CPU measuring, tone | $TONE_CPU % | 600 ms timer: $FLOOR_CPU %, bare Qt app changing a label and a bar: $READOUT_CPU % | $(ratio "$TONE_CPU" "$FLOOR_CPU") |"
echo "| wake-ups/s measuring, tone | $TONE_WAKE | 600 ms timer: $FLOOR_WAKE, bare Qt app changing a label and a bar: $READOUT_WAKE | $(ratio "$TONE_WAKE" "$FLOOR_WAKE") |"
echo "| CPU measuring, digits | $VOICE_CPU % | 600 ms timer: $FLOOR_CPU % | $(ratio "$VOICE_CPU" "$FLOOR_CPU") |"
echo "| wake-ups/s measuring, digits | $VOICE_WAKE | 600 ms timer: $FLOOR_WAKE | $(ratio "$VOICE_WAKE" "$FLOOR_WAKE") |"
echo "| main thread's CPU per poll tick (tone), reading unchanged | $TICK_US µs | bare Qt app changing a label and a bar every 600 ms: $READOUT_TICK_US µs | $(ratio "$TICK_US" "$READOUT_TICK_US") |"
echo "| main thread's CPU per poll tick (tone), reading changing every tick | $CHANGING_TICK_US µs | bare Qt app changing a label and a bar every 600 ms: $READOUT_TICK_US µs | $(ratio "$CHANGING_TICK_US" "$READOUT_TICK_US") |"
echo "| RSS after $((2 * PHASE + 4)) s measuring | $RSS_V MiB | bare Qt app: $RSS_B MiB (changing a label and a bar: $RSS_R MiB) + clips' PCM ${snd[clip_pcm_kib]} KiB | $(ratio "$RSS_V" "$(awk -v b="$RSS_B" -v c="${snd[clip_pcm_kib]}" 'BEGIN { print b + c / 1024 }')") |"
echo "| combo box filled with 1,000 / 10,000 / 32,767 entries | ${fills[0]} / ${fills[1]} / ${fills[2]} ms | – | – |"
echo "| 21 clips loaded into sound buffers | ${snd[clip_bank_ms]} ms | plain libFLAC into memory: ${snd[libflac_ms]} ms | $(ratio "${snd[clip_bank_ms]}" "${snd[libflac_ms]}") |"
read -r lat_med lat_max <<<"${snd[play_to_first_mix_ms]}"
echo "| Play on a sleeping output → first mixed update (median / max) | $lat_med / $lat_max ms | – | – |"
