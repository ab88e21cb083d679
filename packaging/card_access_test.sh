#!/usr/bin/env bash
# The installed launcher with a DVB card the program cannot open, inside the test VM
# (tests/dvbtuner/vm/run.sh: the kernel's virtual DVB-S/S2 card at /dev/dvb/adapter0), started
# as from the desktop (standard error not a terminal), VINTOREL_TUNER unset:
#   1. a user outside the card's group: "Permission denied" and the fix (join the video group)
#      reach the desktop notification and the log;
#   2. the card busy (another program has it open for tuning): the same with "busy";
#   and in both the launcher chose the DVB card, never the simulated one.
#   card_access_test.sh BUILD        installs BUILD into BUILD/card-access, then runs in the VM
set -euo pipefail
build=$1
prefix=$build/card-access
if [ "${2:-}" != --in-vm ]; then
    rm -rf "$prefix"
    cmake --install "$build" --prefix "$prefix" >/dev/null
    exec bash "$(dirname "$0")/../tests/dvbtuner/vm/run.sh" "$build/dvb-vm" bash "$0" "$build" --in-vm
fi
VINTOREL_BIN=/nonexistent
source "$(dirname "$0")/../tests/e2e/lib.sh"
[ -c /dev/dvb/adapter0/frontend0 ] && [ -d /sys/kernel/tracing/events/vintorel ] || {
    echo "SKIP: not in the test VM (no DVB card)"
    exit 77
}
chmod 755 "$E2E_TMP"
# The desktop's notification tool, as a stand-in that keeps what it was asked to show.
mkdir "$E2E_TMP/bin"
printf '#!/bin/sh\nprintf "%%s\\n" "$@" >"$HOME/notified"\n' >"$E2E_TMP/bin/notify-send"
chmod 755 "$E2E_TMP/bin/notify-send"
e2e_start_x

# Starts the launcher as user $1 (numeric) in a new home, until the notification (or 30 s).
launch() {
    local home=$E2E_TMP/home.$1
    NOTIFIED=$home/notified
    mkdir -m 700 "$home" && chown "$1" "$home"
    setpriv --reuid="$1" --regid="$1" --clear-groups env -i HOME="$home" DISPLAY="$DISPLAY" \
        PATH="$E2E_TMP/bin:/usr/bin:/bin" ALSOFT_DRIVERS=null XDG_RUNTIME_DIR="$home" \
        "$prefix/bin/vintorel" >"$E2E_TMP/app.out" 2>&1 &
    APP_PID=$!
    E2E_PIDS+=("$APP_PID")
    for _ in $(seq 300); do [ -s "$NOTIFIED" ] && break; sleep 0.1; done
    kill "$APP_PID" 2>/dev/null || true # its own box ("Cannot initialize ...") waits for OK
    wait "$APP_PID" 2>/dev/null || true
    LOG=$home/.local/state/vintorel/vintorel.log
    [ -s "$NOTIFIED" ] || fail "no desktop notification; log: $(cat "$LOG")"
    grep -q "using the DVB card at /dev/dvb/adapter0/frontend0" "$LOG" || fail "no DVB card chosen: $(cat "$LOG")"
    ! grep -q "simulated" "$LOG" || fail "the simulated card was chosen: $(cat "$LOG")"
}
# $1: what the notification and the log must both hold (grep patterns, one per argument).
told() {
    local pattern
    for pattern in "$@"; do
        grep -q -- "$pattern" "$NOTIFIED" || fail "notification without '$pattern': $(cat "$NOTIFIED")"
        grep -q -- "$pattern" "$LOG" || fail "log without '$pattern': $(cat "$LOG")"
    done
}

# 1
launch 65534
told "cannot open /dev/dvb/adapter0/frontend0: Permission denied" "adduser .* video" "log out"
echo "ok: no rights: the reason and how to join the video group, notified and logged"

# 2
sleep 120 3<>/dev/dvb/adapter0/frontend0 &
E2E_PIDS+=($!)
launch 0
told "cannot open /dev/dvb/adapter0/frontend0: Device or resource busy" "another program is using the DVB card"
echo "ok: busy: the reason and to close the other program, notified and logged"
echo "1 passed, 0 failed"
