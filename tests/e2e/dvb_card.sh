#!/usr/bin/env bash
# End to end with a real DVB driver: the Linux program on the kernel's virtual DVB-S/S2 card,
# inside the test VM (tests/dvbtuner/vm/run.sh, whose kprobes show what reached the driver).
# The first satellite of the default list (12515 MHz H, 22000 kS/s, where the card locks and
# reports 34 dB), FIND>, then:
#   1. the readout shows the lock: the green lamp and the bar at full length;
#   2. the driver got 18 V and the 22 kHz tone, and was powered up once (the program's look at
#      the card at start-up does not power-cycle it);
#   3. Escape: exit 0, the program itself switched the supply off, nothing said on stderr.
VINTOREL_BIN=$1
source "$(dirname "$0")/lib.sh"
trace=/sys/kernel/tracing
[ -c /dev/dvb/adapter0/frontend0 ] && [ -d $trace/events/vintorel ] || {
    echo "SKIP: not in the test VM (no DVB card with kprobes)"
    exit 77
}
e2e_start_x
export VINTOREL_TUNER=dvb:0 ALSOFT_DRIVERS=null XDG_RUNTIME_DIR=$E2E_TMP
work="$E2E_TMP/work"
e2e_default_list "$work"
: >$trace/trace
e2e_start_app "$work"
id=$(e2e_wait_window '^V i n t o r e l$' 60)
sleep 1
e2e_click "$id" 150 70 # the satellite list
xdotool key --clearmodifiers Down
sleep 0.5
e2e_click "$id" 264 122 # FIND>

# 1
pixel() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:; }
shot="$E2E_TMP/measuring.png"
for _ in $(seq 30); do
    import -window "$id" "$shot"
    [ "$(pixel "$shot" 280 70)" = "0,255,0" ] && break
    sleep 0.5
done
[ "$(pixel "$shot" 280 70)" = "0,255,0" ] || fail "no lock shown (the lamp is not green)"
# At quality 100 the bar runs to x 262 (its span, 198 at 50 %, ends one pixel short of it).
[ "$(pixel "$shot" 262 70)" = "230,240,255" ] && [ "$(pixel "$shot" 263 70)" = "150,170,190" ] ||
    fail "the bar does not show quality 100"
echo "ok: lock shown, green lamp and full bar"

# 2. "comm-PID [cpu] flags time: event: (function) arg=value", ours by the program's process id.
calls() { grep -E -- "-$APP_PID +\[.*: $1: " $trace/trace | sed -n 's/.* [a-z]=\([0-9]*\)$/\1/p' | tr '\n' ' '; }
[ "$(calls voltage)" = "1 " ] || fail "supply set to '$(calls voltage)', not once to 18 V (1)"
[ "$(calls tone)" = "0 " ] || fail "tone set to '$(calls tone)', not once on (0)"
ups=$(grep -c ': power_up: ' $trace/trace || true)
[ "$ups" = 1 ] || fail "the card was powered up $ups times"
echo "ok: 18 V, 22 kHz tone, one power-up"

# 3
e2e_keys "$id" Escape
e2e_wait_exit
[ "$APP_RC" = 0 ] || fail "exit code $APP_RC"
[ "$(calls voltage)" = "1 2 " ] || fail "supply not switched off by the program: '$(calls voltage)'"
[ ! -s "$E2E_TMP/app.out" ] || fail "the program said something"
echo "ok: Escape, exit 0, supply off, nothing on stderr"
echo "1 passed, 0 failed"
