#!/usr/bin/env bash
# End to end: the first start in a fresh working folder with the simulated dish, natively or
# under Wine (see lib.sh). Yes to the list
# question, the first satellite, FIND>, and then, while the dish sweeps past the satellite
# (VINTOREL_SIM_SWEEP=8: passes every 4 s), the lamp turns green and red again in screenshots
# and the tone comes in bursts in the captured sound. <BACK silences it.
VINTOREL_BIN=$1
CLIPS=$2
ONSETS=$3   # the tool that finds a clip in a captured WAV
TONE_WAV=$4
source "$(dirname "$0")/lib.sh"
e2e_start_x
work="$E2E_TMP/work"
mkdir -p "$work/Data"
cp "$CLIPS"/*.vcl "$work/Data/"
export VINTOREL_TUNER=sim VINTOREL_SIM_SEED=7 VINTOREL_SIM_SWEEP=8
log="$E2E_TMP/card.log"
VINTOREL_SIM_LOG=$(e2e_path "$log")
export VINTOREL_SIM_LOG
e2e_capture_sound "$E2E_TMP/sound.wav"

started=$(date +%s.%N)
e2e_start_app "$work"
question=$(e2e_wait_window '^Warning!$')
e2e_keys "$question" Return                                   # Yes: create the list
id=$(e2e_wait_window '^V i n t o r e l$')
sleep 0.5
[ "$(wc -c <"$work/Data/satellite.ini")" = 152 ] || fail "the default list was not created"
e2e_default_list "$E2E_TMP/expected"
cmp -s "$work/Data/satellite.ini" "$E2E_TMP/expected/Data/satellite.ini" || fail "the default list differs"
e2e_box_text_was "satellite.ini - not found. Create new  file?" || fail "the question's text differs"
e2e_click "$id" 150 70                                        # the satellite list
xdotool key --clearmodifiers Down                             # the first satellite
sleep 0.3
e2e_click "$id" 264 122                                       # FIND>

green=0 red=0
for i in $(seq 0 19); do
    sleep 0.4
    import -window "$id" "$E2E_TMP/shot$i.png"
    lamp=$(convert "$E2E_TMP/shot$i.png" -format '%[fx:int(255*p{280,70}.r)],%[fx:int(255*p{280,70}.g)]' info:)
    case "$lamp" in
        0,255) green=$((green + 1)); cp "$E2E_TMP/shot$i.png" "$E2E_TMP/peak.png" ;;
        255,0) red=$((red + 1)) ;;
    esac
done
[ "$green" -gt 0 ] || fail "the lamp never turned green while the dish swept past"
[ "$red" -gt 0 ] || fail "the lamp never turned red while the dish swept away"
echo "ok: lamp green in $green and red in $red of 20 screenshots"

e2e_click "$id" 165 122                                       # <BACK
back=$(date +%s.%N)
sleep 3
e2e_close "$id"                                               # <BACK has the keys
e2e_wait_exit
[ "$APP_RC" = 0 ] || fail "exit code $APP_RC"

onsets=$("$ONSETS" "$E2E_TMP/sound.wav" "$TONE_WAV" | head -1 | cut -d' ' -f2- | tr ' ' '\n' | grep . || true)
count=$(echo "$onsets" | grep -c . || true)
[ "$count" -ge 3 ] || fail "only $count tones heard"
if [ "$E2E_WINE" = 1 ]; then
    # Wine's capture runs ahead of the clock (see e2e_capture_sound): no times, but one tone
    # for each poll that found the signal (the last one may be cut off at the end).
    polls=$(e2e_log "$log" | grep -c '^applyTuning -> 0x00000000$' || true)
    [ "$count" = "$polls" ] || [ "$count" = $((polls - 1)) ] || fail "$count tones for $polls polls with a signal"
    echo "ok: $count tones for $polls polls with a signal"
    echo "1 passed, 0 failed"
    exit 0
fi
after_back=$(echo "$onsets" | awk -v s="$started" -v b="$back" '$1 > (b - s) + 0.8' | wc -l)
[ "$after_back" = 0 ] || fail "$after_back tones after <BACK"
# Bursts: the tone follows the polls only while the dish is near the satellite.
gaps=$(echo "$onsets" | awk 'NR > 1 && $1 - prev > 1.5 {n++} {prev = $1} END {print n + 0}')
[ "$gaps" -ge 1 ] || fail "the tone never paused while the dish swept away"
echo "ok: $count tones in bursts, none after <BACK"
echo "1 passed, 0 failed"
