#!/usr/bin/env bash
# End to end: start-up and shutdown of the real program with the simulated card, natively or
# under Wine (see lib.sh).
#   1. at the first start (no satellite list) the question to make one, answered Yes; then the
#      window "V i n t o r e l" appears with a 334 x 144 client area and the start-up settings
#      reach the card; activated anew, Escape ends it with 0, the filter released to 0;
#   2. a click inside the window leaves the keys with the edit box; the close box ends it with 0;
#   3. every scripted start-up failure of the card: its "Error" box (none without the control
#      interface), Return closes it, no main window, exit code 0;
#   4. no card at all (Linux: an adapter that does not exist; Windows: no registered filter):
#      the "Error" box, exit code 0.
VINTOREL_BIN=$1
source "$(dirname "$0")/lib.sh"
e2e_start_x
export VINTOREL_TUNER=sim
work="$E2E_TMP/work"
mkdir -p "$work/Data"
log="$E2E_TMP/card.log"
VINTOREL_SIM_LOG=$(e2e_path "$log")
export VINTOREL_SIM_LOG

# Escape ends the program only when the main window itself has the keys.
escape_ends_it() {
    e2e_keys "$1" Escape
    ! e2e_still_running
}

# 1
e2e_start_app "$work"
e2e_keys "$(e2e_wait_window '^Warning!$')" Return
id=$(e2e_wait_window '^V i n t o r e l$')
[ -s "$work/Data/satellite.ini" ] || fail "no satellite list made at the first start"
size=$(e2e_size "$id")
[ "$size" = "334x144" ] || fail "client area is $size, not 334x144"
e2e_log "$log" | grep -q '^setDiseqc 0 -> 0x00000000$' || fail "start-up settings not sent"
sleep 0.5
e2e_activate "$id"
seen=0
escape_ends_it "$id" || seen=1
e2e_windows_behaviour activation-keeps-child-focus \
    "a window activated anew has the keys itself, so Escape ends the program" "$seen"
e2e_wait_exit
[ "$APP_RC" = 0 ] || fail "exit code $APP_RC after Escape"
e2e_log "$log" | tail -1 | grep -q '^Release -> 0$' || fail "filter not released to 0 after Escape"
echo "ok: main window 334x144, start-up settings, Escape, exit 0, filter released"

# 2
: >"$log"
e2e_start_app "$work"
id=$(e2e_wait_window '^V i n t o r e l$')
e2e_click "$id" 320 30
seen=1
escape_ends_it "$id" || seen=0
e2e_windows_behaviour click-takes-focus \
    "a click inside the window leaves the keys with the edit box (Escape does nothing)" "$seen"
: >"$log"
e2e_close "$id"
e2e_wait_exit
[ "$APP_RC" = 0 ] || fail "exit code $APP_RC after the close box"
e2e_log "$log" | tail -1 | grep -q '^Release -> 0$' || fail "filter not released to 0 after the close box"
echo "ok: close box, exit 0, filter released"

# 3. directive | caption of the box ("-" none) | its text
failures=(
    "create fail|Error|Cannot create filter graph manager"
    "query fail|-|"
    "fail initialize|Error|Cannot initialize tuner control interface"
    "fail setFec|Error|Set fec failed"
    "fail setDiseqc|Error|Set DiSEqC failed"
)
for row in "${failures[@]}"; do
    IFS='|' read -r directive caption text <<<"$row"
    echo "$directive" >"$E2E_TMP/card.script"
    VINTOREL_SIM_SCRIPT=$(e2e_path "$E2E_TMP/card.script")
    export VINTOREL_SIM_SCRIPT
    e2e_start_app "$work"
    if [ "$caption" != - ]; then
        box=$(e2e_wait_window "^$caption\$")
        e2e_window_shown '^V i n t o r e l$' && fail "$directive: main window shown"
        e2e_keys "$box" Return
    fi
    e2e_wait_exit
    [ "$APP_RC" = 0 ] || fail "$directive: exit code $APP_RC"
    e2e_box_text_was "$text" || fail "$directive: the box did not say '$text'"
    echo "ok: $directive: ${text:-no box}, exit 0"
done
unset VINTOREL_SIM_SCRIPT

# 4
if [ "$E2E_WINE" = 1 ]; then
    e2e_unregister_card
else
    export VINTOREL_TUNER=dvb:7.3
fi
e2e_start_app "$work"
box=$(e2e_wait_window '^Error$')
e2e_keys "$box" Return
e2e_wait_exit
[ "$APP_RC" = 0 ] || fail "exit code $APP_RC without a card"
if [ "$E2E_WINE" = 1 ]; then
    e2e_box_text_was "Cannot create filter graph manager" || fail "the box did not say so"
    e2e_register_card
    echo "ok: no card registered, 'Cannot create filter graph manager', exit 0"
else
    grep -q "adapter7/frontend3" "$E2E_TMP/app.out" || fail "the missing device is not named"
    echo "ok: DVB card missing, 'Cannot initialize tuner control interface', exit 0"
fi
echo "1 passed, 0 failed"
