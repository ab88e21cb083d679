#!/usr/bin/env bash
# End to end: what the program sounds, captured through OpenAL Soft's wave writer, with the
# simulated card steadily locked at quality 57. A "MODE 1" search is driven with clicks and
# keys; then
#   1. tone mode: the tone sounds once per successful poll, 0.6 s apart;
#   2. voice mode (the sound icon clicked while measuring): English "five" and 0.6 s later
#      "seven", every 2.4 s, no other digit, and no tone once the voice has begun.
# Arguments: the program, the voice_capture_onsets tool, the source folder.
VINTOREL_BIN=$1
ONSETS=$2
SOURCE_DIR=$3
source "$SOURCE_DIR/tests/e2e/lib.sh"
e2e_start_x

work="$E2E_TMP/work"
e2e_default_list "$work"
cp "$SOURCE_DIR"/Data/*.vcl "$work/Data/"
clips="$SOURCE_DIR/tests/clipdecoder/data"

export VINTOREL_TUNER=sim
echo "poll locked 57 7.5" >"$E2E_TMP/card.script"
export VINTOREL_SIM_SCRIPT="$E2E_TMP/card.script"
capture="$E2E_TMP/capture.wav"
printf '[general]\ndrivers = wave\nchannels = stereo\nsample-type = int16\nfrequency = 44100\n[wave]\nfile = %s\n' \
    "$capture" >"$E2E_TMP/alsoft.conf"
export ALSOFT_CONF="$E2E_TMP/alsoft.conf"
export ALSOFT_DRIVERS=wave

click() { # click WINDOW X Y (client coordinates)
    xdotool mousemove --window "$1" "$2" "$3" click 1
    sleep 0.3
}

# Starts the program, searches 12245 MHz / 27500 kS/s in "MODE 1", optionally switches to voice,
# lets it measure for $2 seconds and ends it with the close box.
measure() {
    local voice=$1 seconds=$2 id
    export VINTOREL_SIM_LOG="$E2E_TMP/card-$voice.log"
    e2e_start_app "$work"
    id=$(e2e_wait_window '^V i n t o r e l$')
    sleep 0.5
    click "$id" 66 122                        # MODE 0 -> MODE 1
    click "$id" 125 70                        # the edit box
    xdotool key --clearmodifiers End BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace
    xdotool type --delay 50 12245
    click "$id" 264 122                       # NEXT>: frequency
    click "$id" 264 122                       # NEXT>: symbol rate (27500)
    click "$id" 264 122                       # NEXT>: polarity; measuring starts
    grep -q '^applyTuning' "$VINTOREL_SIM_LOG" 2>/dev/null || sleep 1
    if [ "$voice" = voice ]; then
        sleep 0.7
        click "$id" 30 9                      # the sound icon: spoken digits
    fi
    sleep "$seconds"
    e2e_close "$id"
    e2e_wait_exit 15
    [ "$APP_RC" = 0 ] || fail "exit code $APP_RC"
    grep -q '^applyTuning -> 0x00000000$' "$VINTOREL_SIM_LOG" || fail "the search did not start measuring"
}

onsets() { # onsets CLIP: the start times of CLIP.wav in the capture
    "$ONSETS" "$capture" "$clips/$1.wav" | cut -s -d' ' -f2-
}

# 1. Tone mode
measure tone 3.5
polls=$(grep -c '^applyTuning -> 0x00000000$' "$VINTOREL_SIM_LOG")
read -r -a tones <<<"$(onsets tone)"
echo "tone mode: $polls successful polls, ${#tones[@]} tones at ${tones[*]}"
[ "$polls" -ge 4 ] || fail "only $polls polls"
# The last poll may come just before the device is closed, too late to be heard.
[ "${#tones[@]}" -eq "$polls" ] || [ "${#tones[@]}" -eq $((polls - 1)) ] ||
    fail "${#tones[@]} tones for $polls polls"
awk -v list="${tones[*]}" 'BEGIN { n = split(list, t, " ");
    for (i = 2; i <= n; i++) { d = t[i] - t[i-1]; if (d < 0.4 || d > 0.9) { print "tone gap " d; exit 1 } } }' ||
    fail "tones are not 0.6 s apart"
[ -z "$(onsets 5en)$(onsets 7en)" ] || fail "digits spoken in tone mode: $(onsets 5en) / $(onsets 7en)"
echo "ok: one tone per successful poll, 0.6 s apart"

# 2. Voice mode
measure voice 5.5
read -r -a fives <<<"$(onsets 5en)"
read -r -a sevens <<<"$(onsets 7en)"
read -r -a tones <<<"$(onsets tone)"
echo "voice mode: five at ${fives[*]}; seven at ${sevens[*]}; tones at ${tones[*]}"
[ "${#fives[@]}" -ge 2 ] || fail "fewer than two cycles of speech"
awk -v f="${fives[*]}" -v s="${sevens[*]}" -v t="${tones[*]}" 'BEGIN {
    nf = split(f, five, " "); ns = split(s, seven, " "); nt = split(t, tone, " ");
    for (i = 1; i <= nf; i++) {
        found = 0
        for (j = 1; j <= ns; j++) { d = seven[j] - five[i]; if (d > 0.4 && d < 0.9) found = 1 }
        # the last "five" may be cut off by the end of the capture before its "seven"
        if (!found && i < nf) { print "no seven after the five at " five[i]; exit 1 }
        if (i > 1) { d = five[i] - five[i-1]; if (d < 2.1 || d > 2.7) { print "cycle of " d " s"; exit 1 } }
    }
    for (j = 1; j <= ns; j++) {
        found = 0
        for (i = 1; i <= nf; i++) { d = seven[j] - five[i]; if (d > 0.4 && d < 0.9) found = 1 }
        if (!found) { print "a seven without its five at " seven[j]; exit 1 }
    }
    for (k = 1; k <= nt; k++) if (tone[k] > five[1]) { print "tone at " tone[k] " in voice mode"; exit 1 }
}' || fail "the spoken digits are not five, seven, pause"
for digit in 0 1 2 3 4 6 8 9; do
    [ -z "$(onsets ${digit}en)" ] || fail "English $digit heard"
done
echo "ok: five, seven, then silence, every 2.4 s"
echo "2 passed, 0 failed"
