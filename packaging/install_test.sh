#!/usr/bin/env bash
# Installs the build into a temporary prefix and starts the program through the launcher, as a
# user would from the desktop: the working folder is made with the clips, the list is never
# overwritten, the program runs from there, and its diagnostics are kept in a small log.
set -euo pipefail
build=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$tmp/prefix" >"$tmp/install.log"
for f in bin/vintorel lib/vintorel/vintorel lib/vintorel/libvintorel_tuner_sim.so \
         lib/vintorel/libOptimFROG.so share/vintorel/Data/tone.vcl share/vintorel/Data/9ru.vcl \
         share/applications/vintorel.desktop share/icons/hicolor/48x48/apps/vintorel.png \
         share/icons/hicolor/256x256/apps/vintorel.png; do
    [ -e "$tmp/prefix/$f" ] || fail "$f not installed"
done
[ -x "$tmp/prefix/bin/vintorel" ] || fail "launcher not executable"
grep -q '^Exec=vintorel$' "$tmp/prefix/share/applications/vintorel.desktop" || fail "desktop entry"

# A card without its control interface ends the program at once and silently: enough to see
# that the launcher found the program, its modules and made the working folder.
export HOME="$tmp/home" QT_QPA_PLATFORM=offscreen
unset XDG_DATA_HOME XDG_STATE_HOME VINTOREL_WORKDIR VINTOREL_TUNER
[ -e /dev/dvb/adapter0/frontend0 ] && export VINTOREL_TUNER=sim  # keep a real card out of it
echo "query fail" >"$tmp/query.script"
export VINTOREL_SIM_SCRIPT="$tmp/query.script" VINTOREL_SIM_LOG="$tmp/card.log"
mkdir -p "$HOME/.local/share/vintorel/Data" "$HOME/.local/state/vintorel"
echo "[Mine]=11000v27500;" >"$HOME/.local/share/vintorel/Data/satellite.ini"
log="$HOME/.local/state/vintorel/vintorel.log"
head -c 300000 /dev/zero | tr '\0' 'x' >"$log"  # an old log over the limit
timeout 60 "$tmp/prefix/bin/vintorel" 2>"$tmp/launch.err" || fail "launcher exit $?: $(cat "$tmp/launch.err")"
work="$HOME/.local/share/vintorel"
[ "$(ls "$work/Data"/*.vcl | wc -l)" = 21 ] || fail "the clips were not put into the working folder"
[ "$(cat "$work/Data/satellite.ini")" = "[Mine]=11000v27500;" ] || fail "the user's list was touched"
grep -q '^create -> 0x00000000$' "$VINTOREL_SIM_LOG" || fail "the simulated card was not started"
# Standard error passes through the launcher's log keeper, which may finish after the program.
for _ in $(seq 50); do grep -q "card" "$log" && break; sleep 0.1; done
for _ in $(seq 50); do grep -q "card" "$tmp/launch.err" && break; sleep 0.1; done
grep -q "card" "$tmp/launch.err" || fail "the launcher did not say which card"
grep -q "Vintorel started" "$log" || fail "no start line in $log"
grep -q "card" "$log" || fail "the diagnostics were not kept in $log"
[ "$(stat -c %s "$log")" -lt 10000 ] || fail "the old log was not rotated"
[ "$(stat -c %s "$log.1")" = 300000 ] || fail "the old log was not kept as vintorel.log.1"
echo "1 passed, 0 failed"
