#!/usr/bin/env bash
# End to end: start-up and shutdown of the real binary with the simulated card.
#   1. the window "V i n t o r e l" appears with a 334 x 144 client area; Escape ends it with 0;
#   2. a card that cannot be created: the "Error" box says so, Return closes it, exit code 0;
#   3. a card without the control interface: exit code 0 and no box at all;
#   4. VINTOREL_TUNER=dvb for an adapter that does not exist: the error box, exit code 0.
VINTOREL_BIN=$1
source "$(dirname "$0")/lib.sh"
e2e_start_x
export VINTOREL_TUNER=sim
work="$E2E_TMP/work"
mkdir -p "$work/Data"
e2e_default_list "$work"

# 1
export VINTOREL_SIM_LOG="$E2E_TMP/card.log"
e2e_start_app "$work"
id=$(e2e_wait_window '^V i n t o r e l$')
size=$(e2e_size "$id")
[ "$size" = "334x144" ] || fail "client area is $size, not 334x144"
grep -q '^setDiseqc 0 -> 0x00000000$' "$VINTOREL_SIM_LOG" || fail "start-up settings not sent"
xdotool mousemove --window "$id" 320 30 click 1   # the window itself, not the edit box, takes the keys
sleep 0.3
e2e_keys "$id" Escape
e2e_wait_exit
[ "$APP_RC" = 0 ] || fail "exit code $APP_RC after Escape"
tail -1 "$VINTOREL_SIM_LOG" | grep -q '^Release -> 0$' || fail "filter not released to 0"
echo "ok: main window, Escape, exit 0"

# 2
unset VINTOREL_SIM_LOG
echo "create fail" >"$E2E_TMP/create.script"
export VINTOREL_SIM_SCRIPT="$E2E_TMP/create.script"
e2e_start_app "$work"
box=$(e2e_wait_window '^Error$')
xdotool search --onlyvisible --name '^V i n t o r e l$' >/dev/null 2>&1 && fail "main window shown"
e2e_keys "$box" Return
e2e_wait_exit
[ "$APP_RC" = 0 ] || fail "exit code $APP_RC after the error box"
echo "ok: 'Cannot create filter graph manager' box, Return, exit 0"

# 3
echo "query fail" >"$E2E_TMP/query.script"
export VINTOREL_SIM_SCRIPT="$E2E_TMP/query.script"
e2e_start_app "$work"
e2e_wait_exit
[ "$APP_RC" = 0 ] || fail "exit code $APP_RC without the control interface"
echo "ok: no control interface, silent exit 0"

# 4. a DVB card that is not there: the filter loads, initialize fails, the box says so.
unset VINTOREL_SIM_SCRIPT
export VINTOREL_TUNER=dvb:7.3
e2e_start_app "$work"
box=$(e2e_wait_window '^Error$')
e2e_keys "$box" Return
e2e_wait_exit
[ "$APP_RC" = 0 ] || fail "exit code $APP_RC without a DVB card"
grep -q "adapter7/frontend3" "$E2E_TMP/app.out" || fail "the missing device is not named"
echo "ok: DVB card missing, 'Cannot initialize tuner control interface', exit 0"
echo "1 passed, 0 failed"
