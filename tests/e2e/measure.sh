#!/usr/bin/env bash
# End to end: measuring with a card that always reads quality 50 and S/N 12.3, natively or under
# Wine (see lib.sh). The first satellite of the list, FIND>, then:
#   1. the card is polled every 600 ms (its log counted over a few seconds);
#   2. the readout is painted: two digits at (w10 + 2, 4 h10), the bar 98 pixels long (span
#      198 at quality 50), the green lamp, the S/N text below the frame;
#   3. a double-click gives the compact view, 918 x 144 at x 50 (on Wayland, where the compositor
#      places windows: on the screen), and another one the window's own size again;
#   4. the button that had the keys is hidden while measuring, so Escape reaches the window.
VINTOREL_BIN=$1
source "$(dirname "$0")/lib.sh"
e2e_start_x
export VINTOREL_TUNER=sim
work="$E2E_TMP/work"
e2e_default_list "$work"
log="$E2E_TMP/card.log"
printf 'poll locked 50 12.3\n' >"$E2E_TMP/card.script"
VINTOREL_SIM_LOG=$(e2e_path "$log")
VINTOREL_SIM_SCRIPT=$(e2e_path "$E2E_TMP/card.script")
export VINTOREL_SIM_LOG VINTOREL_SIM_SCRIPT
e2e_start_measuring "$work" "$log"
id=$E2E_WINDOW

# 1
polls() { e2e_log "$log" | grep -c '^getQuality' || true; }
sleep 1
n0=$(polls) t0=$(date +%s.%N)
sleep 6
n1=$(polls) t1=$(date +%s.%N)
n=$((n1 - n0)) t=$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.1f", b - a }')
awk -v n="$n" -v t="$t" 'BEGIN { e = t / 0.6; exit !(n >= e - 1.5 && n <= e + 1.5) }' ||
    fail "$n polls in $t s, not one every 600 ms"
echo "ok: $n polls in $t s"

# 2. Colours at client points, and the box around the dark (text) pixels of a region.
pixel() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:; }
ink() { convert "$1" -crop "$2" +repage -colorspace gray -threshold 35% -format '%@' info:; }
shot="$E2E_TMP/measuring.png"
e2e_shot "$id" "$shot"
[ "$(pixel "$shot" 66 70)" = "230,240,255" ] || fail "no bar at its left edge"
[ "$(pixel "$shot" 163 70)" = "230,240,255" ] || fail "the bar is shorter than 98 pixels"
[ "$(pixel "$shot" 164 70)" = "150,170,190" ] || fail "the bar is longer than 98 pixels"
[ "$(pixel "$shot" 280 70)" = "0,255,0" ] || fail "the lamp is not green"
digits=$(ink "$shot" 30x26+35+56)
[[ "$digits" =~ ^([0-9]+)x([0-9]+) ]] && [ "${BASH_REMATCH[1]}" -ge 14 ] && [ "${BASH_REMATCH[2]}" -ge 10 ] ||
    fail "the two quality digits are not painted (ink $digits)"
snr=$(ink "$shot" 77x18+221+88)
[[ "$snr" =~ ^([0-9]+)x ]] && [ "${BASH_REMATCH[1]}" -ge 40 ] || fail "the S/N text is not painted (ink $snr)"
echo "ok: digits ($digits), bar of 98 pixels, green lamp, S/N text ($snr)"

# 3. Where the compositor places windows: a Wayland client's window widens in place, so the
# user moves it to the left first; an X window is placed by sway, and must be whole on screen.
[ "$E2E_NATIVE_WAYLAND" = 1 ] && swaymsg "[con_id=$id] move position 0 0" >/dev/null
e2e_double_click "$id" 200 30
sleep 1
[ "$(e2e_size "$id")" = "918x144" ] || fail "compact view is $(e2e_size "$id"), not 918x144"
x=$(e2e_left "$id")
if e2e_places_windows; then
    [ "$x" -ge 50 ] && [ "$x" -le 60 ] || fail "compact view at x $x, not 50 (and its frame)"
else
    [ "$x" -ge 0 ] && [ $((x + 918)) -le 1280 ] || fail "compact view at x $x, not all on the screen"
fi
e2e_shot "$id" "$E2E_TMP/compact.png"
[ "$(pixel "$E2E_TMP/compact.png" 880 100)" = "0,255,0" ] || fail "no green lamp at the compact view's right"
e2e_double_click "$id" 200 30
sleep 1
[ "$(e2e_size "$id")" = "334x144" ] || fail "back from the compact view at $(e2e_size "$id"), not 334x144"
echo "ok: compact view 918x144 at x $x, and back to 334x144"

# 4
e2e_keys "$id" Escape
e2e_wait_exit
[ "$APP_RC" = 0 ] || fail "exit code $APP_RC"
e2e_log "$log" | tail -1 | grep -q '^Release -> 0$' || fail "filter not released to 0"
echo "ok: Escape while measuring, exit 0, filter released"
echo "1 passed, 0 failed"
