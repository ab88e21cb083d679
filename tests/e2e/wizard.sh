#!/usr/bin/env bash
# End to end: the search wizard driven by clicks and typing, with the simulated card, natively or
# under Wine (see lib.sh).
#   "MODE 1": frequency 11700, the symbol rate left at 27500, vertical; then back to step 0;
#   "MODE 0": the first satellite of the default list.
# The card's log must show the tuning sequence for those values.
VINTOREL_BIN=$1
source "$(dirname "$0")/lib.sh"
e2e_start_x
export VINTOREL_TUNER=sim
work="$E2E_TMP/work"
e2e_default_list "$work"
log="$E2E_TMP/card.log"
VINTOREL_SIM_LOG=$(e2e_path "$log")
export VINTOREL_SIM_LOG
e2e_start_app "$work"
id=$(e2e_wait_window '^V i n t o r e l$')
sleep 0.5

# Client coordinates of the controls in the 334 x 144 window.
MODE=(66 122) BACK=(165 122) NEXT=(264 122) EDIT=(125 70) VERTICAL=(245 70) COMBO=(150 70)

e2e_click "$id" "${MODE[@]}"                      # "MODE 1"
e2e_click "$id" "${EDIT[@]}"
e2e_press End BackSpace BackSpace BackSpace BackSpace BackSpace
e2e_type "11a700"                                 # the letter is refused by the edit box
e2e_click "$id" "${NEXT[@]}"                      # frequency accepted
e2e_click "$id" "${NEXT[@]}"                      # symbol rate 27500 as shown
e2e_click "$id" "${VERTICAL[@]}"
e2e_click "$id" "${NEXT[@]}"                      # tune
e2e_wait_log_tail "$log" \
    "setLnbSelection 1 -> 0x00000000" "setLnbFrequency 10600 -> 0x00000000" \
    "setPolarity 1 -> 0x00000000" "setSymbolRate 27500 -> 0x00000000" \
    "setTransponderFrequency 11700 -> 0x00000000"
echo "ok: MODE 1 tuned 11700 MHz, 27500 kS/s, vertical"

e2e_click "$id" "${BACK[@]}"                      # step 2
e2e_click "$id" "${BACK[@]}"                      # step 1
e2e_click "$id" "${BACK[@]}"                      # step 0
e2e_click "$id" "${MODE[@]}"                      # "MODE 0"
e2e_click "$id" "${COMBO[@]}"
e2e_press Down                                    # the first satellite
sleep 0.3
e2e_click "$id" "${NEXT[@]}"                      # "FIND>"
e2e_wait_log_tail "$log" \
    "setLnbSelection 1 -> 0x00000000" "setLnbFrequency 10600 -> 0x00000000" \
    "setPolarity 0 -> 0x00000000" "setSymbolRate 22000 -> 0x00000000" \
    "setTransponderFrequency 12515 -> 0x00000000"
echo "ok: MODE 0 tuned Astra 1B-1H,2C (12515 MHz, horizontal, 22000 kS/s)"

# FIND> had the keys; hidden while measuring, it hands them to its parent, the main window.
seen=0
e2e_keys "$id" Escape
e2e_still_running && seen=1
e2e_windows_behaviour hidden-control-keeps-focus-among-controls \
    "a hidden control with the keys gives them to the main window, so Escape ends the program" "$seen"
e2e_wait_exit
[ "$APP_RC" = 0 ] || fail "exit code $APP_RC"
echo "1 passed, 0 failed"
