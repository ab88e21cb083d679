#!/usr/bin/env bash
# End to end: ROUNDS (default 5) round trips through every step and switch, as a person clicks
# them, natively or under Wine (see lib.sh), hold nothing more than the first one did: after each
# round every object count (e2e_objects) is what it was after the first. A round: FIND> (the
# first round: without a satellite, its warning, then the first one), measuring with the sound
# icon, the flag, the compact view and About; <BACK; MODE; a wrong frequency (its warning), the
# right one, a wrong symbol rate (its warning), the right one, the polarity; measuring; <BACK
# three times; MODE.
#   rounds.sh PROGRAM [ROUNDS]
VINTOREL_BIN=$1
ROUNDS=${2:-5}
source "$(dirname "$0")/lib.sh"
e2e_start_x
export VINTOREL_TUNER=sim
work="$E2E_TMP/work"
e2e_default_list "$work"
cp "$(dirname "$0")"/../../Data/*.vcl "$work/Data/"
log="$E2E_TMP/card.log"
printf 'poll locked 50 12.3\n' >"$E2E_TMP/card.script"
VINTOREL_SIM_LOG=$(e2e_path "$log")
VINTOREL_SIM_SCRIPT=$(e2e_path "$E2E_TMP/card.script")
export VINTOREL_SIM_LOG VINTOREL_SIM_SCRIPT
e2e_null_sound
e2e_count_objects
e2e_start_app "$work"
id=$(e2e_wait_window '^V i n t o r e l$')
sleep 0.5

MODE=(66 122) NEXT=(264 122) BACK=(165 122) FLAG=(12 9) SOUND=(30 9) EDIT=(125 70)
VERTICAL=(215 68) BODY=(150 30)

# Waits for the box captioned $1 and answers it with Return.
answer_box() {
    local b
    b=$(e2e_wait_window "^$1\$")
    e2e_answer_box "$b" Return
    sleep 0.3
}
retype() { e2e_retype "$id" "${EDIT[@]}" "$1"; }
measure_with_every_switch() {
    sleep 1.3
    e2e_click "$id" "${SOUND[@]}" # spoken digits
    sleep 1.3
    e2e_click "$id" "${FLAG[@]}" # Russian
    e2e_double_click "$id" "${BODY[@]}"
    e2e_double_click "$id" "${BODY[@]}"
    e2e_click "$id" "${NEXT[@]}" # About, where FIND> was
    answer_box About
    e2e_click "$id" "${SOUND[@]}"
    e2e_click "$id" "${FLAG[@]}"
    e2e_click "$id" "${BACK[@]}"
}
round() {
    if [ "$1" = 1 ]; then
        e2e_click "$id" "${NEXT[@]}"
        answer_box 'Attention!'
        e2e_search_first_satellite "$id" "$log"
    else
        e2e_click "$id" "${NEXT[@]}" # the satellite stays chosen
        e2e_wait_log_tail "$log" "setTransponderFrequency 12515 -> 0x00000000"
    fi
    measure_with_every_switch
    e2e_click "$id" "${MODE[@]}"
    retype 99
    e2e_click "$id" "${NEXT[@]}"
    answer_box ' Attention! '
    retype 12245
    e2e_click "$id" "${NEXT[@]}"
    retype 1
    e2e_click "$id" "${NEXT[@]}"
    answer_box 'Attention!'
    retype 27500
    e2e_click "$id" "${NEXT[@]}"
    e2e_click "$id" "${VERTICAL[@]}"
    e2e_click "$id" "${NEXT[@]}"
    e2e_wait_log_tail "$log" "setTransponderFrequency 12245 -> 0x00000000"
    measure_with_every_switch
    e2e_click "$id" "${BACK[@]}"
    e2e_click "$id" "${BACK[@]}"
    e2e_click "$id" "${MODE[@]}"
}

round 1
sleep 0.5
first=$(e2e_objects)
echo "after round 1: $first"
for k in $(seq 2 "$ROUNDS"); do
    round "$k"
    sleep 0.5
    now=$(e2e_objects)
    [ "$now" = "$first" ] || fail "after round $k: $now, after round 1: $first"
done
echo "ok: $ROUNDS rounds, the same objects after each: $first"
e2e_close "$id"
e2e_wait_exit
[ "$APP_RC" = 0 ] || fail "exit code $APP_RC"
echo "1 passed, 0 failed"
