#!/usr/bin/env bash
# End to end: the digits of a known reading are heard, natively or under Wine (see lib.sh). The
# card always reads quality 57; the first satellite, FIND>, the sound icon (spoken digits); what
# the program plays is captured (e2e_capture_sound). English "five" and "seven" must alternate,
# five first, at least twice each, and no other digit be heard in either language.
# Only the order is checked, not the times: under Wine the capture runs faster than the clock
# (ALSA's null device takes whatever it is given), which stretches the gaps between clips but
# leaves each clip whole.
VINTOREL_BIN=$1
CLIPS=$2
ONSETS=$3     # the tool that finds a clip in a captured WAV
REFERENCE=$4  # the clips decoded to WAV, as references
source "$(dirname "$0")/lib.sh"
e2e_start_x
export VINTOREL_TUNER=sim
work="$E2E_TMP/work"
e2e_default_list "$work"
cp "$CLIPS"/*.vcl "$work/Data/"
printf 'poll locked 57 7.5\n' >"$E2E_TMP/card.script"
log="$E2E_TMP/card.log"
VINTOREL_SIM_LOG=$(e2e_path "$log")
VINTOREL_SIM_SCRIPT=$(e2e_path "$E2E_TMP/card.script")
export VINTOREL_SIM_LOG VINTOREL_SIM_SCRIPT
capture="$E2E_TMP/capture.wav"
e2e_capture_sound "$capture"

e2e_start_measuring "$work" "$log"
id=$E2E_WINDOW
sleep 0.7
e2e_click "$id" 30 9                                # the sound icon: spoken digits
sleep 6
e2e_close "$id"
e2e_wait_exit
[ "$APP_RC" = 0 ] || fail "exit code $APP_RC"

# "TIME DIGIT" lines of every digit heard, in the order heard.
heard=$(for clip in "$REFERENCE"/[0-9]*.wav; do
    name=$(basename "$clip" .wav)
    "$ONSETS" "$capture" "$clip" | cut -s -d' ' -f2- | tr ' ' '\n' | grep . | sed "s/\$/ $name/" || true
done | sort -n | awk '{print $2}' | tr '\n' ' ')
echo "heard: $heard"
[[ "$heard" =~ ^(5en 7en )+(5en )?$ ]] || fail "not five, seven, five, seven...: $heard"
[ "$(wc -w <<<"$heard")" -ge 4 ] || fail "fewer than two cycles of speech"
echo "ok: the reading 57 spoken as five, seven, again and again"
echo "1 passed, 0 failed"
